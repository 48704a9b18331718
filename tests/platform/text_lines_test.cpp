#include "platform/text_lines.h"

#include <gtest/gtest.h>

#include <string>

namespace vt {
namespace {

using namespace std::string_literals;

TEST(TextLines, LinesKeepTheirOwnEndingsAndJoinToTheSameBytes) {
  for (std::string bytes : {"a\r\nb\nc"s, "a\nb\r\n"s, ""s, "\n\n"s, "x\ry\r\n"s,
                            "\xEF\xBB\xBFRem\r\n"s, "\xFF\xFEh\0\r\0\n\0"s, "\xFE\xFF\0h\0\n\0"s,
                            "\xFF\xFEh"s}) {
    EXPECT_EQ(JoinTextLines(SplitTextLines(bytes)), bytes);
  }
  TextLines mixed = SplitTextLines("a\r\nb\nc");
  ASSERT_EQ(mixed.lines.size(), 3u);
  EXPECT_EQ(mixed.lines[0].content, "a");
  EXPECT_EQ(mixed.lines[0].ending, "\r\n");
  EXPECT_EQ(mixed.lines[1].ending, "\n");
  EXPECT_EQ(mixed.lines[2].ending, "");
  // A lone carriage return ends a line, as for the line reader.
  TextLines old = SplitTextLines("x\ry\r\nz\r");
  ASSERT_EQ(old.lines.size(), 3u);
  EXPECT_EQ(old.lines[0].content, "x");
  EXPECT_EQ(old.lines[0].ending, "\r");
  EXPECT_EQ(old.lines[1].ending, "\r\n");
  EXPECT_EQ(old.lines[2].ending, "\r");
}

TEST(TextLines, TheMarkDecidesTheEncodingAndStaysApart) {
  TextLines utf16 = SplitTextLines("\xFF\xFEI\0m\0\r\0\n\0\xE9\0"s);
  EXPECT_EQ(utf16.encoding, TextEncoding::Utf16LE);
  EXPECT_EQ(utf16.byteOrderMark, "\xFF\xFE");
  ASSERT_EQ(utf16.lines.size(), 2u);
  EXPECT_EQ(utf16.lines[0].ending, "\r\0\n\0"s);
  EXPECT_EQ(DecodeLine(utf16.encoding, utf16.lines[0].content), u"Im");
  EXPECT_EQ(DecodeLine(utf16.encoding, utf16.lines[1].content), u"\u00E9");

  EXPECT_EQ(SplitTextLines("\xFE\xFF\0A"s).encoding, TextEncoding::Utf16BE);
  TextLines utf8 = SplitTextLines("\xEF\xBB\xBF\xC3\xA9");
  EXPECT_EQ(utf8.encoding, TextEncoding::Utf8);
  EXPECT_EQ(DecodeLine(utf8.encoding, utf8.lines[0].content), u"\u00E9");
  // Without a mark a file is Latin-1, whatever it holds.
  TextLines plain = SplitTextLines("\xC3\xA9");
  EXPECT_EQ(plain.encoding, TextEncoding::Latin1);
  EXPECT_EQ(DecodeLine(plain.encoding, plain.lines[0].content), u"\u00C3\u00A9");
}

TEST(TextLines, EncodingRefusesWhatLatinOneCannotHold) {
  EXPECT_EQ(EncodeText(TextEncoding::Latin1, u"Import \u00E9"), "Import \xE9");
  EXPECT_FALSE(EncodeText(TextEncoding::Latin1, u"Import \u0141").has_value());
  EXPECT_EQ(EncodeText(TextEncoding::Utf8, u"\u0141"), "\xC5\x81");
  EXPECT_EQ(EncodeText(TextEncoding::Utf16LE, u"A\u0141"), "A\0\x41\x01"s);
  EXPECT_EQ(EncodeText(TextEncoding::Utf16BE, u"A"), "\0A"s);
  EXPECT_EQ(BytesFromUnit(TextEncoding::Utf16LE, "a\0b\0c\0"s, 1), "b\0c\0"s);
  EXPECT_EQ(BytesFromUnit(TextEncoding::Latin1, "abc", 9), "");
}

TEST(TextLines, NewLinesTakeTheEndingMostLinesHave) {
  EXPECT_EQ(MostCommonEnding(SplitTextLines("a\r\nb\r\nc\n"), u"\n"), "\r\n");
  EXPECT_EQ(MostCommonEnding(SplitTextLines("a\nb\nc\r\n"), u"\r\n"), "\n");
  EXPECT_EQ(MostCommonEnding(SplitTextLines("one line"), u"\r\n"), "\r\n");
  EXPECT_EQ(MostCommonEnding(SplitTextLines("\xFF\xFEh\0"s), u"\n"), "\n\0"s);
}

}  // namespace
}  // namespace vt
