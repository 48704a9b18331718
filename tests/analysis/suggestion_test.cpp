#include "analysis/suggestion.h"

#include <gtest/gtest.h>

#include "analysis/rule_book.h"
#include "analysis/source_records.h"

namespace vt {
namespace {

constexpr char16_t kGLGraphics[] = u"SetGraphicsDriver GLGraphicsDriver()";
constexpr char16_t kGL[] = u"SetGraphicsDriver GLMax2DDriver()";
constexpr char16_t kD3D7[] = u"SetGraphicsDriver D3D7Max2DDriver()";
constexpr char16_t kHint[] = u"HINT: See help file - Mixing OpenGL/Max2D";

class Suggestions : public ::testing::Test {
 protected:
  sourcemodtype* Record(TextView path, TextList modules) {
    sourcemodtype* record = Analysis.NewSourceRecord();
    record->path = path;
    record->modules = std::move(modules);
    // Left by someone else: the boxes start without it.
    record->extraLines = {u"stale line of an earlier run"};
    return record;
  }

  // "choice" when the blocks are a choice of drivers, then each block's
  // title and, when it has one, its note.
  static TextList Outline(const Suggestion& suggestion) {
    TextList outline;
    if (suggestion.driverChoice) outline.push_back(u"choice");
    for (const FrameworkBlock& block : suggestion.blocks) {
      outline.push_back(u"block " + block.title);
      if (!block.note.empty()) outline.push_back(u"note " + block.note);
    }
    return outline;
  }

  // The text area lines of code box `box` of block `block`.
  static TextList Lines(const Suggestion& suggestion, size_t block, size_t box) {
    if (block >= suggestion.blocks.size()) return {u"no such block"};
    if (box >= suggestion.blocks[block].boxes.size()) return {u"no such box"};
    TextList lines;
    for (const CodeLine& line : CodeLinesOf(suggestion.blocks[block].boxes[box])) {
      lines.push_back(line.fixed + line.data);
    }
    return lines;
  }

