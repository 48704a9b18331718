#include "base/terminal_text.h"

#include <cstdio>

namespace vt {

namespace {

bool IsTerminalControl(char16_t unit, bool keepLineFeeds) {
  if (unit == u'\t' || (keepLineFeeds && unit == u'\n')) return false;
  return unit < 0x20 || (unit >= 0x7F && unit < 0xA0);
}

void AppendEscape(std::string& out, char16_t unit) {
  char buffer[8];
  std::snprintf(buffer, sizeof(buffer), unit < 0x80 ? "\\x%02x" : "\\u%04x",
                static_cast<unsigned>(unit));
  out += buffer;
}

void AppendEscaped(std::string& out, TextView text, bool keepLineFeeds) {
  // Printable ASCII, as nearly every name and line is, goes out as it is.
  size_t plain = 0;
  while (plain < text.size() && text[plain] >= 0x20 && text[plain] < 0x7F) ++plain;
  AppendNarrowed(out, text.substr(0, plain));
  if (plain == text.size()) return;
  text = text.substr(plain);
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (!IsTerminalControl(text[i], keepLineFeeds)) continue;
    AppendAsUtf8(out, text.substr(start, i - start));
    AppendEscape(out, text[i]);
    start = i + 1;
  }
  AppendAsUtf8(out, text.substr(start));
}

}  // namespace

std::string TerminalText(TextView text) {
  std::string out;
  out.reserve(text.size());
  AppendTerminalText(out, text);
  return out;
}

void AppendTerminalText(std::string& out, TextView text) { AppendEscaped(out, text, false); }

std::string TerminalMessage(TextView text) {
  std::string out;
  AppendEscaped(out, text, true);
  return out;
}

}  // namespace vt
