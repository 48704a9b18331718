// Why the suggestion wants a module in a unit, as a header check shows it
// beside a missing line and an editor shows it over a present one.
#pragma once

#include <unordered_map>
#include <vector>

#include "analysis/suggestion.h"
#include "base/text.h"

namespace vt {

// The reason the explanation gives for `module` in the unit `unitPath`,
// taken from the first block that lists it there; empty when none does.
Reason ReasonFor(const Suggestion& suggestion, TextView unitPath, TextView module);

// The same for many questions about one suggestion: each unit's modules
// are indexed once, so that a program of many units with many missing lines
// is not searched whole for each. `suggestion` must outlive it.
class ReasonFinder {
 public:
  explicit ReasonFinder(const Suggestion& suggestion);
  Reason For(TextView unitPath, TextView module) const;

 private:
  // The unit's path, a NUL, the module lower-cased: the first reason the
  // blocks give in their order.
  std::unordered_map<Text, const Reason*> reasons_;
};

}  // namespace vt