  AnalysisState Analysis;
};

TEST_F(Suggestions, OpenGLWithMax2DAddsTheHint) {
  Record(u"/w/gl.bmx", {u"BRL.Graphics", u"BRL.GLGraphics", u"BRL.Max2D"});
  Suggestion suggestion = SuggestFrameworks(Analysis);
  EXPECT_EQ(Outline(suggestion), (TextList{u"block OpenGL template:", u"note " + Text(kHint)}));
  ASSERT_EQ(suggestion.blocks.size(), 1u);
  ASSERT_EQ(suggestion.blocks[0].boxes.size(), 1u);
  const CodeBox& main = suggestion.blocks[0].boxes[0];
  EXPECT_EQ(main.modules, (TextList{u"BRL.GLGraphics", u"BRL.Max2D"}));
  EXPECT_EQ(main.extraLines, TextList{kGLGraphics});
  EXPECT_EQ(main.Framework(), u"BRL.GLGraphics");
  EXPECT_EQ(main.Imports(), TextList{u"BRL.Max2D"});
  EXPECT_EQ(Lines(suggestion, 0, 0), (TextList{u"Framework BRL.GLGraphics", u"Import BRL.Max2D",
                                               u"", u"", kGLGraphics}));
}

TEST_F(Suggestions, OpenGLWithoutMax2DLeavesGuiAndGraphicsElsewhere) {
  Record(u"/w/main.bmx", {u"BRL.Retro", u"BRL.Win32MaxGUI"});
  Record(u"/w/gl.bmx", {u"BRL.Graphics", u"BRL.Bank", u"BRL.GLGraphics"});
  Record(u"/w/other.bmx", {u"BRL.Graphics"});
  Suggestion suggestion = SuggestFrameworks(Analysis);
  EXPECT_EQ(Outline(suggestion), (TextList{u"block OpenGL template:"}));
  ASSERT_EQ(suggestion.blocks.size(), 1u);
  const std::vector<CodeBox>& boxes = suggestion.blocks[0].boxes;
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_TRUE(boxes[0].isMain);
  EXPECT_EQ(boxes[0].label, u"Main Source: ");
  EXPECT_EQ(boxes[0].path, u"/w/main.bmx");
  EXPECT_FALSE(boxes[1].isMain);
  EXPECT_EQ(boxes[1].label, u"Imported Code: ");
  EXPECT_EQ(boxes[1].path, u"/w/gl.bmx");
  EXPECT_EQ(boxes[0].modules, (TextList{u"BRL.Retro", u"BRL.Win32MaxGUI"}));
  EXPECT_EQ(boxes[1].modules, (TextList{u"BRL.GLGraphics", u"BRL.Bank"}));
  EXPECT_EQ(boxes[2].modules, (TextList{u"BRL.Graphics"}));
  EXPECT_TRUE(boxes[0].extraLines.empty());
  EXPECT_TRUE(boxes[2].extraLines.empty());
  // Only the main box has a Framework line.
  EXPECT_EQ(boxes[1].Framework(), u"");
  EXPECT_EQ(boxes[1].Imports(), boxes[1].modules);
  EXPECT_EQ(Lines(suggestion, 0, 1), (TextList{u"Import BRL.GLGraphics", u"Import BRL.Bank",
                                               u"", u"", kGLGraphics}));
}

TEST_F(Suggestions, BothMax2DDriversInOneRecord) {
  Record(u"/w/a.bmx", {u"BRL.Max2D", u"BRL.GLMax2D", u"BRL.D3D7Max2D", u"BRL.Graphics"});
  Suggestion suggestion = SuggestFrameworks(Analysis);
  EXPECT_EQ(Outline(suggestion), (TextList{u"block Max2D DirectX+OpenGL template:"}));
  ASSERT_EQ(suggestion.blocks.size(), 1u);
  ASSERT_EQ(suggestion.blocks[0].boxes.size(), 1u);
  const CodeBox& main = suggestion.blocks[0].boxes[0];
  EXPECT_EQ(main.modules, (TextList{u"BRL.GLMax2D", u"BRL.D3D7Max2D"}));
  EXPECT_EQ(main.extraLines, (TextList{kD3D7, kGL}));
  EXPECT_EQ(Lines(suggestion, 0, 0),
            (TextList{u"Framework BRL.GLMax2D", u"Import BRL.D3D7Max2D", u"", u"", kD3D7, kGL}));
}

TEST_F(Suggestions, BothMax2DDriversInTwoRecords) {
  Record(u"/w/a.bmx", {u"BRL.Max2D", u"BRL.Retro", u"BRL.D3D7Max2D"});
  Record(u"/w/b.bmx", {u"BRL.Retro", u"BRL.GLMax2D", u"BRL.Max2D"});
  Suggestion suggestion = SuggestFrameworks(Analysis);
  EXPECT_EQ(Outline(suggestion), (TextList{u"block Max2D DirectX+OpenGL template:"}));
  ASSERT_EQ(suggestion.blocks.size(), 1u);
  const std::vector<CodeBox>& boxes = suggestion.blocks[0].boxes;
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].modules, (TextList{u"BRL.D3D7Max2D", u"BRL.Retro"}));
  EXPECT_EQ(boxes[1].modules, (TextList{u"BRL.GLMax2D", u"BRL.Retro", u"BRL.Max2D"}));
  EXPECT_EQ(boxes[0].extraLines, TextList{kD3D7});
  EXPECT_EQ(boxes[1].extraLines, TextList{kGL});
  EXPECT_EQ(Lines(suggestion, 0, 0)[0], u"Framework BRL.D3D7Max2D");
  EXPECT_EQ(Lines(suggestion, 0, 1)[0], u"Import BRL.GLMax2D");
}

TEST_F(Suggestions, OpenGLMax2DAloneAfterGuiAndGraphicsSteps) {
  Record(u"/w/a.bmx", {u"BRL.Max2D", u"BRL.Graphics", u"BRL.Win32MaxGUI", u"BRL.GLMax2D"});
  Suggestion suggestion = SuggestFrameworks(Analysis);
  EXPECT_EQ(Outline(suggestion), (TextList{u"block Max2D OpenGL template:"}));
  ASSERT_EQ(suggestion.blocks.size(), 1u);
  ASSERT_EQ(suggestion.blocks[0].boxes.size(), 1u);
  const CodeBox& main = suggestion.blocks[0].boxes[0];
  EXPECT_EQ(main.modules, (TextList{u"BRL.GLMax2D", u"BRL.Win32MaxGUI"}));
  EXPECT_EQ(main.extraLines, TextList{kGL});
}

