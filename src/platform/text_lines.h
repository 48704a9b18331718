// A text file as lines that keep their exact bytes, for editing a few lines
// of a user's source without touching the rest: every line keeps its own
// ending (CRLF, LF, or none on the last line) and the file keeps its
// encoding and byte-order mark. Lines are decoded only to be recognised.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/text.h"
#include "platform/text_file_reader.h"

namespace vt {

struct RawLine {
  std::string content;  // the line's bytes without its ending
  std::string ending;   // "\r\n" or "\n" in the file's encoding, or empty
};

struct TextLines {
  TextEncoding encoding = TextEncoding::Latin1;
  std::string byteOrderMark;  // kept in front of the first line
  std::vector<RawLine> lines;
};

// Splits `bytes` into lines. The encoding comes from the byte-order mark, as
// the line reader takes it: without one the file is Latin-1. A line ends at
// a line feed, a carriage return right before it belonging to the ending, or
// at a carriage return alone.
TextLines SplitTextLines(std::string_view bytes);

// The bytes of the file again: the mark, then every line and its ending.
std::string JoinTextLines(const TextLines& text);

// A line's text in 16-bit units, one unit per Latin-1 byte or UTF-16 unit,
// UTF-8 decoded; carriage returns inside the line are kept.
Text DecodeLine(TextEncoding encoding, std::string_view content);

// `text` in `encoding`; nothing when the encoding cannot hold one of its
// characters (Latin-1 holds units up to 255 only).
std::optional<std::string> EncodeText(TextEncoding encoding, TextView text);

// The bytes of a line from its `unit`-th unit on, where every unit before it
// is ASCII (as the keyword and name of a header line are).
std::string BytesFromUnit(TextEncoding encoding, std::string_view content, size_t unit);

// The ending most of the lines have; `fallback` (plain text) encoded when no
// line has one.
std::string MostCommonEnding(const TextLines& text, TextView fallback);

}  // namespace vt
