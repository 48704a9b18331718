// The header a source unit has now: its Framework line and its module Import
// lines, found outside Rem blocks and conditional sections, and the comment
// lines that list the modules which may be required, as the suggestion
// writes them. Knowing those lines is what lets the header be checked and
// replaced without touching anything else in the file.
#pragma once

#include <vector>

#include "base/text.h"

namespace vt {

enum class HeaderLineKind { Framework, Import, SuggestionComment, SectionStart, SectionEnd };

struct HeaderLine {
  size_t index = 0;  // 0-based line of the file
  HeaderLineKind kind = HeaderLineKind::Import;
  Text module;  // as written; empty for a suggestion comment
  // For Framework and Import lines: the unit just after the module name, and
  // whether a comment follows there (it is kept when the line is rewritten).
  size_t afterName = 0;
  bool trailingComment = false;
  // For an Import inside a platform section and for the line that opens
  // one: the condition as written ("Win32"); empty elsewhere.
  Text condition;
  // An Import line whose comment says kKeepMarker: the user wants it, so it
  // is never removed or reported.
  bool keep = false;
  // A Framework or Import line of a module the installation lacks: nothing
  // here can judge it, so it is kept like a marked line, and noted.
  bool notInstalled = false;
};

// The comment that keeps an Import line whatever the suggestion says.
inline constexpr char16_t kKeepMarker[] = u"veltrane: keep";

struct PresentHeader {
  std::vector<HeaderLine> lines;  // in file order
  // Imports inside platform sections that hold more than imports: they
  // count as present, but those sections are the user's and stay as they
  // are.
  std::vector<HeaderLine> keptImports;
  // Where the new header goes: the first header line, or else after the
  // Strict/SuperStrict line at the top, or else after the comment that opens
  // the file.
  size_t insertAt = 0;

  bool Empty() const { return lines.empty(); }
  // The first Framework line, or null.
  const HeaderLine* FrameworkLine() const;
  // 1-based line of the first Framework or Import line, or else of the line
  // where a new header goes.
  size_t FirstModuleLine() const;
};

// Whether imports inside "?condition ... ?" platform sections are part of
// the header (the modern rules) or code the header leaves alone.
enum class SectionImports { Ignore, Read };

// Reads the header of a file given as its decoded lines (without the
// byte-order mark). With SectionImports::Read, a section that holds nothing
// but module imports and blank lines belongs to the header, its "?" lines
// included; the imports of any other section are kept imports.
PresentHeader ReadPresentHeader(const std::vector<Text>& lines,
                                SectionImports sections = SectionImports::Ignore);

// A condition as a key: "Not  Win32" and "not win32" are one.
Text ConditionKey(TextView condition);

// The comment line that opens the list of modules which may be required.
inline constexpr char16_t kMayBeRequiredLine[] = u"' modules which may be required:";

}  // namespace vt