TEST_F(Suggestions, DirectXMax2DAlone) {
  Record(u"/w/a.bmx", {u"BRL.Retro", u"BRL.D3D7Max2D", u"BRL.Max2D"});
  Record(u"/w/b.bmx", {u"BRL.Bank"});
  Suggestion suggestion = SuggestFrameworks(Analysis);
  EXPECT_EQ(Outline(suggestion), (TextList{u"block Max2D DirectX template:"}));
  ASSERT_EQ(suggestion.blocks.size(), 1u);
  ASSERT_EQ(suggestion.blocks[0].boxes.size(), 2u);
  EXPECT_EQ(suggestion.blocks[0].boxes[0].modules, (TextList{u"BRL.D3D7Max2D", u"BRL.Retro"}));
  EXPECT_EQ(Lines(suggestion, 0, 0),
            (TextList{u"Framework BRL.D3D7Max2D", u"Import BRL.Retro", u"", u"", kD3D7}));
  EXPECT_EQ(Lines(suggestion, 0, 1), (TextList{u"Import BRL.Bank"}));
}

TEST_F(Suggestions, Max2DWithoutDriverOffersBoth) {
  Record(u"/w/a.bmx", {u"BRL.Max2D", u"BRL.Graphics", u"BRL.PNGLoader"});
  Suggestion suggestion = SuggestFrameworks(Analysis);
  EXPECT_TRUE(suggestion.driverChoice);
  EXPECT_EQ(Outline(suggestion), (TextList{u"choice", u"block Max OpenGL template:",
                                           u"block Max DirectX template:"}));
  EXPECT_EQ(Lines(suggestion, 0, 0),
            (TextList{u"Framework BRL.GLMax2D", u"Import BRL.PNGLoader", u"", u"", kGL}));
  EXPECT_EQ(Lines(suggestion, 1, 0),
            (TextList{u"Framework BRL.D3D7Max2D", u"Import BRL.PNGLoader", u"", u"", kD3D7}));
}

// A template whose driver the installation lacks is not offered: one driver
// left is no choice, and with none Max2D stays. The GUI module goes first
// only when it is installed.
TEST_F(Suggestions, TemplatesAndGuiModulesNotInstalledAreNotOffered) {
  constexpr char16_t kDirectXHint[] =
      u"note HINT: DirectX runs on Windows only; elsewhere use the OpenGL template";
  struct Case {
    std::vector<const char16_t*> installed;
    TextList outline;
    TextList firstBox;
  };
  const Case cases[] = {
      {{u"brl.glmax2d", u"brl.d3d9max2d", u"maxgui.drivers"},
       {u"choice", u"block Max OpenGL template:", u"block Max DirectX template:", kDirectXHint},
       {u"BRL.GLMax2D", u"MaxGUI.Drivers", u"BRL.Retro"}},
      {{u"brl.glmax2d"}, {u"block Max OpenGL template:"},
       {u"BRL.GLMax2D", u"BRL.Retro", u"MaxGUI.Drivers"}},
      {{u"brl.d3d9max2d"}, {u"block Max DirectX template:", kDirectXHint},
       {u"BRL.D3D9Max2D", u"BRL.Retro", u"MaxGUI.Drivers"}},
      {{}, {u"block Programs template:"},
       {u"BRL.Max2D", u"BRL.Graphics", u"BRL.Retro", u"MaxGUI.Drivers"}},
  };
  for (const Case& c : cases) {
    CatalogueState catalogue;
    catalogue.ruleSet = RuleSetKind::Modern;
    for (const char16_t* name : c.installed) catalogue.CreateModule(name);
    RuleBook rules = InstalledRules(BuiltInRules(), catalogue);
    Analysis = AnalysisState();
    Analysis.Rules = &rules.modern;
    Record(u"/w/a.bmx", {u"BRL.Max2D", u"BRL.Graphics", u"BRL.Retro", u"MaxGUI.Drivers"});
    Suggestion suggestion = SuggestFrameworks(Analysis);
    EXPECT_EQ(Outline(suggestion), c.outline) << c.installed.size();
    ASSERT_FALSE(suggestion.blocks.empty());
    EXPECT_EQ(suggestion.blocks.front().boxes.front().modules, c.firstBox) << c.installed.size();
  }
}

