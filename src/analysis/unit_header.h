// What one unit's header should be, given its code box of the chosen
// framework block, and how the header it has now differs from that.
#pragma once

#include <optional>
#include <vector>

#include "analysis/present_header.h"
#include "analysis/rule_book.h"
#include "analysis/suggestion.h"

namespace vt {

enum class HeaderDifferenceKind {
  Missing,      // the box needs the module; the header lacks it
  Unneeded,     // the header names the module; the box neither needs nor offers it
  NoFramework,  // a main file without a Framework line
  // Not a difference but a note: the header names a module the
  // installation lacks, and its line is kept.
  NotInstalled,
};

struct HeaderDifference {
  HeaderDifferenceKind kind = HeaderDifferenceKind::Missing;
  bool framework = false;  // about the Framework line rather than an Import line
  Text module;
  size_t line = 1;  // 1-based
  // The platform condition of a guarded import ("Win32"); empty otherwise.
  Text condition = {};
};

// The differences in the order the file reads: the Framework line first,
// then the missing imports, then the unneeded ones by line. Names compare
// without regard to case; order and comments do not count. A "may be
// required" module that the header imports is fine, and so is any
// Framework line of a main file that needs no module.
//
// Some lines are kept as written, never reported nor removed: an Import
// line marked kKeepMarker, a line of a module not installed here, and a
// line naming a member of one of `families` when the box wants another
// member of that family (the box's member is then not wanted). A kept
// Framework line stays the Framework line, and the module the box wants
// there becomes an Import line.
std::vector<HeaderDifference> CompareHeader(const CodeBox& box, const PresentHeader& present,
                                            const ModuleFamilies& families = {});

// A NotInstalled note for each header line of a module not installed here,
// in file order.
std::vector<HeaderDifference> UninstalledNotes(const PresentHeader& present);

// One line of the wanted header. A line that names a module the header has
// now keeps that line's trailing comment: its units from `keepFromUnit` on.
struct WantedLine {
  Text text;
  std::optional<size_t> keepFromLine;
  size_t keepFromUnit = 0;
};

// The lines that replace the header: the Framework line, the Import lines,
// then the "may be required" modules as comments, as the code box shows
// them without its extra statements. A "may be required" module that the
// header imports stays imported, after the required ones; the lines
// CompareHeader keeps stay as written.
std::vector<WantedLine> WantedHeader(const CodeBox& box, const PresentHeader& present,
                                     const ModuleFamilies& families = {});

}  // namespace vt
