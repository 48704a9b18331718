#include "analysis/command_pass.h"

#include <gtest/gtest.h>

#include "analysis/source_records.h"
#include "support/test_support.h"

namespace vt {
namespace {

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

class CommandPassTest : public testing::FreshState {
 protected:
  testing::TempFolder tmp;
};

TEST_F(CommandPassTest, CountsLinesAndCollectsTheWordsOfCodeLines) {
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

TEST_F(CommandPassTest, IncludeFilesFeedTheCurrentRecord) {
  tmp.WriteFile(u"main.bmx", "Cls\n");
  tmp.WriteFile(u"inc.bmx", "Flip\n");
  sourcemodtype* current = ScanFileCommands(Analysis, tmp / u"main.bmx", EntryKind::Main, nullptr);
  EXPECT_EQ(ScanFileCommands(Analysis, tmp / u"inc.bmx", EntryKind::Include, current), current);
  ASSERT_EQ(Analysis.SourceModList.size(), 1u);
  EXPECT_EQ(Analysis.SourceModList[0]->words, (TextList{u"cls", u"flip"}));
}

TEST_F(CommandPassTest, SkipsModulesAndUnreadableFilesAndCountsRecordlessIncludes) {
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

}  // namespace
}  // namespace vt