// The templates work on copies: the records stay as the analysis left them,
// and each block of the choice holds the lists as they stood when it was made.
TEST_F(Suggestions, TheRecordsStayAsTheyAreAndEachBlockKeepsItsOwnLists) {
  sourcemodtype* main = Record(u"/w/a.bmx", {u"BRL.Max2D", u"BRL.Graphics", u"BRL.PNGLoader"});
  main->optionalModules = {u"BRL.BMPLoader"};
  main->words.Add(u"cls");
  main->words.Add(u"\"ball.png");
  main->imagesUsed = 1;
  sourcemodtype* imported = Record(u"/w/b.bmx", {u"BRL.Retro", u"BRL.Win32MaxGUI"});

  Suggestion suggestion = SuggestFrameworks(Analysis);

  ASSERT_EQ(Analysis.SourceModList.size(), 2u);
  EXPECT_EQ(Analysis.SourceModList[0].get(), main);
  EXPECT_EQ(Analysis.SourceModList[1].get(), imported);
  EXPECT_EQ(main->path, u"/w/a.bmx");
  EXPECT_EQ(main->modules, (TextList{u"BRL.Max2D", u"BRL.Graphics", u"BRL.PNGLoader"}));
  EXPECT_EQ(main->optionalModules, TextList{u"BRL.BMPLoader"});
  EXPECT_EQ(main->extraLines, TextList{u"stale line of an earlier run"});
  EXPECT_EQ(main->words, (TextList{u"cls", u"\"ball.png"}));
  EXPECT_EQ(main->imagesUsed, 1);
  EXPECT_EQ(imported->modules, (TextList{u"BRL.Retro", u"BRL.Win32MaxGUI"}));
  EXPECT_EQ(imported->extraLines, TextList{u"stale line of an earlier run"});

  ASSERT_TRUE(suggestion.driverChoice);
  ASSERT_EQ(suggestion.blocks.size(), 2u);
  ASSERT_EQ(suggestion.blocks[0].boxes.size(), 2u);
  ASSERT_EQ(suggestion.blocks[1].boxes.size(), 2u);
  const CodeBox& glMain = suggestion.blocks[0].boxes[0];
  const CodeBox& d3d7Main = suggestion.blocks[1].boxes[0];
  EXPECT_EQ(glMain.modules, (TextList{u"BRL.GLMax2D", u"BRL.PNGLoader"}));
  EXPECT_EQ(glMain.extraLines, TextList{kGL});
  EXPECT_EQ(glMain.optionalModules, TextList{u"BRL.BMPLoader"});
  EXPECT_EQ(d3d7Main.modules, (TextList{u"BRL.D3D7Max2D", u"BRL.PNGLoader"}));
  EXPECT_EQ(d3d7Main.extraLines, TextList{kD3D7});
  EXPECT_EQ(d3d7Main.optionalModules, TextList{u"BRL.BMPLoader"});
  // The GUI module moves to the front in both blocks alike.
  for (const FrameworkBlock& block : suggestion.blocks) {
    EXPECT_EQ(block.boxes[1].modules, (TextList{u"BRL.Win32MaxGUI", u"BRL.Retro"}));
    EXPECT_TRUE(block.boxes[1].extraLines.empty());
  }

  // Asked again, it answers the same; and so it does when the lists are
  // taken rather than copied, which leaves the records without them.
  Suggestion again = SuggestFrameworks(Analysis);
  Suggestion taken = TakeFrameworks(Analysis);
  for (const Suggestion* other : {&again, &taken}) {
    EXPECT_EQ(Outline(*other), Outline(suggestion));
    for (size_t block = 0; block < 2; ++block) {
      for (size_t box = 0; box < 2; ++box) {
        EXPECT_EQ(Lines(*other, block, box), Lines(suggestion, block, box));
      }
    }
  }
  EXPECT_TRUE(main->modules.empty());
  EXPECT_TRUE(main->optionalModules.empty());
  EXPECT_TRUE(imported->modules.empty());
  EXPECT_EQ(taken.blocks[0].boxes[0].path, u"/w/a.bmx");
}

