// The graphics framework templates, worked on copies of the records so that
// each block keeps the lists as they stood when it was made.
#include <algorithm>

#include "analysis/suggestion.h"

namespace vt {

namespace {

constexpr char16_t kGLGraphicsDriver[] = u"SetGraphicsDriver GLGraphicsDriver()";
constexpr char16_t kGLMax2DDriver[] = u"SetGraphicsDriver GLMax2DDriver()";
constexpr char16_t kD3D7Max2DDriver[] = u"SetGraphicsDriver D3D7Max2DDriver()";
constexpr char16_t kMixingHint[] = u"HINT: See help file - Mixing OpenGL/Max2D";

// The records' lists while the templates rearrange them.
class Drafts {
 public:
  explicit Drafts(const AnalysisState& analysis) {
    for (const auto& record : analysis.SourceModList) {
      CodeBox& box = AddBox(*record);
      box.modules = record->modules;
      box.optionalModules = record->optionalModules;
    }
  }
  // Takes the records' lists: a large program's are many.
  explicit Drafts(AnalysisState& analysis, bool) {
    for (const auto& record : analysis.SourceModList) {
      CodeBox& box = AddBox(*record);
      box.modules = std::move(record->modules);
      box.optionalModules = std::move(record->optionalModules);
      record->modules.clear();
      record->optionalModules.clear();
    }
  }

  // The first box whose modules hold `name` (lower-case), or null.
  CodeBox* Holding(TextView name) {
    for (CodeBox& box : boxes_) {
      for (const Text& entry : box.modules) {
        if (EqualFolded(entry, name)) return &box;
      }
    }
    return nullptr;
  }

  // A block of the boxes as they stand now.
  FrameworkBlock Block(TextView title) const { return {Text(title), Text(), boxes_}; }
  // The same for the last block: the boxes move into it, and the drafts are
  // left empty.
  FrameworkBlock TakeBlock(TextView title) { return {Text(title), Text(), std::move(boxes_)}; }

 private:
  CodeBox& AddBox(const sourcemodtype& record) {
    CodeBox& box = boxes_.emplace_back();
    box.isMain = boxes_.size() == 1;
    box.label = box.isMain ? u"Main Source: " : u"Imported Code: ";
    box.path = record.path;
    return box;
  }

