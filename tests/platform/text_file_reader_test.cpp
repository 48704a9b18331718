#include "platform/text_file_reader.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace vt {
namespace {

using testing::TempFolder;

// All lines of a file, read the way every caller reads them.
std::vector<Text> Lines(std::string_view bytes) {
  TempFolder tmp;
  tmp.WriteFile(u"f.bmx", bytes);
  auto stream = TextFileReader::OpenTextFile(tmp / u"f.bmx", true, 0);
  EXPECT_NE(stream, nullptr);
  std::vector<Text> lines;
  while (stream && !stream->AtEnd()) lines.push_back(ReadTextLine(*stream));
  // The passes read whole files at once, which must give the same lines.
  TextFileLines file = ReadTextFileLines(tmp / u"f.bmx");
  std::vector<Text> whole;
  for (size_t i = 0; i < file.LineCount(); ++i) whole.emplace_back(file.Line(i));
  EXPECT_EQ(whole, lines);
  return lines;
}

TextEncoding Detect(std::string_view bytes) {
  TempFolder tmp;
  tmp.WriteFile(u"f", bytes);
  return TextFileReader::DetectEncoding(tmp / u"f");
}

using Lines_ = std::vector<Text>;

TEST(TextFileReader, LineEndsAndCarriageReturns) {
  EXPECT_EQ(Lines("abc\r\ndef"), (Lines_{u"abc", u"def"}));
  EXPECT_EQ(Lines("abc\r\ndef\n"), (Lines_{u"abc", u"def"}));
  // A carriage return alone ends a line, as old Mac files end theirs.
  EXPECT_EQ(Lines("abc\rdef\n"), (Lines_{u"abc", u"def"}));
  EXPECT_EQ(Lines("Import a\rCls\r"), (Lines_{u"Import a", u"Cls"}));
  EXPECT_EQ(Lines(std::string("\xFF\xFE" "a\0\r\0b\0\r\0\n\0", 12)), (Lines_{u"a", u"b"}));
  EXPECT_EQ(Lines("\n\n"), (Lines_{u"", u""}));
  EXPECT_EQ(Lines(""), Lines_{});
}

TEST(TextFileReader, ByteZeroEndsALineInLatin1) {
  EXPECT_EQ(Lines(std::string("ab\0cd\nef", 8)), (Lines_{u"ab", u"cd", u"ef"}));
  EXPECT_EQ(Lines("caf\xE9"), (Lines_{u"café"}));
}

TEST(TextFileReader, DetectsEncodingFromByteOrderMarkOnly) {
  EXPECT_EQ(Detect("\xFE\xFF"), TextEncoding::Utf16BE);
  EXPECT_EQ(Detect("\xFF\xFE"), TextEncoding::Utf16LE);
  EXPECT_EQ(Detect("\xEF\xBB\xBF"), TextEncoding::Utf8);
  EXPECT_EQ(Detect("\xEF\xBBX"), TextEncoding::Latin1);
  EXPECT_EQ(Detect("\xEF\xBB"), TextEncoding::Latin1);
  EXPECT_EQ(Detect("\xFF"), TextEncoding::Latin1);
  EXPECT_EQ(Detect(""), TextEncoding::Latin1);
  EXPECT_EQ(Detect("caf\xC3\xA9"), TextEncoding::Latin1);
  TempFolder tmp;
  EXPECT_EQ(TextFileReader::DetectEncoding(tmp / u"missing"), TextEncoding::Latin1);
}

TEST(TextFileReader, Utf16MarkIsDroppedFromTheFirstLine) {
  EXPECT_EQ(Lines(std::string("\xFF\xFE" "a\0\n\0b\0", 8)), (Lines_{u"a", u"b"}));
  EXPECT_EQ(Lines(std::string("\xFE\xFF\0a\0\r\0\n\0b", 10)), (Lines_{u"a", u"b"}));
  // Odd length: the last character's missing byte reads as 0.
  EXPECT_EQ(Lines(std::string("\xFE\xFF\0a\x01", 5)), (Lines_{u"a\u0100"}));
  // A mark alone leaves one empty line, not a lost character.
  EXPECT_EQ(Lines("\xFF\xFE"), (Lines_{u""}));
}

TEST(TextFileReader, Utf8MarkIsDroppedFromTheFirstLineOnly) {
  EXPECT_EQ(Lines("\xEF\xBB\xBFRem"), (Lines_{u"Rem"}));
  EXPECT_EQ(Lines("\xEF\xBB\xBF\nRem"), (Lines_{u"", u"Rem"}));
  // The same bytes later in the file are a character like any other.
  EXPECT_EQ(Lines("\xEF\xBB\xBF" "a\n\xEF\xBB\xBF" "b"), (Lines_{u"a", u"\uFEFFb"}));
  // Read as UTF-8 without a mark, the first character is no mark and stays.
  TempFolder tmp;
  tmp.WriteFile(u"f", "abc");
  auto stream = TextFileReader::OpenTextFile(tmp / u"f", false,
                                             static_cast<int>(TextEncoding::Utf8));
  ASSERT_NE(stream, nullptr);
  EXPECT_EQ(ReadTextLine(*stream), u"abc");
}

TEST(TextFileReader, Utf8DecodesEveryLength) {
  EXPECT_EQ(Lines("\xEF\xBB\xBF" "caf\xC3\xA9 \xE6\x97\xA5\n2"),
            (Lines_{u"café 日", u"2"}));
}

TEST(TextFileReader, FourByteUtf8BecomesASurrogatePairAndKeepsItsPlace) {
  EXPECT_EQ(Lines("\xEF\xBB\xBF" "a\xF0\x9F\x8E\xAE" "b\nc"),
            (Lines_{u"a\U0001F3AEb", u"c"}));
  // A value beyond U+10FFFF is replaced, and the next byte is not swallowed.
  EXPECT_EQ(Lines("\xEF\xBB\xBF\xF7\xBF\xBF\xBFx"), (Lines_{u"\uFFFDx"}));
}

// A lead byte whose continuation bytes are missing or malformed is replaced
// alone, and the bytes after it are decoded afresh: none is swallowed.
TEST(TextFileReader, BadUtf8SequencesReplaceTheLeadByteOnly) {
  EXPECT_EQ(Lines("\xEF\xBB\xBF" "\xC3" "A"), (Lines_{u"\uFFFDA"}));
  EXPECT_EQ(Lines("\xEF\xBB\xBF" "\xE6\x97" "A"), (Lines_{u"\uFFFD\uFFFDA"}));
  EXPECT_EQ(Lines("\xEF\xBB\xBF" "\xF0\x9F" "A\xC3\xA9"), (Lines_{u"\uFFFD\uFFFDAé"}));
  // A line feed where a continuation byte should be still ends the line.
  EXPECT_EQ(Lines("\xEF\xBB\xBF" "a\xE6\nb"), (Lines_{u"a\uFFFD", u"b"}));
  EXPECT_EQ(Lines("\xEF\xBB\xBF" "\xF0\x9F\nb"), (Lines_{u"\uFFFD\uFFFD", u"b"}));
  // Bytes missing at the end of the file are no continuation bytes.
  EXPECT_EQ(Lines("\xEF\xBB\xBF" "a\xC3"), (Lines_{u"a\uFFFD"}));
  EXPECT_EQ(Lines("\xEF\xBB\xBF" "a\xE6\x97"), (Lines_{u"a\uFFFD\uFFFD"}));
}

// Lines of Latin-1 bytes as the reader must give them, one character at a
// time: a line feed or byte 0 ends a line, and so does a carriage return
// that no line feed follows; one that a line feed follows is dropped.
std::vector<Text> Latin1Model(std::string_view bytes) {
  std::vector<Text> lines;
  Text line;
  bool open = false;  // bytes taken since the last line ended
  for (size_t i = 0; i < bytes.size(); ++i) {
    unsigned char b = static_cast<unsigned char>(bytes[i]);
    bool loneReturn = b == 13 && (i + 1 == bytes.size() || bytes[i + 1] != '\n');
    if (b == 10 || b == 0 || loneReturn) {
      lines.push_back(line);
      line.clear();
      open = false;
      continue;
    }
    open = true;
    if (b != 13) line += static_cast<char16_t>(b);
  }
  if (open) lines.push_back(line);
  return lines;
}

// Plain runs are taken from the read buffer whole; every byte that ends them
// (and the buffer's own end, every 65,536 bytes) must give the same lines as
// reading one character at a time.
TEST(TextFileReader, RunsOfPlainBytesAcrossTheReadBuffer) {
  std::string bytes;
  uint32_t seed = 12345;
  while (bytes.size() < 3 * 65536 + 100) {
    seed = seed * 1103515245 + 12345;
    uint32_t pick = (seed >> 16) % 40;
    const char special[] = {'\n', '\r', '\0', '\xE9', '\xFF', '\x80'};
    bytes += pick < 6 ? special[pick] : static_cast<char>('a' + pick % 26);
  }
  // The buffer ends inside a run, on a carriage return and on a line feed.
  bytes[65535] = 'x';
  bytes[2 * 65536 - 1] = '\r';
  bytes[3 * 65536 - 1] = '\n';
  bytes[0] = 'a';  // no byte-order mark: Latin-1
  EXPECT_EQ(Lines(bytes), Latin1Model(bytes));
}

TEST(TextFileReader, Utf8CharacterSplitByTheReadBuffer) {
  // "é" (C3 A9) and "日" (E6 97 A5) start on the last byte of a buffer.
  std::string bytes = "\xEF\xBB\xBF" + std::string(65536 - 3 - 1, 'a') + "\xC3\xA9" "b\n";
  bytes += std::string(65532, 'c') + "\xE6\x97\xA5";
  std::vector<Text> lines = Lines(bytes);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], Text(65536 - 4, u'a') + u"\u00E9b");
  EXPECT_EQ(lines[1], Text(65532, u'c') + u"\u65E5");
}