TEST_F(Suggestions, Max2DOnlyInAnImportedRecord) {
  Record(u"/w/a.bmx", {u"BRL.Retro"});
  Record(u"/w/b.bmx", {u"BRL.PNGLoader", u"BRL.Max2D"});
  Suggestion suggestion = SuggestFrameworks(Analysis);
  EXPECT_EQ(Outline(suggestion), (TextList{u"choice", u"block Max OpenGL template:",
                                           u"block Max DirectX template:"}));
  EXPECT_EQ(Lines(suggestion, 0, 0), (TextList{u"Framework BRL.Retro"}));
  EXPECT_EQ(Lines(suggestion, 1, 0), (TextList{u"Framework BRL.Retro"}));
  EXPECT_EQ(Lines(suggestion, 0, 1),
            (TextList{u"Import BRL.GLMax2D", u"Import BRL.PNGLoader", u"", u"", kGL}));
  EXPECT_EQ(Lines(suggestion, 1, 1),
            (TextList{u"Import BRL.D3D7Max2D", u"Import BRL.PNGLoader", u"", u"", kD3D7}));
  ASSERT_EQ(suggestion.blocks.size(), 2u);
  ASSERT_EQ(suggestion.blocks[1].boxes.size(), 2u);
  EXPECT_TRUE(suggestion.blocks[1].boxes[0].extraLines.empty());
  EXPECT_EQ(suggestion.blocks[1].boxes[1].extraLines, TextList{kD3D7});
}

TEST_F(Suggestions, TheFirstRecordListingADriverGetsItsTemplate) {
  Record(u"/w/a.bmx", {u"BRL.Retro", u"BRL.D3D7Max2D", u"BRL.Max2D"});
  Record(u"/w/b.bmx", {u"BRL.Bank", u"BRL.D3D7Max2D"});
  Suggestion suggestion = SuggestFrameworks(Analysis);
  EXPECT_EQ(Outline(suggestion), (TextList{u"block Max2D DirectX template:"}));
  ASSERT_EQ(suggestion.blocks.size(), 1u);
  const std::vector<CodeBox>& boxes = suggestion.blocks[0].boxes;
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].modules, (TextList{u"BRL.D3D7Max2D", u"BRL.Retro"}));
  EXPECT_EQ(boxes[0].extraLines, TextList{kD3D7});
  EXPECT_EQ(boxes[1].modules, (TextList{u"BRL.Bank", u"BRL.D3D7Max2D"}));
  EXPECT_TRUE(boxes[1].extraLines.empty());
}

TEST_F(Suggestions, GuiModuleMovesToTheFront) {
  Record(u"/w/a.bmx", {u"BRL.Retro", u"BRL.Graphics", u"BRL.Win32MaxGUI", u"BRL.Bank"});
  Suggestion suggestion = SuggestFrameworks(Analysis);
  EXPECT_EQ(Outline(suggestion), (TextList{u"block Programs template:"}));
  ASSERT_EQ(suggestion.blocks.size(), 1u);
  ASSERT_EQ(suggestion.blocks[0].boxes.size(), 1u);
  // No driver comes, so BRL.Graphics stays.
  EXPECT_EQ(suggestion.blocks[0].boxes[0].modules,
            (TextList{u"BRL.Win32MaxGUI", u"BRL.Retro", u"BRL.Graphics", u"BRL.Bank"}));
}

TEST_F(Suggestions, ConsoleProgramKeepsItsLists) {
  Record(u"/w/a.bmx", {u"BRL.StandardIO", u"BRL.Retro"});
  Record(u"/w/b.bmx", {u"BRL.LinkedList"});
  Suggestion suggestion = SuggestFrameworks(Analysis);
  EXPECT_EQ(Outline(suggestion), (TextList{u"block Programs template:"}));
  ASSERT_EQ(suggestion.blocks.size(), 1u);
  const std::vector<CodeBox>& boxes = suggestion.blocks[0].boxes;
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].modules, (TextList{u"BRL.StandardIO", u"BRL.Retro"}));
  EXPECT_EQ(boxes[1].modules, (TextList{u"BRL.LinkedList"}));
  EXPECT_TRUE(boxes[0].extraLines.empty());
  EXPECT_TRUE(boxes[1].extraLines.empty());
  EXPECT_EQ(Lines(suggestion, 0, 0), (TextList{u"Framework BRL.StandardIO", u"Import BRL.Retro"}));
}

