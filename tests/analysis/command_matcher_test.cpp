#include "analysis/command_matcher.h"

#include <gtest/gtest.h>

#include "analysis/source_records.h"
#include "catalogue_fixture.h"
#include "support/test_support.h"

namespace vt {
namespace {

using testing::MakeModule;

TEST(WordCutting, WordsLiteralsAndComments) {
  EXPECT_EQ(CutWords(u"drawimage img, 10, 20 ' draw it"),
            (TextList{u"drawimage", u"img", u"10", u"20"}));
  EXPECT_EQ(CutWords(u"img = loadimage(\"gfx/ball.png\")"),
            (TextList{u"img", u"loadimage", u"\"gfx/ball.png"}));
  EXPECT_EQ(CutWords(u"myship.update() ; brl.max2d.drawimage"),
            (TextList{u"myship.update", u"brl.max2d.drawimage"}));
  EXPECT_EQ(CutWords(u"_x2 = .5"), (TextList{u"_x2", u".5"}));
  EXPECT_EQ(CutWords(u""), TextList{});
  // Cut into the spans of an earlier line, a line keeps none of them.
  std::vector<WordSpan> spans;
  CutWordSpans(u"a b c d", spans);
  CutWordSpans(u"  xy", spans);
  ASSERT_EQ(spans.size(), 1u);
  EXPECT_EQ(spans[0].start, 2u);
  EXPECT_EQ(spans[0].length, 2u);
  CutWordSpans(u"", spans);
  EXPECT_TRUE(spans.empty());
}

TEST(WordCutting, TheCharacterAfterAWordOrLiteralIsSkippedUnseen) {
  EXPECT_EQ(CutWords(u"x'move it"), (TextList{u"x", u"move", u"it"}));
  // The literal's opening quote ends the word, so its text reads as words.
  EXPECT_EQ(CutWords(u"print\"abc.png\""), (TextList{u"print", u"abc.png"}));
  EXPECT_EQ(CutWords(u"print \"abc\"x y"), (TextList{u"print", u"\"abc", u"y"}));
}

TEST(WordCutting, LiteralsNeedThreeCharacters) {
  EXPECT_EQ(CutWords(u"print \"ab\" + \"\" + \"abc\""), (TextList{u"print", u"\"abc"}));
  // An apostrophe inside a literal does not end the line.
  EXPECT_EQ(CutWords(u"print \"it's\" + nm"), (TextList{u"print", u"\"it's", u"nm"}));
}

TEST(WordCutting, AnUnclosedLiteralRunsToTheEndOfTheLine) {
  EXPECT_EQ(CutWords(u"loadsound \"sfx/laser.wav"),
            (TextList{u"loadsound", u"\"sfx/laser.wav"}));
  EXPECT_EQ(CutWords(u"print \"abc"), (TextList{u"print", u"\"abc"}));
  EXPECT_EQ(CutWords(u"print \"ab"), (TextList{u"print"}));
  EXPECT_EQ(CutWords(u"\""), TextList{});
}

class CommandPass : public testing::FreshState {
 protected:
  testing::TempFolder tmp;
};

TEST_F(CommandPass, CountsLinesAndCollectsTheWordsOfCodeLines) {
  tmp.WriteFile(u"main.bmx",
                "\n"
                "' a comment\n"
                "Rem\n"
                "DrawText \"hidden\"\n"
                "End Rem\n"
                "RemoveHook notes\n"
                "Import BRL.Max2D\n"
                "DrawImage img, 10, 20 ' draw it\n"
                "  x'move it  \n");
  sourcemodtype* current = ScanFileCommands(Analysis, tmp / u"main.bmx", EntryKind::Main, nullptr);
  ASSERT_EQ(Analysis.SourceModList.size(), 1u);
  sourcemodtype& record = *Analysis.SourceModList[0];
  // The Main file's record is the one the files after it feed.
  EXPECT_EQ(current, &record);
  EXPECT_EQ(record.path, tmp / u"main.bmx");
  EXPECT_EQ(record.folder, tmp.Path());
  EXPECT_EQ(record.words,
            (TextList{u"removehook", u"notes", u"drawimage", u"img", u"move", u"it"}));
  EXPECT_EQ(Analysis.TotalLines, 9);
  EXPECT_EQ(Analysis.CodeLines, 3);  // directives are the walker's to count
  EXPECT_TRUE(record.modules.empty());
  EXPECT_TRUE(record.optionalModules.empty());
  EXPECT_TRUE(record.extraLines.empty());
}

TEST_F(CommandPass, IncludeFilesFeedTheCurrentRecord) {
  tmp.WriteFile(u"main.bmx", "Cls\n");
  tmp.WriteFile(u"inc.bmx", "Flip\n");
  sourcemodtype* current = ScanFileCommands(Analysis, tmp / u"main.bmx", EntryKind::Main, nullptr);
  EXPECT_EQ(ScanFileCommands(Analysis, tmp / u"inc.bmx", EntryKind::Include, current), current);
  ASSERT_EQ(Analysis.SourceModList.size(), 1u);
  EXPECT_EQ(Analysis.SourceModList[0]->words, (TextList{u"cls", u"flip"}));
}

TEST_F(CommandPass, SkipsModulesAndUnreadableFilesAndCountsRecordlessIncludes) {
  tmp.WriteFile(u"main.bmx", "Cls\n' note\n");
  tmp.MakeFolder(u"folder.bmx");
  EXPECT_EQ(ScanFileCommands(Analysis, u"brl.max2d", EntryKind::Module, nullptr), nullptr);
  EXPECT_EQ(ScanFileCommands(Analysis, tmp / u"missing.bmx", EntryKind::Main, nullptr), nullptr);
  EXPECT_EQ(ScanFileCommands(Analysis, tmp / u"folder.bmx", EntryKind::Imported, nullptr), nullptr);
  EXPECT_EQ(Analysis.TotalLines, 0);
  // With no record yet, an Include's lines count but its words go nowhere.
  EXPECT_EQ(ScanFileCommands(Analysis, tmp / u"main.bmx", EntryKind::Include, nullptr), nullptr);
  EXPECT_TRUE(Analysis.SourceModList.empty());
  EXPECT_EQ(Analysis.TotalLines, 2);
  EXPECT_EQ(Analysis.CodeLines, 1);
}

class Matching : public testing::FreshState {
 protected:
  sourcemodtype& Record(std::initializer_list<const char16_t*> words) {
    Analysis.Rules = &BuiltInRules().classic;
    sourcemodtype& record = *Analysis.NewSourceRecord();
    for (const char16_t* word : words) record.words.emplace_back(word);
    return record;
  }
};

TEST_F(Matching, EveryModuleDeclaringAWordIsAddedInCatalogueOrder) {
  MakeModule(Catalogue, u"brl.blitz", u"BRL.Blitz", {u"print"});
  MakeModule(Catalogue, u"brl.standardio", u"BRL.StandardIO", {u"print", u"input"});
  MakeModule(Catalogue, u"brl.retro", u"BRL.Retro", {u"print", u"left"});
  sourcemodtype& record = Record({u"print", u"left", u"input", u"unknown"});
  MatchCommands(Analysis, Catalogue);
  EXPECT_EQ(record.modules, (TextList{u"BRL.StandardIO", u"BRL.Retro"}));
}

TEST_F(Matching, TypeNamesMatchLikeCommands) {
  MakeModule(Catalogue, u"brl.linkedlist", u"BRL.LinkedList", {u"createlist"})->types = {
      u"tlist"};
  MakeModule(Catalogue, u"brl.audio", u"BRL.Audio", {u"playsound"})->types = {u"tsound",
                                                                                u"playsound"};
  MakeModule(Catalogue, u"brl.other", u"BRL.Other", {u"tsound"});
  sourcemodtype& record = Record({u"tsound", u"tlist", u"playsound"});
  MatchCommands(Analysis, Catalogue);
  EXPECT_EQ(record.modules,
            (TextList{u"BRL.FreeAudioAudio", u"BRL.Other", u"BRL.LinkedList"}));
}

TEST_F(Matching, AModuleThatImportsTheOtherKeepsItOut) {
  MakeModule(Catalogue, u"brl.max2d", u"BRL.Max2D", {u"cls"}, {u"brl.graphics"});
  MakeModule(Catalogue, u"brl.graphics", u"BRL.Graphics", {u"cls", u"flip"});
  sourcemodtype& record = Record({u"cls", u"flip"});
  MatchCommands(Analysis, Catalogue);
  EXPECT_EQ(record.modules, TextList{u"BRL.Max2D"});
}

TEST_F(Matching, EachRecordIsMatchedAfresh) {
  MakeModule(Catalogue, u"brl.max2d", u"BRL.Max2D", {u"cls"});
  sourcemodtype& main = Record({u"cls"});
  sourcemodtype& imported = Record({u"cls"});
  MatchCommands(Analysis, Catalogue);
  EXPECT_EQ(main.modules, TextList{u"BRL.Max2D"});
  EXPECT_EQ(imported.modules, TextList{u"BRL.Max2D"});
}

TEST_F(Matching, RuleModulesComeFirstAndLiteralsAreNeverCommands) {
  MakeModule(Catalogue, u"brl.pixmap", u"BRL.Pixmap", {u"loadpixmappng"});
  MakeModule(Catalogue, u"brl.pngloader", u"BRL.PNGLoader", {});
  MakeModule(Catalogue, u"brl.strange", u"BRL.Strange", {u"\"gfx/a.png", u"gfx/a.png"});
  sourcemodtype& record = Record({u"\"gfx/a.png", u"loadpixmappng"});
  MatchCommands(Analysis, Catalogue);
  EXPECT_EQ(record.modules, (TextList{u"BRL.PNGLoader", u"BRL.Pixmap"}));
  EXPECT_EQ(record.imagesUsed, 1);
}

TEST_F(Matching, AWordOfAListedModuleChangesNothing) {
  MakeModule(Catalogue, u"brl.freeaudioaudio", u"BRL.FreeAudioAudio", {u"playsound"});
  sourcemodtype& record = Record({u"playsound"});
  record.modules.push_back(u"BRL.FreeAudioAudio");
  MatchCommands(Analysis, Catalogue);
  EXPECT_EQ(record.modules, TextList{u"BRL.FreeAudioAudio"});
}

// "TPath.Cwd()" is one word: the type before its first dot still needs its
// module. Only type names count there, not commands.
TEST_F(Matching, ADottedWordAlsoNamesTheTypeBeforeItsFirstDot) {
  MakeModule(Catalogue, u"brl.path", u"BRL.Path", {u"readfolder"})->types = {u"tpath"};
  MakeModule(Catalogue, u"brl.self", u"BRL.Self", {u"self", u"brl"});
  MakeModule(Catalogue, u"brl.max2d", u"BRL.Max2D", {u"drawimage"});
  sourcemodtype& record =
      Record({u"self.x", u"brl.max2d.drawimage", u".5e", u"tpath.cwd", u"tpath.of.name"});
  MatchCommands(Analysis, Catalogue);
  EXPECT_EQ(record.modules, TextList{u"BRL.Path"});
}

}  // namespace
}  // namespace vt
