// Why the suggestion wants a module in a unit, as a header check shows it
// beside a missing line and an editor shows it over a present one.
#pragma once

#include <unordered_map>
#include <vector>

#include "analysis/suggestion.h"
#include "base/text.h"
#include "header/header_plan.h"

namespace vt {

// The reason the explanation gives for `module` in the unit `unitPath`,
// taken from the first block that lists it there; empty when none does.
Reason ReasonFor(const Suggestion& suggestion, TextView unitPath, TextView module);

// The same for many questions about one suggestion: a unit's modules are
// indexed when it is asked about, so that a program of many units with many
// missing lines is not searched whole for each. Only the unit asked about
// last keeps its index: the questions come unit by unit, and the index of a
// large program's every unit would cost as much as its reasons.
// `suggestion` must outlive it.
class ReasonFinder {
 public:
  explicit ReasonFinder(const Suggestion& suggestion);
  Reason For(TextView unitPath, TextView module) const;

 private:
  struct Unit {
    // In the order of the blocks.
    std::vector<const CodeBox*> boxes;
    // The module lower-cased to the first reason the boxes give; made on
    // the first question.
    mutable std::unordered_map<Text, const Reason*> reasons;
    mutable bool indexed = false;
  };
  std::unordered_map<Text, Unit> units_;
  mutable const Unit* indexed_ = nullptr;
};

// A job's reasons, answered by a finder the function owns; `suggestion`
// must outlive the job.
ModuleReasons ReasonsOf(const Suggestion& suggestion);

}  // namespace vt