TEST_F(Suggestions, NoRecordsStillGiveTheProgramsBlock) {
  Suggestion suggestion = SuggestFrameworks(Analysis);
  EXPECT_EQ(Outline(suggestion), (TextList{u"block Programs template:"}));
  ASSERT_EQ(suggestion.blocks.size(), 1u);
  EXPECT_TRUE(suggestion.blocks[0].boxes.empty());
}

// The modern templates come from the rules: the DirectX driver is D3D9 with
// its note, the GUI module put first is MaxGUI.Drivers, and a unit's
// guarded imports follow its plain ones, before the driver line.
TEST_F(Suggestions, ModernRulesTakeTheirDriversFromTheRuleFileAndShowGuardedImports) {
  Analysis.Rules = &BuiltInRules().modern;
  sourcemodtype* main = Record(u"/w/main.bmx", {u"BRL.Max2D", u"MaxGUI.MaxGUI", u"MaxGUI.Drivers"});
  sourcemodtype& windows = main->Section(u"Win32", u"win32");
  windows.modules = {u"Pub.Win32"};
  main->Section(u"Linux", u"linux");  // words that called for nothing: no section shown
  Suggestion suggestion = SuggestFrameworks(Analysis);
  Text note = u"note HINT: DirectX runs on Windows only; elsewhere use the OpenGL template";
  EXPECT_EQ(Outline(suggestion), (TextList{u"choice", u"block Max OpenGL template:",
                                           u"block Max DirectX template:", note}));
  EXPECT_EQ(Lines(suggestion, 1, 0),
            (TextList{u"Framework BRL.D3D9Max2D", u"Import MaxGUI.Drivers", u"Import MaxGUI.MaxGUI",
                      u"?Win32", u"Import Pub.Win32", u"?", u"", u"",
                      u"SetGraphicsDriver D3D9Max2DDriver()"}));
}

// BRL.Graphics leaves a unit only for a driver that brings it in: a unit that
// draws with Graphics but gets no driver would no longer compile.
TEST_F(Suggestions, GraphicsStaysInAUnitThatGetsNoDriver) {
  Record(u"/w/main.bmx", {u"BRL.FreeAudioAudio", u"BRL.Graphics"});
  Record(u"/w/draw.bmx", {u"BRL.Max2D", u"BRL.Graphics"});
  Suggestion suggestion = SuggestFrameworks(Analysis);
  EXPECT_EQ(Lines(suggestion, 0, 0),
            (TextList{u"Framework BRL.FreeAudioAudio", u"Import BRL.Graphics"}));
  EXPECT_EQ(Lines(suggestion, 0, 1),
            (TextList{u"Import BRL.GLMax2D", u"Import BRL.Graphics", u"", u"", kGL}));
}

TEST(ListOperations, RemoveTakesTheFirstExactMatchOnlyAndLeavesSharersAlone) {
  SharedTextList list = {u"A", u"b", u"B", u"b"};
  SharedTextList record = list;
  RemoveEntry(list, u"B");
  EXPECT_EQ(list, (TextList{u"A", u"b", u"b"}));
  EXPECT_EQ(record, (TextList{u"A", u"b", u"B", u"b"}));
  RemoveEntry(list, u"b");
  EXPECT_EQ(list, (TextList{u"A", u"b"}));
  SharedTextList before = list;
  RemoveEntry(list, u"a");
  EXPECT_TRUE(list.Shares(before));
  InsertAtFront(list, u"Z");
  Append(list.Edit(), u"Y");
  EXPECT_EQ(list, (TextList{u"Z", u"A", u"b", u"Y"}));
  EXPECT_EQ(before, (TextList{u"A", u"b"}));
  SharedTextList empty;
  RemoveEntry(empty, u"A");
  InsertAtFront(empty, u"A");
  EXPECT_EQ(empty, (TextList{u"A"}));
}

}  // namespace
}  // namespace vt
