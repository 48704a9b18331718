#include "report/page_bytes.h"

namespace vt {

namespace {

void AppendReference(std::string& out, char32_t codePoint) {
  out += "&#";
  out += std::to_string(codePoint);
  out += ';';
}

}  // namespace

Text DoubleQuoteAttributes(TextView line) {
  if (StartsWith(line, u"'")) return Text(line);
  return Replace(line, u"'", u"\"");
}

std::string PageBytes(TextView line) {
  std::string out;
  out.reserve(line.size());
  for (size_t i = 0; i < line.size(); ++i) {
    char32_t unit = line[i];
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
  return out;
}

}  // namespace vt
