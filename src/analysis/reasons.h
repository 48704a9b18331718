// Why each suggested line is there, told so that a programmer can check it:
// the word or literal that called for the module, in which file and line.
#pragma once

#include <memory>
#include <vector>

#include "analysis/source_records.h"
#include "analysis/suggestion.h"

namespace vt {

struct Examination;

// An explanation made before, and the records it was made from: a box whose
// record is the same object again, in a walk of the same files, with the
// same modules, has the same reasons, which are copied from `findings`
// instead of worked out again.
struct ExplainedBefore {
  const Examination& findings;
  const std::vector<std::shared_ptr<const sourcemodtype>>& records;
};

// Gives every code box of `suggestion`, made from `analysis`, a reason per
// module and per optional module. Files are named relative to the main
// file's folder.
void ExplainSuggestion(const AnalysisState& analysis, Suggestion& suggestion,
                       const ExplainedBefore* before = nullptr);

// Whether two boxes name the same unit and the same modules, in order, in
// and out of platform sections: their reasons aside, all a box's reasons
// depend on.
bool SameModules(const CodeBox& a, const CodeBox& b);

}  // namespace vt
