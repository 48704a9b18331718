// What veltrane-cli prints as plain text: the suggestion. The walk's warnings
// come with it (WarningLine), as the window shows them too.
#pragma once

#include <string>

#include "analysis/causes.h"
#include "analysis/suggestion.h"

namespace vt {

// For each framework block its title, then for each code box a blank line,
// its label and file name and the lines of its text area; a blank line
// between blocks. With `explain` a line whose reason is known carries it as
// a BlitzMax comment, so the lines stay ready to paste. UTF-8.
std::string SuggestionText(const Suggestion& suggestion, bool explain);

}  // namespace vt
