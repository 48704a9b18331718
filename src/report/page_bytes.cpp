#include "report/page_bytes.h"

namespace vt {

namespace {

void AppendReference(std::string& out, char32_t codePoint) {
  out += "&#";
  out += std::to_string(codePoint);
  out += ';';
}

// The bytes of `line`, as PageBytes gives them, with each apostrophe as
// `apostrophe`.
void AppendUnits(std::string& out, TextView line, char apostrophe) {
  for (size_t i = 0; i < line.size(); ++i) {
    // A run of units that stand for themselves, as nearly all do, in one step.
    size_t plain = i;
    while (plain < line.size() && line[plain] >= 0x20 && line[plain] < 256 &&
           line[plain] != u'\'') {
      ++plain;
    }
    if (plain > i) {
      AppendNarrowed(out, line.substr(i, plain - i));
      i = plain - 1;
      continue;
    }
    char32_t unit = line[i];
    if (unit == u'\'') {
      out += apostrophe;
      continue;
    }
    // Control characters are not allowed raw in a page; tab is ordinary
    // white space.
    if (unit < 0x20 && unit != u'\t') {
      AppendReference(out, unit);
      continue;
    }
    if (unit < 256) {
      out += static_cast<char>(unit);
      continue;
    }
    if (IsHighSurrogate(unit) && i + 1 < line.size() && IsLowSurrogate(line[i + 1])) {
      char32_t low = line[++i];
      AppendReference(out, CombineSurrogates(unit, low));
      continue;
    }
    bool lone = IsHighSurrogate(unit) || IsLowSurrogate(unit);
    AppendReference(out, lone ? 0xFFFD : unit);
  }
}

}  // namespace

Text DoubleQuoteAttributes(TextView line) {
  if (StartsWith(line, u"'")) return Text(line);
  return Replace(line, u"'", u"\"");
}

std::string PageBytes(TextView line) {
  std::string out;
  out.reserve(line.size());
  AppendUnits(out, line, '\'');
  return out;
}

void AppendPageLine(std::string& out, TextView line) {
  AppendUnits(out, line, StartsWith(line, u"'") ? '\'' : '"');
  out += "\r\n";
}

}  // namespace vt
