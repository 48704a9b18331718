#include "analysis/graphics_templates.h"

#include <algorithm>

#include "analysis/source_records.h"
#include "report/html_report.h"

namespace vt {

namespace {

constexpr char16_t kGLGraphicsDriver[] = u"SetGraphicsDriver GLGraphicsDriver()";
constexpr char16_t kGLMax2DDriver[] = u"SetGraphicsDriver GLMax2DDriver()";
constexpr char16_t kD3D7Max2DDriver[] = u"SetGraphicsDriver D3D7Max2DDriver()";

sourcemodtype* RecordOf(TextView module) {
  return sourcemodtype::FindSourceByModule(module);
}

// Moves `module` to the front of the list, dropping the generic `replaced`.
void PutFirst(sourcemodtype& record, TextView module, TextView replaced) {
  RemoveEntry(record.modules, module);
  RemoveEntry(record.modules, replaced);
  InsertAtFront(record.modules, module);
}

void ClearExtraLines() {
  for (const auto& record : Analysis.SourceModList) {
    Analysis.CurrentSource = record.get();
    record->extraLines.clear();
  }
}

void WriteOpenGLTemplate(sourcemodtype& gl) {
  PutFirst(gl, u"BRL.GLGraphics", u"BRL.Graphics");
  Append(gl.extraLines, kGLGraphicsDriver);
  Html.WriteFrameworkBlock(u"OpenGL template:");
  if (!RecordOf(u"brl.max2d")) return;
  Html.AddLine(u"<br>");
  Html.AddLine(u"<h4><font color='#800040'>HINT: See help file - Mixing OpenGL/Max2D</font></h4>");
}

void MoveGuiAndDropGraphics() {
  if (sourcemodtype* gui = RecordOf(u"brl.win32maxgui")) {
    RemoveEntry(gui->modules, u"BRL.Win32MaxGUI");
    InsertAtFront(gui->modules, u"BRL.Win32MaxGUI");
  }
  if (sourcemodtype* graphics = RecordOf(u"brl.graphics")) {
    RemoveEntry(graphics->modules, u"BRL.Graphics");
  }
}

void WriteBothDriversTemplate(sourcemodtype& d3d7, sourcemodtype& gl) {
  PutFirst(d3d7, u"BRL.D3D7Max2D", u"BRL.Max2D");
  RemoveEntry(gl.modules, u"BRL.GLMax2D");
  InsertAtFront(gl.modules, u"BRL.GLMax2D");
  Append(d3d7.extraLines, kD3D7Max2DDriver);
  Append(gl.extraLines, kGLMax2DDriver);
  Html.WriteFrameworkBlock(u"Max2D DirectX+OpenGL template:");
}

// Max2D with no driver module: offer both drivers, one block each.
void WriteDriverChoice(sourcemodtype& max2d) {
  Html.AddLine(u"<hr><p><h4><font color='#595959'>Choice of 2 frameworks ...</font></h4></p>");
  RemoveEntry(max2d.modules, u"BRL.Max2D");
  InsertAtFront(max2d.modules, u"BRL.GLMax2D");
  Append(max2d.extraLines, kGLMax2DDriver);
  Html.WriteFrameworkBlock(u"Max OpenGL template:");

  RemoveEntry(max2d.modules, u"BRL.GLMax2D");
  InsertAtFront(max2d.modules, u"BRL.D3D7Max2D");
  Html.AddLine(u"<br>");
  max2d.extraLines.clear();
  Append(max2d.extraLines, kD3D7Max2DDriver);
  Html.WriteFrameworkBlock(u"Max DirectX template:");
}

}  // namespace

void RemoveEntry(TextList& list, TextView entry) {
  auto found = std::find(list.begin(), list.end(), entry);
  if (found != list.end()) list.erase(found);
}

void InsertAtFront(TextList& list, TextView entry) {
  list.insert(list.begin(), Text(entry));
}

void Append(TextList& list, TextView entry) { list.emplace_back(entry); }

void WriteGraphicsTemplates() {
  ClearExtraLines();
  if (sourcemodtype* gl = RecordOf(u"brl.glgraphics")) {
    WriteOpenGLTemplate(*gl);
    return;
  }
  MoveGuiAndDropGraphics();
  sourcemodtype* d3d7 = RecordOf(u"brl.d3d7max2d");
  sourcemodtype* glMax2D = RecordOf(u"brl.glmax2d");
  if (d3d7 && glMax2D) {
    WriteBothDriversTemplate(*d3d7, *glMax2D);
    return;
  }
  if (glMax2D) {
    PutFirst(*glMax2D, u"BRL.GLMax2D", u"BRL.Max2D");
    Append(glMax2D->extraLines, kGLMax2DDriver);
    Html.WriteFrameworkBlock(u"Max2D OpenGL template:");
    return;
  }
  if (d3d7) {
    PutFirst(*d3d7, u"BRL.D3D7Max2D", u"BRL.Max2D");
    Append(d3d7->extraLines, kD3D7Max2DDriver);
    Html.WriteFrameworkBlock(u"Max2D DirectX template:");
    return;
  }
  if (sourcemodtype* max2d = RecordOf(u"brl.max2d")) {
    WriteDriverChoice(*max2d);
    return;
  }
  Html.WriteFrameworkBlock(u"Programs template:");
}

}  // namespace vt
