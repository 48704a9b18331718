#include "analysis/graphics_templates.h"

#include <gtest/gtest.h>

#include "analysis/source_records.h"
#include "report/html_report.h"
#include "support/test_support.h"

namespace vt {
namespace {

constexpr char16_t kGL[] = u"SetGraphicsDriver GLMax2DDriver()";
constexpr char16_t kD3D7[] = u"SetGraphicsDriver D3D7Max2DDriver()";
constexpr char16_t kHint[] =
    u"<h4><font color='#800040'>HINT: See help file - Mixing OpenGL/Max2D</font></h4>";
constexpr char16_t kChoice[] =
    u"<hr><p><h4><font color='#595959'>Choice of 2 frameworks ...</font></h4></p>";

class GraphicsTemplates : public testing::FreshState {
 protected:
  static sourcemodtype* Record(TextView path, TextList modules) {
    sourcemodtype* record = NewSourceRecord();
    record->path = path;
    record->modules = std::move(modules);
    record->extraLines = {u"stale line of an earlier run"};
    return record;
  }

  // The titles of the blocks written, and the lines written between them.
  static TextList Outline() {
    const Text titleStart = u"<tr><td><font size='5'>";
    TextList outline;
    for (const Text& line : Report.ReportLines) {
      if (StartsWith(line, titleStart)) {
        outline.push_back(u"block " + line.substr(titleStart.size(), line.find(u"</font>") -
                                                                         titleStart.size()));
      } else if (line == u"<br>" || line == kHint || line == kChoice) {
        outline.push_back(line);
      }
    }
    return outline;
  }