  std::vector<CodeBox> boxes_;
};

// Moves `module` to the front of the list, dropping the generic `replaced`.
void PutFirst(CodeBox& box, TextView module, TextView replaced) {
  RemoveEntry(box.modules, module);
  RemoveEntry(box.modules, replaced);
  InsertAtFront(box.modules, module);
}

void OpenGLTemplate(Drafts& drafts, CodeBox& gl, Suggestion& out) {
  PutFirst(gl, u"BRL.GLGraphics", u"BRL.Graphics");
  Append(gl.extraLines, kGLGraphicsDriver);
  bool mixesMax2D = drafts.Holding(u"brl.max2d") != nullptr;
  out.blocks.push_back(drafts.TakeBlock(u"OpenGL template:"));
  if (mixesMax2D) out.blocks.back().note = kMixingHint;
}

void MoveGuiAndDropGraphics(Drafts& drafts) {
  if (CodeBox* gui = drafts.Holding(u"brl.win32maxgui")) {
    RemoveEntry(gui->modules, u"BRL.Win32MaxGUI");
    InsertAtFront(gui->modules, u"BRL.Win32MaxGUI");
  }
  if (CodeBox* graphics = drafts.Holding(u"brl.graphics")) {
    RemoveEntry(graphics->modules, u"BRL.Graphics");
  }
}

void BothDriversTemplate(Drafts& drafts, CodeBox& d3d7, CodeBox& gl, Suggestion& out) {
  PutFirst(d3d7, u"BRL.D3D7Max2D", u"BRL.Max2D");
  RemoveEntry(gl.modules, u"BRL.GLMax2D");
  InsertAtFront(gl.modules, u"BRL.GLMax2D");
  Append(d3d7.extraLines, kD3D7Max2DDriver);
  Append(gl.extraLines, kGLMax2DDriver);
  out.blocks.push_back(drafts.TakeBlock(u"Max2D DirectX+OpenGL template:"));
}

// Max2D with no driver module: offer both drivers, one block each.
void DriverChoice(Drafts& drafts, CodeBox& max2d, Suggestion& out) {
  out.driverChoice = true;
  max2d.standsInFor = u"BRL.Max2D";
  RemoveEntry(max2d.modules, u"BRL.Max2D");
  InsertAtFront(max2d.modules, u"BRL.GLMax2D");
  Append(max2d.extraLines, kGLMax2DDriver);
  out.blocks.push_back(drafts.Block(u"Max OpenGL template:"));

  RemoveEntry(max2d.modules, u"BRL.GLMax2D");
  InsertAtFront(max2d.modules, u"BRL.D3D7Max2D");
  max2d.extraLines.clear();
  Append(max2d.extraLines, kD3D7Max2DDriver);
  out.blocks.push_back(drafts.TakeBlock(u"Max DirectX template:"));
}

// One driver module: it goes on the Framework line in place of Max2D.
void SingleDriverTemplate(Drafts& drafts, CodeBox& box, TextView driver, TextView line,
                          TextView title, Suggestion& out) {
  PutFirst(box, driver, u"BRL.Max2D");
  Append(box.extraLines, line);
  out.blocks.push_back(drafts.TakeBlock(title));
}

// The templates, applied to the drafts of one examination.
Suggestion Suggest(Drafts& drafts) {
  Suggestion out;
  if (CodeBox* gl = drafts.Holding(u"brl.glgraphics")) {
    OpenGLTemplate(drafts, *gl, out);
    return out;
  }
  MoveGuiAndDropGraphics(drafts);
  CodeBox* d3d7 = drafts.Holding(u"brl.d3d7max2d");
  CodeBox* glMax2D = drafts.Holding(u"brl.glmax2d");
  if (d3d7 && glMax2D) {
    BothDriversTemplate(drafts, *d3d7, *glMax2D, out);
  } else if (glMax2D) {
    SingleDriverTemplate(drafts, *glMax2D, u"BRL.GLMax2D", kGLMax2DDriver,
                         u"Max2D OpenGL template:", out);
  } else if (d3d7) {
    SingleDriverTemplate(drafts, *d3d7, u"BRL.D3D7Max2D", kD3D7Max2DDriver,
                         u"Max2D DirectX template:", out);
  } else if (CodeBox* max2d = drafts.Holding(u"brl.max2d")) {
    DriverChoice(drafts, *max2d, out);
  } else {
    out.blocks.push_back(drafts.TakeBlock(u"Programs template:"));
  }
  return out;
}

}  // namespace

Text CodeBox::Framework() const {
  if (!isMain || modules.empty()) return Text();
  return modules.front();
}

TextList CodeBox::Imports() const {
  if (!isMain || modules.empty()) return modules;
  return TextList(modules.begin() + 1, modules.end());
}

std::vector<CodeLine> CodeLinesOf(const CodeBox& box) {
  std::vector<CodeLine> lines;
  ForEachCodeLine(box, [&lines](TextView fixed, TextView data, TextView reason) {
    lines.push_back({Text(fixed), Text(data), Text(reason)});
  });
  return lines;
}

void RemoveEntry(TextList& list, TextView entry) {
  auto found = std::find(list.begin(), list.end(), entry);
  if (found != list.end()) list.erase(found);
}

void InsertAtFront(TextList& list, TextView entry) {
  list.insert(list.begin(), Text(entry));
}

void Append(TextList& list, TextView entry) { list.emplace_back(entry); }

Suggestion SuggestFrameworks(const AnalysisState& analysis) {
  Drafts drafts(analysis);
  return Suggest(drafts);
}

Suggestion TakeFrameworks(AnalysisState& analysis) {
  Drafts drafts(analysis, true);
  return Suggest(drafts);
}

}  // namespace vt
