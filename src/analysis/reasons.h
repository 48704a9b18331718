// Why each suggested line is there, told so that a programmer can check it:
// the word or literal that called for the module, in which file and line.
#pragma once

#include "analysis/source_records.h"
#include "analysis/suggestion.h"

namespace vt {

// Gives every code box of `suggestion`, made from `analysis`, a reason per
// module and per optional module. Files are named relative to the main
// file's folder.
void ExplainSuggestion(const AnalysisState& analysis, Suggestion& suggestion);

}  // namespace vt
