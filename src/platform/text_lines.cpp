#include "platform/text_lines.h"

#include <algorithm>

namespace vt {

namespace {

size_t UnitSize(TextEncoding encoding) {
  return encoding == TextEncoding::Utf16BE || encoding == TextEncoding::Utf16LE ? 2 : 1;
}

// The unit at byte `i` of a UTF-16 text (a missing last byte reads as 0).
char16_t Utf16Unit(TextEncoding encoding, std::string_view bytes, size_t i) {
  unsigned b1 = static_cast<unsigned char>(bytes[i]);
  unsigned b2 = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0;
  unsigned value = encoding == TextEncoding::Utf16BE ? b1 * 256 + b2 : b1 + b2 * 256;
  return static_cast<char16_t>(value);
}

char16_t UnitAt(TextEncoding encoding, std::string_view bytes, size_t i) {
  if (UnitSize(encoding) == 1) return static_cast<unsigned char>(bytes[i]);
  return Utf16Unit(encoding, bytes, i);
}

void AppendUnit(TextEncoding encoding, std::string& out, char16_t unit) {
  char high = static_cast<char>(unit >> 8);
  char low = static_cast<char>(unit & 0xFF);
  if (encoding == TextEncoding::Utf16BE) {
    out += high;
    out += low;
  } else {
    out += low;
    out += high;
  }
}

}  // namespace

TextLines SplitTextLines(std::string_view bytes) {
  TextLines text;
  size_t markLength = 0;
  text.encoding = EncodingOfMark(bytes, &markLength);
  text.byteOrderMark = std::string(bytes.substr(0, markLength));
  std::string_view body = bytes.substr(markLength);
  const size_t unit = UnitSize(text.encoding);
  size_t start = 0;
  for (size_t i = 0; i < body.size(); i += unit) {
    char16_t c = UnitAt(text.encoding, body, i);
    // A carriage return alone ends a line, as old Mac files end theirs.
    bool loneReturn = c == u'\r' && (i + 2 * unit > body.size() ||
                                      UnitAt(text.encoding, body, i + unit) != u'\n');
    if (c != u'\n' && !loneReturn) continue;
    size_t end = i;
    if (!loneReturn && end >= start + unit && UnitAt(text.encoding, body, end - unit) == u'\r') {
      end -= unit;
    }
    size_t next = std::min(i + unit, body.size());
    text.lines.push_back({std::string(body.substr(start, end - start)),
                          std::string(body.substr(end, next - end))});
    start = next;
  }
  if (start < body.size()) text.lines.push_back({std::string(body.substr(start)), ""});
  return text;
}

std::string JoinTextLines(const TextLines& text) {
  std::string out = text.byteOrderMark;
  for (const RawLine& line : text.lines) {
    out += line.content;
    out += line.ending;
  }
  return out;
}

Text DecodeLine(TextEncoding encoding, std::string_view content) {
  switch (encoding) {
    case TextEncoding::Utf8:
      return FromUtf8(content);
    case TextEncoding::Utf16BE:
    case TextEncoding::Utf16LE: {
      Text line;
      for (size_t i = 0; i < content.size(); i += 2) line += Utf16Unit(encoding, content, i);
      return line;
    }
    default:
      return FromLatin1(content);
  }
}

std::optional<std::string> EncodeText(TextEncoding encoding, TextView text) {
  std::string out;
  switch (encoding) {
    case TextEncoding::Utf8:
      return ToUtf8(text);
    case TextEncoding::Utf16BE:
    case TextEncoding::Utf16LE:
      for (char16_t unit : text) AppendUnit(encoding, out, unit);
      return out;
    default:
      for (char16_t unit : text) {
        if (unit > 0xFF) return std::nullopt;
        out += static_cast<char>(unit);
      }
      return out;
  }
}

std::string BytesFromUnit(TextEncoding encoding, std::string_view content, size_t unit) {
  size_t offset = std::min(unit * UnitSize(encoding), content.size());
  return std::string(content.substr(offset));
}

std::string MostCommonEnding(const TextLines& text, TextView fallback) {
  size_t crlf = 0;
  size_t lf = 0;
  std::string crlfBytes;
  std::string lfBytes;
  for (const RawLine& line : text.lines) {
    if (line.ending.empty()) continue;
    bool withReturn = line.ending.size() == 2 * UnitSize(text.encoding);
    (withReturn ? crlf : lf) += 1;
    (withReturn ? crlfBytes : lfBytes) = line.ending;
  }
  if (crlf == 0 && lf == 0) return EncodeText(text.encoding, fallback).value_or("\n");
  return crlf >= lf ? crlfBytes : lfBytes;
}

}  // namespace vt