// ReadTextFileLines keeps its lines in one text; each must come out as the
// line reader gives it, the mark dropped from the first.
// A buffer read into again holds the new file's lines only, whatever the
// file before it held.
TEST(TextFileReader, FileLinesAreTheLinesOfTheReader) {
  auto packed = [](const TextFileLines& file) {
    std::vector<Text> lines;
    for (size_t i = 0; i < file.LineCount(); ++i) lines.emplace_back(file.Line(i));
    return lines;
  };
  TextFileLines reused;
  for (std::string_view bytes :
       {std::string_view("a long first line\r\nand a second\n"),
        std::string_view("\xEF\xBB\xBF" "a\r\n\nb\xC3\xA9\n\n"),
        std::string_view("\xFF\xFE" "a\0\n\0\n\0b\0", 10), std::string_view("one"),
        std::string_view("\n"), std::string_view(""),
        // Whole lines are decoded at once only when every byte is plain.
        std::string_view("a\rb\n\xE9t\xE9\nc\0d\n", 12),
        std::string_view("\xEF\xBB\xBF" "ok\n\xC3\xA9\xE6\x97\n\xF0\x9F\x98\x80\xC0\x8A" "x\n\xE6"),
        std::string_view("\xFE\xFF\0a\0\r\0\n\x20\xAC\0", 11)}) {
    TempFolder tmp;
    tmp.WriteFile(u"f.bmx", bytes);
    TextFileLines file = ReadTextFileLines(tmp / u"f.bmx");
    ASSERT_EQ(file.outcome, ReadOutcome::Read);
    EXPECT_EQ(packed(file), Lines(bytes));
    ReadTextFileLines(tmp / u"f.bmx", reused);
    ASSERT_EQ(reused.outcome, ReadOutcome::Read);
    EXPECT_EQ(packed(reused), Lines(bytes));
  }
  TempFolder tmp;
  EXPECT_EQ(ReadTextFileLines(tmp / u"missing.bmx").outcome, ReadOutcome::NotOpened);
  ReadTextFileLines(tmp / u"missing.bmx", reused);
  EXPECT_EQ(reused.outcome, ReadOutcome::NotOpened);
  EXPECT_EQ(reused.LineCount(), 0u);
}

