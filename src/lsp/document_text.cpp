#include "lsp/document_text.h"

#include <algorithm>

namespace vt::lsp {

size_t OffsetOf(TextView text, TextPosition position) {
  size_t offset = 0;
  for (size_t line = 0; line < position.line; ++line) {
    while (offset < text.size() && text[offset] != u'\n' && text[offset] != u'\r') ++offset;
    if (offset == text.size()) return offset;
    if (text[offset] == u'\r' && offset + 1 < text.size() && text[offset + 1] == u'\n') ++offset;
    ++offset;
  }
  size_t lineEnd = offset;
  while (lineEnd < text.size() && text[lineEnd] != u'\n' && text[lineEnd] != u'\r') ++lineEnd;
  // Compared as a length: a character near the largest number must not wrap.
  return offset + std::min(position.character, lineEnd - offset);
}

void ApplyChange(Text& text, const std::optional<TextRange>& range, TextView replacement) {
  if (!range) {
    text.assign(replacement);
    return;
  }
  size_t start = OffsetOf(text, range->start);
  size_t end = OffsetOf(text, range->end);
  if (end < start) std::swap(start, end);
  text.replace(start, end - start, replacement);
}

TextPosition EndOf(TextView text) {
  TextPosition position;
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t unit = text[i];
    if (unit != u'\n' && unit != u'\r') {
      ++position.character;
      continue;
    }
    if (unit == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    ++position.line;
    position.character = 0;
  }
  return position;
}

std::string DocumentBytes(TextView text) {
  bool narrow = std::all_of(text.begin(), text.end(), [](char16_t unit) { return unit < 256; });
  if (!narrow) return "\xEF\xBB\xBF" + ToUtf8(text);
  std::string bytes;
  AppendNarrowed(bytes, text);
  return bytes;
}

}  // namespace vt::lsp
