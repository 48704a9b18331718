#include "app/terminal_text.h"

#include <cstdio>

namespace vt {

namespace {

bool IsTerminalControl(char16_t unit) {
  if (unit == u'\t' || unit == u'\n') return false;
  return unit < 0x20 || (unit >= 0x7F && unit < 0xA0);
}

std::string Escape(char16_t unit) {
  char buffer[8];
  std::snprintf(buffer, sizeof(buffer), unit < 0x80 ? "\\x%02x" : "\\u%04x",
                static_cast<unsigned>(unit));
  return buffer;
}

}  // namespace

std::string TerminalText(TextView text) {
  std::string out;
  out.reserve(text.size());
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (!IsTerminalControl(text[i])) continue;
    out += ToUtf8(text.substr(start, i - start));
    out += Escape(text[i]);
    start = i + 1;
  }
  out += ToUtf8(text.substr(start));
  return out;
}

}  // namespace vt
