#include "base/text.h"

namespace vt {

namespace {

bool IsBlankUnit(char16_t c) { return c <= 32; }

// A..Z to a..z; a select rather than a branch, so that the compiler can do
// many units at once.
char16_t FoldUnit(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace

void AppendUtf16(Text& out, char32_t cp) {
  if (cp < 0x10000) {
    out += static_cast<char16_t>(cp);
    return;
  }
  cp -= 0x10000;
  out += static_cast<char16_t>(0xD800 + (cp >> 10));
  out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
}

Text Trim(TextView s) { return Text(TrimView(s)); }

TextView TrimView(TextView s) {
  size_t begin = 0;
  size_t end = s.size();
  while (begin < end && IsBlankUnit(s[begin])) ++begin;
  while (end > begin && IsBlankUnit(s[end - 1])) --end;
  return s.substr(begin, end - begin);
}

Text Lower(TextView s) {
  Text out;
  LowerInto(out, s);
  return out;
}

size_t FoldedHash(TextView text) {
  // FNV-1a over the folded units.
  uint64_t hash = 14695981039346656037ull;
  for (char16_t c : text) hash = (hash ^ FoldUnit(c)) * 1099511628211ull;
  return static_cast<size_t>(hash);
}

bool EqualFolded(TextView a, TextView b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (FoldUnit(a[i]) != FoldUnit(b[i])) return false;
  }
  return true;
}

bool HasCapitals(TextView s) {
  for (char16_t c : s) {
    if (FoldUnit(c) != c) return true;
  }
  return false;
}

bool EndsWith(TextView s, TextView suffix) {
  return s.size() >= suffix.size() &&
         s.substr(s.size() - suffix.size()) == suffix;
}

size_t Instr(TextView s, TextView needle, size_t from) {
  if (from < 1) from = 1;
  if (from - 1 > s.size()) return 0;
  size_t at = s.find(needle, from - 1);
  return at == TextView::npos ? 0 : at + 1;
}

Text Replace(TextView s, TextView from, TextView to) {
  if (from.empty()) return Text(s);
  Text out;
  size_t pos = 0;
  while (true) {
    size_t at = s.find(from, pos);
    if (at == TextView::npos) break;
    out.append(s.substr(pos, at - pos));
    out.append(to);
    pos = at + from.size();
  }
  out.append(s.substr(pos));
  return out;
}

Text ForwardSlashes(TextView s) { return Replace(s, u"\\", u"/"); }

Text Decimal(long long n) { return FromLatin1(std::to_string(n)); }

Text FromLatin1(std::string_view bytes) {
  Text out;
  out.reserve(bytes.size());
  for (char c : bytes) out += static_cast<char16_t>(static_cast<unsigned char>(c));
  return out;
}

Text FromUtf8(std::string_view in) {
  Text out;
  out.reserve(in.size());
  size_t i = 0;
  while (i < in.size()) {
    unsigned char b = static_cast<unsigned char>(in[i]);
    int extra = b < 0x80 ? 0 : b >= 0xF0 && b < 0xF5 ? 3 : b >= 0xE0 ? 2 : b >= 0xC2 && b < 0xE0 ? 1 : -1;
    if (extra < 0 || (b >= 0xF5)) {
      out += u'\uFFFD';
      ++i;
      continue;
    }
    char32_t cp = extra == 0 ? b : b & (0x3F >> extra);
    size_t j = 1;
    for (; j <= static_cast<size_t>(extra) && i + j < in.size(); ++j) {
      unsigned char c = static_cast<unsigned char>(in[i + j]);
      if ((c & 0xC0) != 0x80) break;
      cp = (cp << 6) | (c & 0x3F);
    }
    bool complete = j == static_cast<size_t>(extra) + 1;
    bool overlong = (extra == 2 && cp < 0x800) || (extra == 3 && cp < 0x10000);
    bool bad = !complete || overlong || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000);
    AppendUtf16(out, bad ? U'\uFFFD' : cp);
    i += j;
  }
  return out;
}

std::string ToUtf8(TextView s) {
  std::string out;
  out.reserve(s.size());
  AppendAsUtf8(out, s);
  return out;
}

void AppendAsUtf8(std::string& out, TextView s) {
  for (size_t i = 0; i < s.size(); ++i) {
    // A run of ASCII, as nearly all text is, in one step.
    size_t plain = i;
    while (plain < s.size() && s[plain] < 0x80) ++plain;
    if (plain > i) {
      AppendNarrowed(out, s.substr(i, plain - i));
      i = plain - 1;
      continue;
    }
    char32_t u = s[i];
    if (IsHighSurrogate(u) && i + 1 < s.size() && IsLowSurrogate(s[i + 1])) {
      u = CombineSurrogates(u, s[i + 1]);
      ++i;
    } else if (IsHighSurrogate(u) || IsLowSurrogate(u)) {
      u = 0xFFFD;
    }
    AppendUtf8(out, u);
  }
}

}  // namespace vt
