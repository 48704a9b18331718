// Line-by-line reading of text files in the encoding that their byte-order
// mark announces. Every text file the tool reads goes through here.
#pragma once

#include <memory>
#include <vector>

#include "base/text.h"
#include "platform/file_system.h"

namespace vt {

enum class TextEncoding { Latin1 = 1, Utf8 = 2, Utf16BE = 3, Utf16LE = 4 };

class TextStream {
 public:
  TextStream(TextEncoding encoding) : encoding_(encoding) {}

  bool Open(TextView path) { return bytes_.Open(path); }
  bool OutOfHandles() const { return bytes_.OutOfHandles(); }
  bool AtEnd() { return bytes_.AtEnd(); }
  int64_t Position() const { return bytes_.Position(); }
  TextEncoding Encoding() const { return encoding_; }
  void Close() { bytes_.Close(); }

  // Reads up to the next line feed or character 0, dropping carriage returns.
  Text ReadLine();

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

enum class ReadOutcome {
  Read,
  NotOpened,     // missing, a folder, or not readable
  OutOfHandles,  // exists, but no file handle was left to open it
};

// Every line of a text file (encoding from its byte-order mark), read at
// once so that the file is closed before its lines are used.
struct TextFileLines {
  ReadOutcome outcome = ReadOutcome::NotOpened;
  std::vector<Text> lines;
};
TextFileLines ReadTextFileLines(TextView path);

}  // namespace vt
