#include "analysis/source_walker.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "analysis/source_records.h"
#include "base/paths.h"
#include "platform/file_system.h"
#include "support/test_support.h"

namespace vt {
namespace {

using Entry = std::pair<Text, Text>;  // path, kind

class SourceWalker : public testing::FreshState {
 protected:
  std::vector<Entry> Entries() const {
    std::vector<Entry> entries;
    for (const auto& entry : Analysis.ScanListList) entries.emplace_back(entry->path, entry->kind);
    return entries;
  }

  testing::TempFolder tmp;
};

TEST(LineClassification, FollowsTheRulesInOrder) {
  int rem = 0;
  EXPECT_EQ(ClassifyLine(u"", rem), LineKind::Blank);
  EXPECT_EQ(ClassifyLine(u"' include \"a.bmx\"", rem), LineKind::Comment);
  EXPECT_EQ(ClassifyLine(u"rem notes follow", rem), LineKind::Code);
  EXPECT_EQ(ClassifyLine(u"remove()", rem), LineKind::Code);
  EXPECT_EQ(ClassifyLine(u"includeflag = 1", rem), LineKind::Directive);
  EXPECT_EQ(ClassifyLine(u"importance = 2", rem), LineKind::Directive);
  EXPECT_EQ(rem, 0);

  EXPECT_EQ(ClassifyLine(u"rem", rem), LineKind::RemStart);
  EXPECT_EQ(rem, 1);
  EXPECT_EQ(ClassifyLine(u"include \"a.bmx\"", rem), LineKind::Remark);
  EXPECT_EQ(ClassifyLine(u"cls", rem), LineKind::Remark);
  EXPECT_EQ(ClassifyLine(u"' still a comment", rem), LineKind::Comment);
  EXPECT_EQ(ClassifyLine(u"", rem), LineKind::Blank);
  EXPECT_EQ(ClassifyLine(u"rem", rem), LineKind::RemStart);
  EXPECT_EQ(rem, 1);
  EXPECT_EQ(ClassifyLine(u"end rem", rem), LineKind::RemEnd);
  EXPECT_EQ(rem, 0);
  EXPECT_EQ(ClassifyLine(u"endrem whatever", rem), LineKind::RemEnd);
  EXPECT_EQ(rem, 0);
}

TEST(PathRules, SplitFolderAndName) {
  EXPECT_EQ(FolderPart(u"/proj/inc/a.bmx"), u"/proj/inc");
  EXPECT_EQ(FolderPart(u"inc/a.bmx"), u"inc");
  EXPECT_EQ(FolderPart(u"a.bmx"), u"");
  EXPECT_EQ(FolderPart(u"inc/"), u"");
  // A file at a root keeps the root rather than falling back to the
  // current folder.
  EXPECT_EQ(FolderPart(u"/a.bmx"), u"/");
  EXPECT_EQ(FolderPart(u"C:/a.bmx", PathStyle::Windows), u"C:/");
  EXPECT_EQ(FileName(u"/proj/inc/a.bmx"), u"a.bmx");
  EXPECT_EQ(FileName(u"a.bmx"), u"a.bmx");
  EXPECT_EQ(JoinPath(u"/proj", u"a.bmx"), u"/proj/a.bmx");
  EXPECT_EQ(JoinPath(u"/", u"a.bmx"), u"/a.bmx");
}

TEST_F(SourceWalker, IncludesResolveAgainstTheIncludingFilesFolder) {
  tmp.WriteFile(u"main.bmx", "Include \"inc/a.bmx\"\r\nCls\r\n");
  tmp.WriteFile(u"inc/a.bmx", "Include \"b.bmx\"\n");
  tmp.WriteFile(u"inc/b.bmx", "Cls\n");
  tmp.WriteFile(u"b.bmx", "' the wrong b\n");
  ASSERT_TRUE(ChangeFolder(tmp.Path()));
  ScanFile(Analysis, u"main.bmx", u"Main");
  std::vector<Entry> expected = {{tmp / u"main.bmx", u"Main"},
                                 {tmp / u"inc/a.bmx", u"Include"},
                                 {tmp / u"inc/b.bmx", u"Include"}};
  EXPECT_EQ(Entries(), expected);
  EXPECT_EQ(CurrentFolder(), tmp.Path());
  EXPECT_EQ(Analysis.CodeLines, 2);
}

TEST_F(SourceWalker, WalksDepthFirstInLineOrder) {
  tmp.WriteFile(u"main.bmx",
                "Import \"a.bmx\"\nImport BRL.Max2D ' for drawing\nInclude \"b.bmx\"\n");
  tmp.WriteFile(u"a.bmx", "Include \"c.bmx\"\nImport brl.retro\n");
  tmp.WriteFile(u"b.bmx", "Cls\n");
  tmp.WriteFile(u"c.bmx", "Cls\n");
  ScanFile(Analysis, tmp / u"main.bmx", u"Main");
  std::vector<Entry> expected = {
      {tmp / u"main.bmx", u"Main"},     {tmp / u"a.bmx", u"Imported"},
      {tmp / u"c.bmx", u"Include"},     {u"brl.retro", u"MOD"},
      {u"brl.max2d ' for drawing", u"MOD"}, {tmp / u"b.bmx", u"Include"}};
  EXPECT_EQ(Entries(), expected);
}

TEST_F(SourceWalker, CircularAndRepeatedReferencesEndWithOneEntryPerFile) {
  tmp.WriteFile(u"main.bmx", "Include \"a.bmx\"\nImport \"c.bmx\"\nImport \"d.bmx\"\n");
  tmp.WriteFile(u"a.bmx", "Include \"b.bmx\"\n");
  tmp.WriteFile(u"b.bmx", "Include \"a.bmx\"\nInclude \"main.bmx\"\n");
  tmp.WriteFile(u"c.bmx", "Import \"d.bmx\"\n");
  tmp.WriteFile(u"d.bmx", "Import \"c.bmx\"\nImport \"./c.bmx\"\n");
  ScanFile(Analysis, tmp / u"main.bmx", u"Main");
  std::vector<Entry> expected = {{tmp / u"main.bmx", u"Main"}, {tmp / u"a.bmx", u"Include"},
                                 {tmp / u"b.bmx", u"Include"}, {tmp / u"c.bmx", u"Imported"},
                                 {tmp / u"d.bmx", u"Imported"}};
  EXPECT_EQ(Entries(), expected);
  // Every directive line counts, followed or not.
  EXPECT_EQ(Analysis.CodeLines, 9);
}

TEST_F(SourceWalker, ImportKinds) {
  tmp.WriteFile(u"main.bmx",
                "Import BRL.Max2D\n"
                "Import \"other.bmx\"\n"
                "Import \"glue.c\"\n"
                "Import \"\"\n"
                "Import \"broken.bmx\n"
                "Import Pub.FreeType\t' fonts\n");
  tmp.WriteFile(u"other.bmx", "");
  ScanFile(Analysis, tmp / u"main.bmx", u"Main");
  std::vector<Entry> expected = {{tmp / u"main.bmx", u"Main"},
                                 {u"brl.max2d", u"MOD"},
                                 {tmp / u"other.bmx", u"Imported"},
                                 {u"pub.freetype\t' fonts", u"MOD"}};
  EXPECT_EQ(Entries(), expected);
  EXPECT_EQ(Analysis.CodeLines, 6);
}

TEST_F(SourceWalker, IncludeNeedsQuotedNameAfterTheKeyword) {
  tmp.WriteFile(u"main.bmx",
                "Include c.bmx\n"
                "Include\"a.bmx\"\n"  // first quote at position 8: followed
                "include \"\"\n"
                "importance = 2\n"
                "' Include \"b.bmx\"\n"
                "Rem\n"
                "Include \"b.bmx\"\n"
                "End Rem\n");
  tmp.WriteFile(u"a.bmx", "");
  tmp.WriteFile(u"b.bmx", "");
  tmp.WriteFile(u"c.bmx", "");
  ScanFile(Analysis, tmp / u"main.bmx", u"Main");
  std::vector<Entry> expected = {
      {tmp / u"main.bmx", u"Main"}, {tmp / u"a.bmx", u"Include"}, {u"= 2", u"MOD"}};
  EXPECT_EQ(Entries(), expected);
  EXPECT_EQ(Analysis.CodeLines, 4);
  EXPECT_EQ(Analysis.InRemDirectives, 0);
}

TEST_F(SourceWalker, LowerCasedNamesAreFoundAsWrittenOnDisk) {
  tmp.WriteFile(u"main.bmx",
                "Include \"Data\\Level1.BMX\"\n"
                "Include \"Levels\\Level1.BMX\"\n"
                "Import \"MathUtil.bmx\"\n");
  tmp.WriteFile(u"Data/Level1.BMX", "");
  tmp.WriteFile(u"levels/level1.bmx", "");
  tmp.WriteFile(u"MathUtil.bmx", "");
  ScanFile(Analysis, tmp / u"main.bmx", u"Main");
  using testing::AsRecorded;
  std::vector<Entry> expected = {
      {tmp / u"main.bmx", u"Main"},
      {tmp / AsRecorded(u"Data/Level1.BMX", u"data/level1.bmx"), u"Include"},
      {tmp / u"levels/level1.bmx", u"Include"},
      {tmp / AsRecorded(u"MathUtil.bmx", u"mathutil.bmx"), u"Imported"}};
  EXPECT_EQ(Entries(), expected);
}

// A UTF-8 source names files beyond ASCII, and a Latin-1 one names them in
// its own letters; both are found and recorded whole.
TEST_F(SourceWalker, NamesBeyondAsciiAreFound) {
  tmp.WriteFile(u"main.bmx",
                "\xEF\xBB\xBF' the mark stays on this line\n"
                "Include \"\xC3\xBC" "bung\\\xE3\x82\xB2\xE3\x83\xBC\xE3\x83\xA0.bmx\"\n"
                "Include \"caf\xC3\xA9.bmx\"\n");
  tmp.WriteFile(u"\u00fcbung/\u30b2\u30fc\u30e0.bmx", "");
  tmp.WriteFile(u"caf\u00e9.bmx", "Include \"na\xEFve.bmx\"\n");
  tmp.WriteFile(u"na\u00efve.bmx", "");
  ScanFile(Analysis, tmp / u"main.bmx", u"Main");
  std::vector<Entry> expected = {{tmp / u"main.bmx", u"Main"},
                                 {tmp / u"\u00fcbung/\u30b2\u30fc\u30e0.bmx", u"Include"},
                                 {tmp / u"caf\u00e9.bmx", u"Include"},
                                 {tmp / u"na\u00efve.bmx", u"Include"}};
  EXPECT_EQ(Entries(), expected);
}

TEST_F(SourceWalker, UnreadableTargetsGetNoEntry) {
  tmp.WriteFile(u"main.bmx",
                "Include \"folder.bmx\"\n"
                "Include \"missing.bmx\"\n"
                "Include \"nowhere/a.bmx\"\n"
                "Include \"data.txt\"\n");
  tmp.MakeFolder(u"folder.bmx");
  tmp.WriteFile(u"data.txt", "");
  ScanFile(Analysis, tmp / u"main.bmx", u"Main");
  EXPECT_EQ(Entries(), (std::vector<Entry>{{tmp / u"main.bmx", u"Main"}}));

  Analysis = AnalysisState();
  Text before = CurrentFolder();
  ScanFile(Analysis, tmp / u"missing.bmx", u"Main");
  ScanFile(Analysis, tmp / u"folder.bmx", u"Main");
  EXPECT_TRUE(Analysis.ScanListList.empty());
  EXPECT_EQ(CurrentFolder(), before);
}

TEST_F(SourceWalker, AnUnclosedRemSilencesTheFilesWalkedAfterIt) {
  tmp.WriteFile(u"main.bmx", "Include \"a.bmx\"\nInclude \"b.bmx\"\n");
  tmp.WriteFile(u"a.bmx", "Rem\n");
  tmp.WriteFile(u"b.bmx", "");
  ScanFile(Analysis, tmp / u"main.bmx", u"Main");
  std::vector<Entry> expected = {{tmp / u"main.bmx", u"Main"}, {tmp / u"a.bmx", u"Include"}};
  EXPECT_EQ(Entries(), expected);
  EXPECT_EQ(Analysis.InRemDirectives, 1);
}

}  // namespace
}  // namespace vt