  // The text area lines of code box `box` of block `block`.
  static TextList Box(size_t block, size_t box) {
    if (block >= Report.PlainBlocks.size()) return {u"no such block"};
    if (box >= Report.PlainBlocks[block].boxes.size()) return {u"no such box"};
    return Report.PlainBlocks[block].boxes[box].lines;
  }
};

TEST_F(GraphicsTemplates, OpenGLWithMax2DAddsTheHint) {
  sourcemodtype* main = Record(u"/w/gl.bmx", {u"BRL.Graphics", u"BRL.GLGraphics", u"BRL.Max2D"});
  WriteGraphicsTemplates();
  EXPECT_EQ(Outline(), (TextList{u"block OpenGL template:", u"<br>", kHint}));
  EXPECT_EQ(main->modules, (TextList{u"BRL.GLGraphics", u"BRL.Max2D"}));
  EXPECT_EQ(main->extraLines, (TextList{u"SetGraphicsDriver GLGraphicsDriver()"}));
  EXPECT_EQ(Box(0, 0), (TextList{u"Framework BRL.GLGraphics", u"Import BRL.Max2D", u"", u"",
                                 u"SetGraphicsDriver GLGraphicsDriver()"}));
  EXPECT_EQ(Report.ReportLines.back(), kHint);
}

TEST_F(GraphicsTemplates, OpenGLWithoutMax2DLeavesGuiAndGraphicsElsewhere) {
  sourcemodtype* main = Record(u"/w/main.bmx", {u"BRL.Retro", u"BRL.Win32MaxGUI"});
  sourcemodtype* gl = Record(u"/w/gl.bmx", {u"BRL.Graphics", u"BRL.Bank", u"BRL.GLGraphics"});
  sourcemodtype* other = Record(u"/w/other.bmx", {u"BRL.Graphics"});
  WriteGraphicsTemplates();
  EXPECT_EQ(Outline(), (TextList{u"block OpenGL template:"}));
  EXPECT_EQ(main->modules, (TextList{u"BRL.Retro", u"BRL.Win32MaxGUI"}));
  EXPECT_EQ(gl->modules, (TextList{u"BRL.GLGraphics", u"BRL.Bank"}));
  EXPECT_EQ(other->modules, (TextList{u"BRL.Graphics"}));
  EXPECT_TRUE(main->extraLines.empty());
  EXPECT_TRUE(other->extraLines.empty());
  EXPECT_EQ(Box(0, 1), (TextList{u"Import BRL.GLGraphics", u"Import BRL.Bank", u"", u"",
                                 u"SetGraphicsDriver GLGraphicsDriver()"}));
}

TEST_F(GraphicsTemplates, BothMax2DDriversInOneRecord) {
  sourcemodtype* main =
      Record(u"/w/a.bmx", {u"BRL.Max2D", u"BRL.GLMax2D", u"BRL.D3D7Max2D", u"BRL.Graphics"});
  WriteGraphicsTemplates();
  EXPECT_EQ(Outline(), (TextList{u"block Max2D DirectX+OpenGL template:"}));
  EXPECT_EQ(main->modules, (TextList{u"BRL.GLMax2D", u"BRL.D3D7Max2D"}));
  EXPECT_EQ(main->extraLines, (TextList{kD3D7, kGL}));
  EXPECT_EQ(Box(0, 0),
            (TextList{u"Framework BRL.GLMax2D", u"Import BRL.D3D7Max2D", u"", u"", kD3D7, kGL}));
}

TEST_F(GraphicsTemplates, BothMax2DDriversInTwoRecords) {
  sourcemodtype* main = Record(u"/w/a.bmx", {u"BRL.Max2D", u"BRL.Retro", u"BRL.D3D7Max2D"});
  sourcemodtype* gl = Record(u"/w/b.bmx", {u"BRL.Retro", u"BRL.GLMax2D", u"BRL.Max2D"});
  WriteGraphicsTemplates();
  EXPECT_EQ(Outline(), (TextList{u"block Max2D DirectX+OpenGL template:"}));
  EXPECT_EQ(main->modules, (TextList{u"BRL.D3D7Max2D", u"BRL.Retro"}));
  EXPECT_EQ(gl->modules, (TextList{u"BRL.GLMax2D", u"BRL.Retro", u"BRL.Max2D"}));
  EXPECT_EQ(main->extraLines, (TextList{kD3D7}));
  EXPECT_EQ(gl->extraLines, (TextList{kGL}));
  EXPECT_EQ(Box(0, 0)[0], u"Framework BRL.D3D7Max2D");
  EXPECT_EQ(Box(0, 1)[0], u"Import BRL.GLMax2D");
}

TEST_F(GraphicsTemplates, OpenGLMax2DAloneAfterGuiAndGraphicsSteps) {
  sourcemodtype* main = Record(u"/w/a.bmx", {u"BRL.Max2D", u"BRL.Graphics", u"BRL.Win32MaxGUI",
                                             u"BRL.GLMax2D"});
  WriteGraphicsTemplates();
  EXPECT_EQ(Outline(), (TextList{u"block Max2D OpenGL template:"}));
  EXPECT_EQ(main->modules, (TextList{u"BRL.GLMax2D", u"BRL.Win32MaxGUI"}));
  EXPECT_EQ(main->extraLines, (TextList{kGL}));
}

TEST_F(GraphicsTemplates, DirectXMax2DAlone) {
  sourcemodtype* main = Record(u"/w/a.bmx", {u"BRL.Retro", u"BRL.D3D7Max2D", u"BRL.Max2D"});
  Record(u"/w/b.bmx", {u"BRL.Bank"});
  WriteGraphicsTemplates();
  EXPECT_EQ(Outline(), (TextList{u"block Max2D DirectX template:"}));
  EXPECT_EQ(main->modules, (TextList{u"BRL.D3D7Max2D", u"BRL.Retro"}));
  EXPECT_EQ(Box(0, 0), (TextList{u"Framework BRL.D3D7Max2D", u"Import BRL.Retro", u"", u"", kD3D7}));
  EXPECT_EQ(Box(0, 1), (TextList{u"Import BRL.Bank"}));
}

TEST_F(GraphicsTemplates, Max2DWithoutDriverOffersBoth) {
  sourcemodtype* main = Record(u"/w/a.bmx", {u"BRL.Max2D", u"BRL.Graphics", u"BRL.PNGLoader"});
  WriteGraphicsTemplates();
  EXPECT_EQ(Outline(), (TextList{kChoice, u"block Max OpenGL template:", u"<br>",
                                 u"block Max DirectX template:"}));
  EXPECT_EQ(Box(0, 0), (TextList{u"Framework BRL.GLMax2D", u"Import BRL.PNGLoader", u"", u"", kGL}));
  EXPECT_EQ(Box(1, 0),
            (TextList{u"Framework BRL.D3D7Max2D", u"Import BRL.PNGLoader", u"", u"", kD3D7}));
  EXPECT_EQ(main->modules, (TextList{u"BRL.D3D7Max2D", u"BRL.PNGLoader"}));
  EXPECT_EQ(main->extraLines, (TextList{kD3D7}));
}

TEST_F(GraphicsTemplates, Max2DOnlyInAnImportedRecord) {
  sourcemodtype* main = Record(u"/w/a.bmx", {u"BRL.Retro"});
  sourcemodtype* imported = Record(u"/w/b.bmx", {u"BRL.PNGLoader", u"BRL.Max2D"});
  WriteGraphicsTemplates();
  EXPECT_EQ(Outline(), (TextList{kChoice, u"block Max OpenGL template:", u"<br>",
                                 u"block Max DirectX template:"}));
  EXPECT_EQ(Box(0, 0), (TextList{u"Framework BRL.Retro"}));
  EXPECT_EQ(Box(1, 0), (TextList{u"Framework BRL.Retro"}));
  EXPECT_EQ(Box(0, 1), (TextList{u"Import BRL.GLMax2D", u"Import BRL.PNGLoader", u"", u"", kGL}));
  EXPECT_EQ(Box(1, 1),
            (TextList{u"Import BRL.D3D7Max2D", u"Import BRL.PNGLoader", u"", u"", kD3D7}));
  EXPECT_TRUE(main->extraLines.empty());
  EXPECT_EQ(imported->extraLines, (TextList{kD3D7}));
}

TEST_F(GraphicsTemplates, GuiModuleMovesToTheFront) {
  sourcemodtype* main =
      Record(u"/w/a.bmx", {u"BRL.Retro", u"BRL.Graphics", u"BRL.Win32MaxGUI", u"BRL.Bank"});
  WriteGraphicsTemplates();
  EXPECT_EQ(Outline(), (TextList{u"block Programs template:"}));
  EXPECT_EQ(main->modules, (TextList{u"BRL.Win32MaxGUI", u"BRL.Retro", u"BRL.Bank"}));
  EXPECT_EQ(Box(0, 0), (TextList{u"Framework BRL.Win32MaxGUI", u"Import BRL.Retro",
                                 u"Import BRL.Bank"}));
}

TEST_F(GraphicsTemplates, ConsoleProgramKeepsItsLists) {
  sourcemodtype* main = Record(u"/w/a.bmx", {u"BRL.StandardIO", u"BRL.Retro"});
  sourcemodtype* imported = Record(u"/w/b.bmx", {u"BRL.LinkedList"});
  WriteGraphicsTemplates();
  EXPECT_EQ(Outline(), (TextList{u"block Programs template:"}));
  EXPECT_EQ(main->modules, (TextList{u"BRL.StandardIO", u"BRL.Retro"}));
  EXPECT_EQ(imported->modules, (TextList{u"BRL.LinkedList"}));
  EXPECT_TRUE(main->extraLines.empty());
  EXPECT_TRUE(imported->extraLines.empty());
  EXPECT_EQ(Analysis.CurrentSource, imported);
  EXPECT_EQ(Box(0, 0), (TextList{u"Framework BRL.StandardIO", u"Import BRL.Retro"}));
}

TEST_F(GraphicsTemplates, NoRecordsStillGiveTheProgramsBlock) {
  WriteGraphicsTemplates();
  EXPECT_EQ(Outline(), (TextList{u"block Programs template:"}));
  ASSERT_EQ(Report.PlainBlocks.size(), 1u);
  EXPECT_TRUE(Report.PlainBlocks[0].boxes.empty());
}

TEST(ListOperations, RemoveTakesTheFirstExactMatchOnly) {
  TextList list = {u"A", u"b", u"B", u"b"};
  RemoveEntry(list, u"B");
  EXPECT_EQ(list, (TextList{u"A", u"b", u"b"}));
  RemoveEntry(list, u"b");
  EXPECT_EQ(list, (TextList{u"A", u"b"}));
  RemoveEntry(list, u"a");
  EXPECT_EQ(list, (TextList{u"A", u"b"}));
  InsertAtFront(list, u"Z");
  Append(list, u"Y");
  EXPECT_EQ(list, (TextList{u"Z", u"A", u"b", u"Y"}));
  TextList empty;
  RemoveEntry(empty, u"A");
  InsertAtFront(empty, u"A");
  EXPECT_EQ(empty, (TextList{u"A"}));
}

}  // namespace
}  // namespace vt
