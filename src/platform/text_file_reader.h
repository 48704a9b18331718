// Line-by-line reading of text files in the encoding that their byte-order
// mark announces. Every text file the tool reads goes through here.
#pragma once

#include <memory>

#include "base/text.h"
#include "platform/file_system.h"

namespace vt {

enum class TextEncoding { Latin1 = 1, Utf8 = 2, Utf16BE = 3, Utf16LE = 4 };

class TextStream {
 public:
  TextStream(TextEncoding encoding) : encoding_(encoding) {}

  bool Open(TextView path) { return bytes_.Open(path); }
  bool AtEnd() { return bytes_.AtEnd(); }
  int64_t Position() const { return bytes_.Position(); }
  TextEncoding Encoding() const { return encoding_; }
  void Close() { bytes_.Close(); }

  // Reads up to the next line feed or character 0, dropping carriage returns.
  // A line longer than kLongestLine is returned in pieces of that length, as
  // if it were several lines: no program is written that way, and a single
  // line as large as the file would cost several times the file's size in
  // memory on its way through the analysis.
  Text ReadLine();

  static constexpr size_t kLongestLine = size_t{1} << 20;

 private:
  // Appends one decoded character (one or two code units); false when the
  // character ends the line.
  bool DecodeInto(Text& line);

  ByteReader bytes_;
  TextEncoding encoding_;
};

class TextFileReader {
 public:
  // Null when the file cannot be opened. With `detect` the encoding comes
  // from the file's byte-order mark and `encoding` is ignored.
  static std::unique_ptr<TextStream> OpenTextFile(TextView path, bool detect,
                                                  int encoding);
  static TextEncoding DetectEncoding(TextView path);
};

// The next line of `stream`; drops a UTF-16 byte-order mark from the first.
Text ReadTextLine(TextStream& stream);

}  // namespace vt
