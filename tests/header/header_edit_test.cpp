// The edit of one file and its unified diff, on lines made by hand.
#include "header/header_edit.h"

#include <gtest/gtest.h>

#include "app/header_edit_text.h"
#include "header/unified_diff.h"

namespace vt {
namespace {

using namespace std::string_literals;

struct Edited {
  TextLines before;
  HeaderEdit edit;
  std::string Bytes() const { return JoinTextLines(edit.Result(before)); }
  std::string Diff() const { return UnifiedDiff(u"a.bmx", before, edit); }
};

Edited Edit(const std::string& bytes, const CodeBox& box) {
  Edited out;
  out.before = SplitTextLines(bytes);
  std::vector<Text> decoded;
  for (const RawLine& line : out.before.lines) {
    decoded.push_back(DecodeLine(out.before.encoding, line.content));
  }
  PresentHeader present = ReadPresentHeader(decoded);
  out.edit = EditHeader(out.before, present, WantedHeader(box, present), u"\n");
  return out;
}

CodeBox Main(TextList modules) {
  CodeBox box;
  box.isMain = true;
  box.modules = std::move(modules);
  return box;
}

TEST(HeaderEdit, TheDiffKeepsWhatDidNotMoveAsContextAndMarksAMissingLastEnding) {
  Edited edited = Edit(
      "' x\nFramework BRL.StandardIO\nImport BRL.Retro\nImport BRL.LinkedList\n\n"
      "Print 1\nPrint 2\nPrint 3\nPrint 4\nPrint 5\nPrint 6\nPrint 7\nImport BRL.Max2D",
      Main({u"BRL.StandardIO", u"BRL.Retro", u"BRL.PNGLoader"}));
  EXPECT_TRUE(Changes(edited.before, edited.edit));
  EXPECT_EQ(edited.Diff(),
            "--- a.bmx\n+++ a.bmx\n"
            "@@ -1,7 +1,7 @@\n"
            " ' x\n Framework BRL.StandardIO\n Import BRL.Retro\n"
            "-Import BRL.LinkedList\n+Import BRL.PNGLoader\n"
            " \n Print 1\n Print 2\n"
            "@@ -9,5 +9,4 @@\n"
            " Print 4\n Print 5\n Print 6\n-Print 7\n"
            "-Import BRL.Max2D\n\\ No newline at end of file\n"
            "+Print 7\n\\ No newline at end of file\n");
  EXPECT_EQ(edited.Bytes(),
            "' x\nFramework BRL.StandardIO\nImport BRL.Retro\nImport BRL.PNGLoader\n\n"
            "Print 1\nPrint 2\nPrint 3\nPrint 4\nPrint 5\nPrint 6\nPrint 7");
}

TEST(HeaderEdit, NothingChangesWhenTheHeaderIsAlreadyRight) {
  Edited edited = Edit("Framework BRL.StandardIO ' console\r\nPrint 1\r\n", Main({u"BRL.StandardIO"}));
  EXPECT_FALSE(Changes(edited.before, edited.edit));
  EXPECT_EQ(edited.Diff(), "");
}

TEST(HeaderEdit, AnEmptyFileGetsItsHeaderAndAFileOfOneLineGetsAnEnding) {
  EXPECT_EQ(Edit("", Main({u"BRL.StandardIO"})).Bytes(), "Framework BRL.StandardIO\n");
  Edited strict = Edit("Strict", Main({u"BRL.StandardIO"}));
  EXPECT_EQ(strict.Bytes(), "Strict\nFramework BRL.StandardIO");
  EXPECT_EQ(strict.Diff(),
            "--- a.bmx\n+++ a.bmx\n@@ -1,1 +1,2 @@\n"
            "-Strict\n\\ No newline at end of file\n"
            "+Strict\n+Framework BRL.StandardIO\n\\ No newline at end of file\n");
}

TEST(HeaderEdit, AnEncodingThatCannotHoldTheNewLinesIsAnErrorAndNoEdit) {
  CodeBox box = Main({u"BRL.StandardIO", u"PUB.\u0141odz"});
  Edited latin = Edit("Print 1\n", box);
  EXPECT_EQ(EncodingRefusal(latin.before.encoding, latin.edit.unencodable),
            u"its encoding (Latin-1) cannot hold a character of \"Import PUB.\u0141odz\"");
  EXPECT_FALSE(Changes(latin.before, latin.edit));
  Edited utf8 = Edit("\xEF\xBB\xBFPrint 1\n", box);
  EXPECT_EQ(utf8.edit.unencodable, u"");
  EXPECT_EQ(utf8.Bytes(), "\xEF\xBB\xBF" "Framework BRL.StandardIO\nImport PUB.\xC5\x81odz\n\nPrint 1\n");
}

TEST(HeaderEdit, AUtf16DiffIsShownInUtf8) {
  std::string bytes = "\xFF\xFE"s + *EncodeText(TextEncoding::Utf16LE, u"' \u00E4\r\nPrint 1\r\n");
  Edited edited = Edit(bytes, Main({u"BRL.StandardIO"}));
  EXPECT_EQ(edited.Diff(),
            "--- a.bmx\n+++ a.bmx\n@@ -1,2 +1,4 @@\n"
            " ' \xC3\xA4\r\n+Framework BRL.StandardIO\r\n+\r\n Print 1\r\n");
}

}  // namespace
}  // namespace vt