TEST(TextFileReader, OpenFailsForMissingFilesAndFolders) {
  TempFolder tmp;
  tmp.MakeFolder(u"dir.bmx");
  EXPECT_EQ(TextFileReader::OpenTextFile(tmp / u"missing.bmx", true, 0), nullptr);
  EXPECT_EQ(TextFileReader::OpenTextFile(tmp / u"dir.bmx", true, 0), nullptr);
}

TEST(TextFileReader, FixedEncodingIsUsedWithoutDetection) {
  TempFolder tmp;
  tmp.WriteFile(u"f", std::string("a\0b\0", 4));
  auto stream = TextFileReader::OpenTextFile(tmp / u"f", false,
                                             static_cast<int>(TextEncoding::Utf16LE));
  ASSERT_NE(stream, nullptr);
  // The first UTF-16 character is taken for the mark, whatever it is.
  EXPECT_EQ(ReadTextLine(*stream), u"b");
  EXPECT_TRUE(stream->AtEnd());
}

}  // namespace
}  // namespace vt

namespace vt {
namespace {

// One huge line would travel through the analysis in several full copies;
// it comes in pieces instead, and nothing of it is lost.
TEST(TextFileReaderLimits, HugeLineComesInPiecesOfTheLongestLine) {
  const size_t longest = TextStream::kLongestLine;
  std::string bytes(2 * longest + 5, 'a');
  bytes[longest - 1] = 'b';
  bytes[longest] = 'c';
  bytes += "\r\nnext\n";
  std::vector<Text> lines = Lines(bytes);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].size(), longest);
  EXPECT_EQ(lines[0].back(), u'b');
  EXPECT_EQ(lines[1].size(), longest);
  EXPECT_EQ(lines[1].front(), u'c');
  EXPECT_EQ(lines[2], u"aaaaa");
  EXPECT_EQ(lines[3], u"next");

  // A UTF-16 file counts characters, not bytes.
  std::string utf16 = "\xFF\xFE";
  for (size_t i = 0; i < longest + 3; ++i) utf16 += std::string("x\0", 2);
  std::vector<Text> wide = Lines(utf16);
  ASSERT_EQ(wide.size(), 2u);
  EXPECT_EQ(wide[0].size(), longest - 1);  // the byte-order mark went
  EXPECT_EQ(wide[1], u"xxxx");
}

}  // namespace
}  // namespace vt
