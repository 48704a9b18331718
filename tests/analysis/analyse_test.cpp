#include "analysis/analyse.h"

#include <gtest/gtest.h>

#include "analysis/source_records.h"
#include "catalogue/import_closure.h"
#include "catalogue/module_scan.h"
#include "catalogue_fixture.h"
#include "platform/file_tree.h"
#include "platform/file_system.h"
#include "support/test_support.h"

namespace vt {
namespace {

using testing::MakeModule;

class Analyse : public testing::FreshState {
 protected:
  sourcemodtype& Record(size_t index) { return *Analysis.SourceModList.at(index); }

  testing::TempFolder tmp;
  // For the programs that need no disk of their own.
  testing::MemoryFolder mem;
};

// An installation and a program held in memory are examined as on disk,
// names found whatever their case; laid over the disk, an unsaved buffer is
// what is examined, and the disk's file is left as it was.
TEST_F(Analyse, TheFilesComeFromTheTreeGiven) {
  MemoryFileTree memory;
  memory.SetFile(u"/mem/BM/mod/brl.mod/retro.mod/retro.bmx",
                 "Module BRL.Retro\nFunction Upper$(s$)\n");
  memory.SetFile(u"/mem/BM/mod/brl.mod/max2d.mod/max2d.bmx",
                 "Module BRL.Max2D\nFunction Cls()\n");
  memory.SetFile(u"/mem/prog/main.bmx", "Include \"inc/sub.bmx\"\nPrint Upper(\"x\")\n");
  memory.SetFile(u"/mem/prog/Inc/Sub.bmx", "Cls\n");
  ASSERT_TRUE(ScanModFolder(Catalogue, memory, u"/mem/BM"));
  ExpandModuleImports(Catalogue);
  AnalyseProgram(Analysis, Catalogue, memory, u"/mem/prog/main.bmx", CauseNotes::Keep,
                 BuiltInRules());
  ASSERT_EQ(Analysis.ScanListList.size(), 2u);
  EXPECT_EQ(Analysis.ScanListList[1].path, u"/mem/prog/Inc/Sub.bmx");
  EXPECT_EQ(Record(0).modules, (TextList{u"BRL.Retro", u"BRL.Max2D"}));

  tmp.WriteFile(u"main.bmx", "Print Upper(\"x\")\n");
  DiskFileTree disk;
  MemoryFileTree edited(disk);
  edited.SetFile(tmp / u"main.bmx", "Cls\n");
  AnalyseProgram(Analysis, Catalogue, edited, tmp / u"main.bmx", CauseNotes::Keep,
                 BuiltInRules());
  EXPECT_EQ(Record(0).modules, TextList{u"BRL.Max2D"});
  EXPECT_EQ(testing::ReadFileBytes(tmp / u"main.bmx"), "Print Upper(\"x\")\n");
}

// An Include file feeds the file that includes it, through any chain of
// Includes, even when an Import came between.
TEST_F(Analyse, AnIncludeFeedsTheUnitThatIncludesIt) {
  MakeModule(Catalogue, u"brl.max2d", u"BRL.Max2D", {u"cls", u"drawrect"});
  MakeModule(Catalogue, u"brl.retro", u"BRL.Retro", {u"mid", u"left"});
  mem.WriteFile(u"main.bmx", "Import \"a.bmx\"\nInclude \"b.bmx\"\nCls\n");
  mem.WriteFile(u"a.bmx", "Mid(s, 1)\nInclude \"c.bmx\"\n");
  mem.WriteFile(u"c.bmx", "Left(s, 1)\n");
  mem.WriteFile(u"b.bmx", "Include \"d.bmx\"\n");
  mem.WriteFile(u"d.bmx", "DrawRect 1, 2, 3, 4\n");
  AnalyseProgram(Analysis, Catalogue, mem.Files(), mem / u"main.bmx");
  ASSERT_EQ(Analysis.SourceModList.size(), 2u);
  EXPECT_EQ(Record(0).path, mem / u"main.bmx");
  EXPECT_EQ(Record(0).words, (TextList{u"cls", u"drawrect"}));
  EXPECT_EQ(Record(0).modules, TextList{u"BRL.Max2D"});
  EXPECT_EQ(Record(1).path, mem / u"a.bmx");
  EXPECT_EQ(Record(1).words, (TextList{u"mid", u"left"}));
  EXPECT_EQ(Record(1).modules, TextList{u"BRL.Retro"});
}

// Under the modern rules "?condition" lines open platform sections: what
// only a section needs is listed under its condition, once per condition,
// and each file starts outside any section. The classic rules read the same
// lines as code, and rename the audio module.
TEST_F(Analyse, ModernRulesListSectionModulesUnderTheirConditionAndAddImplementations) {
  MakeModule(Catalogue, u"brl.timer", u"BRL.Timer", {u"createtimer"});
  MakeModule(Catalogue, u"brl.timerdefault", u"BRL.TimerDefault", {}, {u"brl.timer"});
  MakeModule(Catalogue, u"brl.retro", u"BRL.Retro", {u"mid"});
  MakeModule(Catalogue, u"pub.win32", u"Pub.Win32", {u"flashwindow"});
  MakeModule(Catalogue, u"maxgui.maxgui", u"MaxGUI.MaxGUI", {u"querygadget"});
  MakeModule(Catalogue, u"brl.audio", u"BRL.Audio", {u"playsound"});
  mem.WriteFile(u"main.bmx",
                "CreateTimer 10\n?Win32\nFlashWindow w\nQueryGadget w\nCreateTimer 5\n"
                "?Not  Win32 ' elsewhere\nPlaySound s\n?win32\nQueryGadget w\n?\nMid s\n"
                "Include \"inc.bmx\"\n?Linux\nPlaySound s\n");
  mem.WriteFile(u"inc.bmx", "FlashWindow w\n");
  RuleBook rules;
  rules.classic = BuiltInRules().classic;
  rules.modern.families.push_back(
      {u"timers", {u"BRL.TimerDefault"}, u"BRL.Timer", u"implementation of BRL.Timer"});

  Catalogue.ruleSet = RuleSetKind::Modern;
  AnalyseProgram(Analysis, Catalogue, mem.Files(), mem / u"main.bmx", CauseNotes::Keep, rules);
  ASSERT_EQ(Analysis.SourceModList.size(), 1u);
  EXPECT_EQ(Record(0).modules,
            (TextList{u"BRL.Timer", u"BRL.Retro", u"Pub.Win32", u"BRL.TimerDefault"}));
  std::vector<std::pair<Text, TextList>> sections;
  for (const sourcemodtype& section : Record(0).sections) {
    sections.emplace_back(section.condition, section.modules);
  }
  EXPECT_EQ(sections, (std::vector<std::pair<Text, TextList>>{
                          {u"Win32", {u"MaxGUI.MaxGUI"}},
                          {u"Not  Win32", {u"BRL.Audio"}},
                          {u"Linux", {u"BRL.Audio"}}}));

  Catalogue.ruleSet = RuleSetKind::Classic;
  AnalyseProgram(Analysis, Catalogue, mem.Files(), mem / u"main.bmx", CauseNotes::Keep, rules);
  EXPECT_TRUE(Record(0).sections.empty());
  EXPECT_EQ(Record(0).modules, (TextList{u"BRL.Timer", u"Pub.Win32", u"MaxGUI.MaxGUI",
                                         u"BRL.FreeAudioAudio", u"BRL.Retro"}));
}

TEST_F(Analyse, LineCountsCoverEveryWalkedFile) {
  mem.WriteFile(u"main.bmx",
                "' game\n"
                "Include \"inc/a.bmx\"\n"
                "Import BRL.Max2D\n"
                "\n"
                "Rem\n"
                "Cls\n"
                "EndRem\n"
                "Cls\n");
  mem.WriteFile(u"inc/a.bmx", "Include \"b.bmx\"\r\nFlip\r\n");
  mem.WriteFile(u"inc/b.bmx", "Flip\nFlip\n");
  AnalyseProgram(Analysis, Catalogue, mem.Files(), mem / u"main.bmx");
  EXPECT_EQ(Analysis.TotalLines, 12);
  // Three directive lines and four code lines.
  EXPECT_EQ(Analysis.CodeLines, 7);
  EXPECT_EQ(Analysis.ScanListList.size(), 4u);
}

// A Rem followed by text opens a block as a lone Rem does: the walk does
// not follow the Include inside it, and the command pass takes no words.
TEST_F(Analyse, ARemWithTextHidesIncludesAndWords) {
  mem.WriteFile(u"main.bmx",
                "Rem\tMethod Parse()\n"
                "Include \"hidden.bmx\"\n"
                "DrawRect 1, 2, 3, 4\n"
                "End Rem\n"
                "Rem notes follow\n"
                "Flip\n"
                "EndRem\n"
                "Cls\n");
  mem.WriteFile(u"hidden.bmx", "Flip\n");
  AnalyseProgram(Analysis, Catalogue, mem.Files(), mem / u"main.bmx");
  EXPECT_EQ(Analysis.ScanListList.size(), 1u);
  ASSERT_EQ(Analysis.SourceModList.size(), 1u);
  EXPECT_EQ(Record(0).words, TextList{u"cls"});
  EXPECT_EQ(Analysis.CodeLines, 1);
}

TEST_F(Analyse, CircularIncludesAndImportsEnd) {
  mem.WriteFile(u"main.bmx", "Import \"a.bmx\"\nInclude \"main.bmx\"\nCls\n");
  mem.WriteFile(u"a.bmx", "Import \"main.bmx\"\nImport \"a.bmx\"\nFlip\n");
  AnalyseProgram(Analysis, Catalogue, mem.Files(), mem / u"main.bmx");
  ASSERT_EQ(Analysis.ScanListList.size(), 2u);
  ASSERT_EQ(Analysis.SourceModList.size(), 2u);
  EXPECT_EQ(Analysis.TotalLines, 6);
  EXPECT_EQ(Analysis.CodeLines, 6);
}

TEST_F(Analyse, RemFlagsCarryBetweenFilesButNotBetweenExaminations) {
  // a.bmx ends inside a Rem block: b.bmx, read after it, is all remarks.
  mem.WriteFile(u"main.bmx", "Include \"a.bmx\"\nCls\n");
  mem.WriteFile(u"a.bmx", "Include \"b.bmx\"\nFlip\nRem\n");
  mem.WriteFile(u"b.bmx", "DrawRect 1, 2, 3, 4\n");
  AnalyseProgram(Analysis, Catalogue, mem.Files(), mem / u"main.bmx");
  ASSERT_EQ(Analysis.ScanListList.size(), 3u);
  EXPECT_EQ(Record(0).words, (TextList{u"cls", u"flip"}));
  EXPECT_EQ(Analysis.TotalLines, 6);
  EXPECT_EQ(Analysis.CodeLines, 4);

  mem.WriteFile(u"other.bmx", "Include \"b.bmx\"\nCls\n");
  AnalyseProgram(Analysis, Catalogue, mem.Files(), mem / u"other.bmx");
  ASSERT_EQ(Analysis.ScanListList.size(), 2u);
  EXPECT_EQ(Record(0).words, (TextList{u"cls", u"drawrect"}));
  EXPECT_EQ(Analysis.TotalLines, 3);
  EXPECT_EQ(Analysis.CodeLines, 3);
}

TEST_F(Analyse, ASecondExaminationStartsFromNothing) {
  MakeModule(Catalogue, u"brl.max2d", u"BRL.Max2D", {u"cls"});
  mem.WriteFile(u"main.bmx", "Cls\n");
  AnalyseProgram(Analysis, Catalogue, mem.Files(), mem / u"main.bmx");
  AnalyseProgram(Analysis, Catalogue, mem.Files(), mem / u"main.bmx");
  ASSERT_EQ(Analysis.ScanListList.size(), 1u);
  ASSERT_EQ(Analysis.SourceModList.size(), 1u);
  EXPECT_EQ(Record(0).modules, TextList{u"BRL.Max2D"});
  EXPECT_EQ(Analysis.TotalLines, 1);

  // Nothing readable: no entries and no records are left from before.
  AnalyseProgram(Analysis, Catalogue, mem.Files(), mem / u"missing.bmx");
  EXPECT_TRUE(Analysis.ScanListList.empty());
  EXPECT_TRUE(Analysis.SourceModList.empty());
  EXPECT_EQ(Analysis.TotalLines, 0);
}

TEST_F(Analyse, RelativeMainPathCountsFromTheCurrentFolder) {
  tmp.WriteFile(u"src/Game.bmx", "Import \"util.bmx\"\n");
  tmp.WriteFile(u"src/Util.bmx", "Cls\n");
  ASSERT_TRUE(testing::EnterFolder(tmp.Path()));
  AnalyseProgram(Analysis, Catalogue, u"src/Game.bmx");
  ASSERT_EQ(Analysis.SourceModList.size(), 2u);
  EXPECT_EQ(Record(0).path, tmp / u"src/Game.bmx");
  EXPECT_EQ(Record(1).path, tmp / testing::AsRecorded(u"src/Util.bmx", u"src/util.bmx"));
  EXPECT_EQ(Record(1).folder, tmp / u"src");
  EXPECT_EQ(CurrentFolder(), tmp.Path());
}

}  // namespace
}  // namespace vt
