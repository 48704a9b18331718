// Line-by-line reading of text files in the encoding that their byte-order
// mark announces. Every text file the tool reads goes through here.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "base/text.h"
#include "platform/file_system.h"
#include "platform/file_tree.h"

namespace vt {

enum class TextEncoding { Latin1 = 1, Utf8 = 2, Utf16BE = 3, Utf16LE = 4 };

class TextStream {
 public:
  TextStream(TextEncoding encoding) : encoding_(encoding) {}

  // Opens `path`; with `detect` the encoding is the one its byte-order mark
  // announces (Latin-1 without one).
  bool Open(TextView path, bool detect = false);
  bool OutOfHandles() const { return bytes_.OutOfHandles(); }
  bool AtEnd() { return aheadCount_ == 0 && bytes_.AtEnd(); }
  int64_t Position() const {
    return bytes_.Position() - static_cast<int64_t>(aheadCount_);
  }
  TextEncoding Encoding() const { return encoding_; }
  void Close() {
    bytes_.Close();
    aheadCount_ = 0;
  }

  // Reads up to the next line feed or character 0, dropping carriage returns.
  // A line longer than kLongestLine is returned in pieces of that length, as
  // if it were several lines: no program is written that way, and a single
  // line as large as the file would cost several times the file's size in
  // memory on its way through the analysis.
  Text ReadLine();
  // The same, appended to `text`: a file's lines can share one buffer.
  void ReadLineInto(Text& text);

  static constexpr size_t kLongestLine = size_t{1} << 20;

 private:
  // Appends one decoded character (one or two code units); false when the
  // character ends the line.
  bool DecodeInto(Text& line);
  // Appends the run of bytes ahead that decode to themselves, one unit each,
  // as most of a source does: in Latin-1 or UTF-8 every byte but line feed,
  // carriage return and 0, in UTF-8 only below 0x80. Takes at most what the
  // line still has room for (it started at `lineStart`); false when the next
  // byte is not such a one.
  bool TakePlainRun(Text& line, size_t lineStart);
  // The next byte, or 0 at the end.
  uint8_t NextByte();
  // The byte `offset` places ahead (0: the next one), without taking it; -1
  // past the end.
  int PeekByte(size_t offset);

  ByteReader bytes_;
  TextEncoding encoding_;
  // Bytes taken from `bytes_` by PeekByte but not yet decoded.
  uint8_t ahead_[3] = {};
  size_t aheadCount_ = 0;
};

// The encoding that the byte-order mark at the start of `bytes` announces,
// Latin-1 when there is none; `markLength`, if given, gets the mark's length.
TextEncoding EncodingOfMark(std::string_view bytes, size_t* markLength = nullptr);

class TextFileReader {
 public:
  // Null when the file cannot be opened. With `detect` the encoding comes
  // from the file's byte-order mark and `encoding` is ignored.
  static std::unique_ptr<TextStream> OpenTextFile(TextView path, bool detect,
                                                  int encoding);
  static TextEncoding DetectEncoding(TextView path);
};

// The next line of `stream`; drops a UTF-16 or UTF-8 byte-order mark from the
// first.
Text ReadTextLine(TextStream& stream);

// Every line of a text file (encoding from its byte-order mark), read at
// once so that the file is closed before its lines are used. The lines lie
// one after another in a single text: a large program has hundreds of
// thousands of them, and one allocation each would cost more than reading.
struct TextFileLines {
  ReadOutcome outcome = ReadOutcome::NotOpened;
  // The file's bytes as read, kept for their room.
  std::string bytes;
  Text text;
  // Where each line ends in `text`; the next begins there.
  std::vector<size_t> lineEnds;
  // Whether `text` and `lineEnds` hold the lines of `bytes`: a reader that
  // needs only some lines may leave the rest undecoded.
  bool decoded = false;

  size_t LineCount() const { return lineEnds.size(); }
  TextView Line(size_t index) const {
    size_t begin = index == 0 ? 0 : lineEnds[index - 1];
    return TextView(text).substr(begin, lineEnds[index] - begin);
  }
};
TextFileLines ReadTextFileLines(TextView path);
// The lines of a file's `bytes` (mark included) in `encoding`, exactly as
// the line reader decodes them, into `file`'s text and line ends.
void DecodeTextLines(std::string_view bytes, TextEncoding encoding, TextFileLines& file);
// The same into `file`, whose buffers are kept for the next file: a pass over
// many files then allocates as much as its largest file needs, once.
void ReadTextFileLines(TextView path, TextFileLines& file);
// The same from `files`.
void ReadTextFileLines(const FileTree& files, TextView path, TextFileLines& file);
// Only the bytes, into `file`; its lines wait for DecodeLinesOf.
void ReadTextFileBytes(const FileTree& files, TextView path, TextFileLines& file);
// Decodes the lines of `file`'s bytes, unless they are decoded.
void DecodeLinesOf(TextFileLines& file);

}  // namespace vt
