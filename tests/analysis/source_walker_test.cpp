#include "analysis/source_walker.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "analysis/source_records.h"
#include "base/paths.h"
#include "platform/file_system.h"
#include "platform/path_case.h"
#include "platform/text_file_reader.h"
#include "support/test_support.h"

namespace vt {
namespace {

using Entry = std::pair<Text, Text>;  // path, kind

class SourceWalker : public testing::FreshState {
 protected:
  std::vector<Entry> Entries() const {
    std::vector<Entry> entries;
    for (const auto& entry : Analysis.ScanListList) entries.emplace_back(entry.path, EntryKindName(entry.kind));
    return entries;
  }

  testing::TempFolder tmp;
  // For the walks that need no disk of their own.
  testing::MemoryFolder mem;
};

TEST(LineClassification, FollowsTheRulesInOrder) {
  bool rem = false;
  EXPECT_EQ(ClassifyLine(u"", rem), LineKind::Blank);
  EXPECT_EQ(ClassifyLine(u"' include \"a.bmx\"", rem), LineKind::Comment);
  EXPECT_EQ(ClassifyLine(u"remove()", rem), LineKind::Code);
  EXPECT_EQ(ClassifyLine(u"includeflag = 1", rem), LineKind::Directive);
  EXPECT_EQ(ClassifyLine(u"importance = 2", rem), LineKind::Directive);
  EXPECT_FALSE(rem);

  EXPECT_EQ(ClassifyLine(u"rem", rem), LineKind::RemStart);
  EXPECT_TRUE(rem);
  EXPECT_EQ(ClassifyLine(u"include \"a.bmx\"", rem), LineKind::Remark);
  EXPECT_EQ(ClassifyLine(u"cls", rem), LineKind::Remark);
  EXPECT_EQ(ClassifyLine(u"' still a comment", rem), LineKind::Comment);
  EXPECT_EQ(ClassifyLine(u"", rem), LineKind::Blank);
  EXPECT_EQ(ClassifyLine(u"rem", rem), LineKind::RemStart);
  EXPECT_TRUE(rem);
  EXPECT_EQ(ClassifyLine(u"end rem", rem), LineKind::RemEnd);
  EXPECT_FALSE(rem);
  EXPECT_EQ(ClassifyLine(u"endrem whatever", rem), LineKind::RemEnd);
  EXPECT_FALSE(rem);
}

// Rem opens a block as a whole word, whatever follows it.
TEST(LineClassification, RemOpensABlockAsAWholeWord) {
  struct Row {
    const char16_t* low;
    LineKind kind;
  };
  const Row rows[] = {
      {u"rem", LineKind::RemStart},
      {u"rem notes follow", LineKind::RemStart},
      {u"rem\tmethod parse()", LineKind::RemStart},
      {u"rem:cls", LineKind::RemStart},
      {u"rem'old", LineKind::RemStart},
      {u"rem-", LineKind::RemStart},
      {u"removehook x", LineKind::Code},
      {u"remaining = 2", LineKind::Code},
      {u"rem_count = 1", LineKind::Code},
      {u"rem2 = 1", LineKind::Code},
  };
  for (const Row& row : rows) {
    bool rem = false;
    EXPECT_EQ(ClassifyLine(row.low, rem), row.kind) << testing::Show(row.low);
    EXPECT_EQ(rem, row.kind == LineKind::RemStart) << testing::Show(row.low);
  }
  bool rem = true;
  EXPECT_EQ(ClassifyLine(u"end rem notes", rem), LineKind::RemEnd);
  EXPECT_FALSE(rem);
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
  ASSERT_TRUE(testing::EnterFolder(tmp.Path()));
  ScanFile(Analysis, u"main.bmx", EntryKind::Main);
  std::vector<Entry> expected = {{tmp / u"main.bmx", u"Main"},
                                 {tmp / u"inc/a.bmx", u"Include"},
                                 {tmp / u"inc/b.bmx", u"Include"}};
  EXPECT_EQ(Entries(), expected);
  EXPECT_EQ(CurrentFolder(), tmp.Path());
  EXPECT_EQ(Analysis.CodeLines, 2);
}

// The same folder name means another folder in another file's folder, and a
// folder that cannot be entered is reported at every line that names it.
TEST_F(SourceWalker, FolderNamesResolveAgainstEachNamingFilesFolder) {
  tmp.WriteFile(u"main.bmx",
                "Include \"inc/a.bmx\"\n"
                "Include \"lib/x.bmx\"\n"
                "Include \"nodir/y.bmx\"\n");
  tmp.WriteFile(u"inc/a.bmx", "Cls\n");
  tmp.WriteFile(u"lib/x.bmx", "Include \"inc/a.bmx\"\nInclude \"../inc/b.bmx\"\n"
                              "Include \"nodir/y.bmx\"\n");
  tmp.WriteFile(u"lib/inc/a.bmx", "Cls\n");
  tmp.WriteFile(u"inc/b.bmx", "Include \"a.bmx\"\nInclude \"../lib/inc/a.bmx\"\n");
  ASSERT_TRUE(testing::EnterFolder(tmp.Path()));
  ScanFile(Analysis, u"main.bmx", EntryKind::Main);
  std::vector<Entry> expected = {{tmp / u"main.bmx", u"Main"},
                                 {tmp / u"inc/a.bmx", u"Include"},
                                 {tmp / u"lib/x.bmx", u"Include"},
                                 {tmp / u"lib/inc/a.bmx", u"Include"},
                                 {tmp / u"inc/b.bmx", u"Include"}};
  EXPECT_EQ(Entries(), expected);
  ASSERT_EQ(Analysis.Warnings.size(), 2u);
  EXPECT_EQ(Analysis.Warnings[0].file, tmp / u"lib/x.bmx");
  EXPECT_EQ(Analysis.Warnings[1].file, tmp / u"main.bmx");
  EXPECT_EQ(CurrentFolder(), tmp.Path());
}

TEST_F(SourceWalker, WalksDepthFirstInLineOrder) {
  mem.WriteFile(u"main.bmx",
                "Import \"a.bmx\"\nImport BRL.Max2D ' for drawing\nInclude \"b.bmx\"\n");
  mem.WriteFile(u"a.bmx", "Include \"c.bmx\"\nImport brl.retro\n");
  mem.WriteFile(u"b.bmx", "Cls\n");
  mem.WriteFile(u"c.bmx", "Cls\n");
  ScanFile(Analysis, mem.Files(), mem / u"main.bmx", EntryKind::Main);
  std::vector<Entry> expected = {
      {mem / u"main.bmx", u"Main"},     {mem / u"a.bmx", u"Imported"},
      {mem / u"c.bmx", u"Include"},     {u"brl.retro", u"MOD"},
      {u"brl.max2d ' for drawing", u"MOD"}, {mem / u"b.bmx", u"Include"}};
  EXPECT_EQ(Entries(), expected);
}

TEST_F(SourceWalker, CircularAndRepeatedReferencesEndWithOneEntryPerFile) {
  mem.WriteFile(u"main.bmx", "Include \"a.bmx\"\nImport \"c.bmx\"\nImport \"d.bmx\"\n");
  mem.WriteFile(u"a.bmx", "Include \"b.bmx\"\n");
  mem.WriteFile(u"b.bmx", "Include \"a.bmx\"\nInclude \"main.bmx\"\n");
  mem.WriteFile(u"c.bmx", "Import \"d.bmx\"\n");
  mem.WriteFile(u"d.bmx", "Import \"c.bmx\"\nImport \"./c.bmx\"\n");
  ScanFile(Analysis, mem.Files(), mem / u"main.bmx", EntryKind::Main);
  std::vector<Entry> expected = {{mem / u"main.bmx", u"Main"}, {mem / u"a.bmx", u"Include"},
                                 {mem / u"b.bmx", u"Include"}, {mem / u"c.bmx", u"Imported"},
                                 {mem / u"d.bmx", u"Imported"}};
  EXPECT_EQ(Entries(), expected);
  // Every directive line counts, followed or not.
  EXPECT_EQ(Analysis.CodeLines, 9);
}

TEST_F(SourceWalker, ImportKinds) {
  mem.WriteFile(u"main.bmx",
                "Import BRL.Max2D\n"
                "Import \"other.bmx\"\n"
                "Import \"glue.c\"\n"
                "Import \"\"\n"
                "Import \"broken.bmx\n"
                "Import Pub.FreeType\t' fonts\n");
  mem.WriteFile(u"other.bmx", "");
  ScanFile(Analysis, mem.Files(), mem / u"main.bmx", EntryKind::Main);
  std::vector<Entry> expected = {{mem / u"main.bmx", u"Main"},
                                 {u"brl.max2d", u"MOD"},
                                 {mem / u"other.bmx", u"Imported"},
                                 {u"pub.freetype\t' fonts", u"MOD"}};
  EXPECT_EQ(Entries(), expected);
  EXPECT_EQ(Analysis.CodeLines, 6);
}

TEST_F(SourceWalker, IncludeNeedsQuotedNameAfterTheKeyword) {
  mem.WriteFile(u"main.bmx",
                "Include c.bmx\n"
                "Include\"a.bmx\"\n"  // first quote at position 8: followed
                "include \"\"\n"
                "importance = 2\n"
                "' Include \"b.bmx\"\n"
                "Rem\n"
                "Include \"b.bmx\"\n"
                "End Rem\n");
  mem.WriteFile(u"a.bmx", "");
  mem.WriteFile(u"b.bmx", "");
  mem.WriteFile(u"c.bmx", "");
  ScanFile(Analysis, mem.Files(), mem / u"main.bmx", EntryKind::Main);
  std::vector<Entry> expected = {
      {mem / u"main.bmx", u"Main"}, {mem / u"a.bmx", u"Include"}, {u"= 2", u"MOD"}};
  EXPECT_EQ(Entries(), expected);
  EXPECT_EQ(Analysis.CodeLines, 4);
}

TEST_F(SourceWalker, LowerCasedNamesAreFoundAsWrittenOnDisk) {
  tmp.WriteFile(u"main.bmx",
                "Include \"Data\\Level1.BMX\"\n"
                "Include \"Levels\\Level1.BMX\"\n"
                "Import \"MathUtil.bmx\"\n");
  tmp.WriteFile(u"Data/Level1.BMX", "");
  tmp.WriteFile(u"levels/level1.bmx", "");
  tmp.WriteFile(u"MathUtil.bmx", "");
  ScanFile(Analysis, tmp / u"main.bmx", EntryKind::Main);
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
  ScanFile(Analysis, tmp / u"main.bmx", EntryKind::Main);
  std::vector<Entry> expected = {{tmp / u"main.bmx", u"Main"},
                                 {tmp / u"\u00fcbung/\u30b2\u30fc\u30e0.bmx", u"Include"},
                                 {tmp / u"caf\u00e9.bmx", u"Include"},
                                 {tmp / u"na\u00efve.bmx", u"Include"}};
  EXPECT_EQ(Entries(), expected);
}

TEST_F(SourceWalker, UnreadableTargetsGetNoEntry) {
  mem.WriteFile(u"main.bmx",
                "Include \"folder.bmx\"\n"
                "Include \"missing.bmx\"\n"
                "Include \"nowhere/a.bmx\"\n"
                "Include \"data.txt\"\n");
  mem.MakeFolder(u"folder.bmx");
  mem.WriteFile(u"data.txt", "");
  ScanFile(Analysis, mem.Files(), mem / u"main.bmx", EntryKind::Main);
  EXPECT_EQ(Entries(), (std::vector<Entry>{{mem / u"main.bmx", u"Main"}}));

  Analysis = AnalysisState();
  Text before = CurrentFolder();
  ScanFile(Analysis, mem.Files(), mem / u"missing.bmx", EntryKind::Main);
  ScanFile(Analysis, mem.Files(), mem / u"folder.bmx", EntryKind::Main);
  EXPECT_TRUE(Analysis.ScanListList.empty());
  EXPECT_EQ(CurrentFolder(), before);
}

TEST_F(SourceWalker, AnUnclosedRemSilencesTheFilesWalkedAfterIt) {
  mem.WriteFile(u"main.bmx", "Include \"a.bmx\"\nInclude \"b.bmx\"\n");
  mem.WriteFile(u"a.bmx", "Rem\n");
  mem.WriteFile(u"b.bmx", "");
  ScanFile(Analysis, mem.Files(), mem / u"main.bmx", EntryKind::Main);
  std::vector<Entry> expected = {{mem / u"main.bmx", u"Main"}, {mem / u"a.bmx", u"Include"}};
  EXPECT_EQ(Entries(), expected);
}

// The walk as the rules word it: recursion, a linear read-once test, every
// file open until its nested files are done. The oracle for the real walk.
namespace literal {

void LiteralScanFile(AnalysisState& analysis, bool& inRem, TextView path, EntryKind kind);

void LiteralScanDirectiveLine(AnalysisState& analysis, bool& inRem, TextView line) {
  Text low = Lower(Trim(line));
  if (ClassifyLine(low, inRem) != LineKind::Directive) return;
  ++analysis.CodeLines;
  size_t first = Instr(low, u"\"");
  size_t second = first ? Instr(low, u"\"", first + 1) : 0;
  Text quoted = second > first + 1 ? low.substr(first, second - first - 1) : Text();
  if (StartsWith(low, u"include")) {
    if (first > 6 && !quoted.empty()) LiteralScanFile(analysis, inRem, quoted, EntryKind::Include);
  } else if (first != 0) {
    LiteralScanFile(analysis, inRem, quoted, EntryKind::Imported);
  } else {
    size_t blank = low.find(u' ');
    analysis.NewScanEntry(Trim(blank == Text::npos ? TextView(low) : TextView(low).substr(blank)),
                          EntryKind::Module);
  }
}

void LiteralScanFile(AnalysisState& analysis, bool& inRem, TextView path, EntryKind kind) {
  if (!EndsWith(Lower(path), u".bmx")) return;
  Text found = ResolvePathCase(ForwardSlashes(path));
  Text saved = CurrentFolder();
  Text folder = FolderPart(found);
  if (folder.empty() || testing::EnterFolder(folder)) {
    Text fullPath = JoinPath(CurrentFolder(), FileName(found));
    bool listed = false;
    for (const auto& entry : analysis.ScanListList) listed = listed || entry.path == fullPath;
    std::unique_ptr<TextStream> stream =
        listed ? nullptr : TextFileReader::OpenTextFile(FileName(found), true, 0);
    if (stream) {
      analysis.NewScanEntry(fullPath, kind);
      while (!stream->AtEnd()) LiteralScanDirectiveLine(analysis, inRem, ReadTextLine(*stream));
    }
  }
  testing::EnterFolder(saved);
}

}  // namespace literal

// A generated program: files in a few folders (some with capitals on disk)
// whose lines include and import one another, by relative names, in cycles
// and repeats, with modules, comments, Rem blocks and names that lead nowhere.
void WriteProgram(const testing::TempFolder& tmp, unsigned seed, size_t files) {
  std::mt19937 random(seed);
  auto pick = [&random](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random); };
  const char* folders[] = {"", "inc/", "Lib/", "inc/deep/"};
  const char* up[] = {"", "../", "../", "../../"};
  for (size_t f = 0; f < files; ++f) {
    size_t home = f == 0 ? 0 : pick(4);
    std::string text;
    size_t lines = 2 + pick(10);
    for (size_t l = 0; l < lines; ++l) {
      size_t target = pick(files), where = target == 0 ? 0 : (target * 7 + seed) % 4;
      std::string name = std::string(up[home]) + folders[where] + "f" + std::to_string(target);
      switch (pick(17)) {
        case 0: text += "Import brl.m" + std::to_string(pick(5)) + "\n"; break;
        case 1: text += "' Include \"" + name + ".bmx\"\n"; break;
        case 2: text += pick(4) == 0 ? "Rem\n" : "End Rem\n"; break;
        case 3: text += "Include \"missing" + std::to_string(pick(3)) + ".bmx\"\n"; break;
        case 4: text += "Import \"" + name + ".c\"\n"; break;
        case 5: text += "  DrawText \"x\", 1, 2\n"; break;
        case 6: text += "INCLUDE \"" + name + ".BMX\"\r\n"; break;
        // Old Mac endings, blanks, characters beyond ASCII and a character
        // 0 end or start lines as the line reader says.
        case 12: text += "\tInclude \"" + name + ".bmx\"\r"; break;
        case 13: text += "\xC3\xA9 Include \"" + name + ".bmx\"\n"; break;
        case 14: text += "Import \"" + name + ".bmx\" ' caf\xC3\xA9\n"; break;
        case 15: text += pick(2) ? "Rem\xE9\n" : "Print 1\r\nEnd Rem \xC3\xA9\n"; break;
        case 16: text += std::string("Print 1") + '\0' + "Include \"" + name + ".bmx\"\n"; break;
        case 7: case 8: text += "Import \"" + name + ".bmx\"\n"; break;
        default: text += "Include \"" + name + ".bmx\"\n"; break;
      }
    }
    // Some files have capitals on disk: found by their lower-cased names.
    std::string onDisk = (f % 5 == 3 ? "F" : "f") + std::to_string(f) + ".bmx";
    size_t where = f == 0 ? 0 : (f * 7 + seed) % 4;
    // Some start with a UTF-8 mark, which the first line drops.
    if (f % 3 == 1) text = "\xEF\xBB\xBF" + text;
    tmp.WriteFile(FromUtf8(std::string(folders[where]) + onDisk), text);
  }
}

std::vector<Entry> EntriesOf(const AnalysisState& analysis) {
  std::vector<Entry> entries;
  for (const auto& entry : analysis.ScanListList) {
    entries.emplace_back(entry.path, EntryKindName(entry.kind));
  }
  return entries;
}

TEST_F(SourceWalker, GeneratedProgramsWalkExactlyAsTheRulesSay) {
  size_t entries = 0;
  for (unsigned seed = 1; seed <= 60; ++seed) {
    testing::TempFolder program;
    WriteProgram(program, seed, 4 + seed % 30);
    AnalysisState literal, walked;
    Text before = CurrentFolder();
    bool inRem = false;
    literal::LiteralScanFile(literal, inRem, program / u"f0.bmx", EntryKind::Main);
    ScanFile(walked, program / u"f0.bmx", EntryKind::Main);
    EXPECT_EQ(CurrentFolder(), before);
    ASSERT_EQ(EntriesOf(walked), EntriesOf(literal)) << "seed " << seed;
    EXPECT_EQ(walked.CodeLines, literal.CodeLines) << "seed " << seed;
    EXPECT_TRUE(walked.FilesNotRead.empty());
    entries += walked.ScanListList.size();
  }
  // The programs reach far enough to say something.
  EXPECT_GT(entries, 300u);
}

TEST_F(SourceWalker, ADirectiveLineOnItsOwnIsFollowedToTheEnd) {
  tmp.WriteFile(u"a.bmx", "Include \"b.bmx\"\n");
  tmp.WriteFile(u"b.bmx", "Import brl.retro\n");
  ASSERT_TRUE(testing::EnterFolder(tmp.Path()));
  ScanDirectiveLine(Analysis, u"Include \"a.bmx\"");
  std::vector<Entry> expected = {
      {tmp / u"a.bmx", u"Include"}, {tmp / u"b.bmx", u"Include"}, {u"brl.retro", u"MOD"}};
  EXPECT_EQ(Entries(), expected);
  EXPECT_EQ(CurrentFolder(), tmp.Path());
}

// Far deeper than a call stack would take: depth costs memory only.
// The name of the k-th file of the chain. Wine finds a name in a folder by
// reading the whole folder, so under Windows the chain is spread over
// folders of a hundred files each, lest the run take minutes.
std::string ChainFile(int k) {
  std::string name = "f" + std::to_string(k) + ".bmx";
  if (kNativePathStyle != PathStyle::Windows) return name;
  return "d" + std::to_string(k / 100) + "/" + name;
}

TEST_F(SourceWalker, ADeepChainOfIncludesAndImportsIsWalkedCompletely) {
  constexpr int kDepth = 30000;
  for (int k = 0; k < kDepth; ++k) {
    const char* directive = k % 2 ? "Import" : "Include";
    std::string next = "Import brl.bottom\n";
    std::string up = kNativePathStyle == PathStyle::Windows ? "../" : "";
    if (k + 1 < kDepth) next = std::string(directive) + " \"" + up + ChainFile(k + 1) + "\"\n";
    mem.WriteFile(FromUtf8(ChainFile(k)), next);
  }
  ScanFile(Analysis, mem.Files(), mem / FromUtf8(ChainFile(0)), EntryKind::Main);
  ASSERT_EQ(Analysis.ScanListList.size(), static_cast<size_t>(kDepth) + 1);
  EXPECT_EQ(Analysis.ScanListList[kDepth - 1].path, mem / FromUtf8(ChainFile(kDepth - 1)));
  EXPECT_EQ(Analysis.ScanListList[kDepth - 1].kind, EntryKind::Include);
  EXPECT_EQ(Analysis.ScanListList[kDepth - 2].kind, EntryKind::Imported);
  EXPECT_EQ(Analysis.ScanListList.back().kind, EntryKind::Module);
  EXPECT_EQ(Analysis.CodeLines, kDepth);
}

TEST(FolderListings, FindTheSameNamesAsListingEveryTime) {
  testing::TempFolder tmp;
  tmp.WriteFile(u"Data/Level1.BMX", "x");
  tmp.WriteFile(u"Data/level1.bmx.bak", "x");
  tmp.WriteFile(u"MathUtil.bmx", "x");
  tmp.WriteFile(u"Sub/Deeper/A.bmx", "x");
  FolderListings listings;
  for (const Text& folder : {tmp.Path(), tmp / u"Data", tmp / u"Sub"}) {
    for (TextView name : {u"data/level1.bmx", u"../data/level1.bmx", u"mathutil.bmx",
                          u"sub/deeper/a.bmx", u"deeper/a.bmx", u"../sub/deeper/a.bmx",
                          u"missing.bmx", u"data/missing.bmx", u"./MATHUTIL.BMX"}) {
      EXPECT_EQ(ResolvePathCase(DiskFileTree(), name, folder, listings), ResolvePathCase(name, folder))
          << testing::Show(name);
    }
  }
}

}  // namespace
}  // namespace vt
