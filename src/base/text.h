// Text helpers shared by every subsystem.
//
// The tool's strings are sequences of 16-bit code units. Trimming, lower-casing
// and searching follow the tool's own rules (not the locale's), so they live
// here once and everything else calls them.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace vt {

using Text = std::u16string;
using TextView = std::u16string_view;

// Removes every code unit from 0 to 32 at both ends.
Text Trim(TextView s);
// The same, as a view into `s`, for callers that need no copy.
TextView TrimView(TextView s);

// Maps A..Z to a..z; every other unit stays.
Text Lower(TextView s);
// Lower(s) into `out`, whose room is reused: for loops over many lines and
// words. Inline and in one pass, since most words are a few units long.
inline void LowerInto(Text& out, TextView s) {
  out.resize(s.size());
  char16_t* to = out.data();
  for (size_t i = 0; i < s.size(); ++i) {
    char16_t c = s[i];
    to[i] = c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
  }
}
// A hash of Lower(text), without making the copy.
size_t FoldedHash(TextView text);
// A hash of `text` for the flat tables that every word of a program is
// looked up in: four units a step, inline, and mixed so that its low bits
// alone can place an entry.
inline size_t WordHash(TextView text) {
  constexpr uint64_t kOdd = 0x9E3779B97F4A7C15ull;
  uint64_t hash = text.size() * kOdd;
  const char16_t* at = text.data();
  size_t left = text.size();
  for (; left >= 4; left -= 4, at += 4) {
    uint64_t chunk;
    std::memcpy(&chunk, at, sizeof chunk);
    hash = (hash ^ chunk) * kOdd;
    hash ^= hash >> 29;
  }
  // Unit by unit: a copy of a varying size through memory would make the
  // load after it wait for the stores.
  uint64_t tail = 0;
  for (size_t k = 0; k < left; ++k) tail |= static_cast<uint64_t>(at[k]) << (16 * k);
  hash = (hash ^ tail) * kOdd;
  hash ^= hash >> 32;
  hash *= 0xD6E8FEB86659FD93ull;
  hash ^= hash >> 32;
  return static_cast<size_t>(hash);
}
// Whether Lower(a) == Lower(b), without making either copy.
bool EqualFolded(TextView a, TextView b);
// Whether `s` holds any of A..Z, that is, whether Lower would change it.
bool HasCapitals(TextView s);

// Appends `units`, every one below 256, as one byte each: the plain runs
// that the writers of pages and terminal text copy at once.
inline void AppendNarrowed(std::string& out, TextView units) {
  size_t used = out.size();
  out.resize(used + units.size());
  for (size_t i = 0; i < units.size(); ++i) out[used + i] = static_cast<char>(units[i]);
}

// Inline: the line classifiers ask it several times for every line read.
inline bool StartsWith(TextView s, TextView prefix) {
  return s.size() >= prefix.size() && s.substr(0, prefix.size()) == prefix;
}
bool EndsWith(TextView s, TextView suffix);

// 1-based position of the first `needle` at or after 1-based `from`, or 0.
size_t Instr(TextView s, TextView needle, size_t from = 1);

// Every occurrence of `from` replaced by `to`, left to right in one pass.
Text Replace(TextView s, TextView from, TextView to);

// Every backslash replaced by a forward slash.
Text ForwardSlashes(TextView s);

// Decimal digits of n, with a minus sign when negative.
Text Decimal(long long n);

// ASCII (or Latin-1) bytes to code units, one per byte.
Text FromLatin1(std::string_view bytes);

// UTF-16 surrogates: a pair stands for one code point above U+FFFF.
inline bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit < 0xDC00; }
inline bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit < 0xE000; }
inline char32_t CombineSurrogates(char32_t high, char32_t low) {
  return 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00);
}
// Appends `codePoint` as one unit, or as a surrogate pair above U+FFFF.
void AppendUtf16(Text& out, char32_t codePoint);

// UTF-8 to UTF-16 (surrogate pairs for code points above U+FFFF, U+FFFD for
// malformed input) and back (lone surrogates become U+FFFD).
Text FromUtf8(std::string_view utf8);
std::string ToUtf8(TextView s);
// The same, appended to `out`.
void AppendAsUtf8(std::string& out, TextView s);

}  // namespace vt
