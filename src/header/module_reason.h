// Why the suggestion wants a module in a unit, as a header check shows it
// beside a missing line and an editor shows it over a present one.
#pragma once

#include "analysis/suggestion.h"
#include "base/text.h"

namespace vt {

// The reason the explanation gives for `module` in the unit `unitPath`,
// taken from the first block that lists it there; empty when none does.
Reason ReasonFor(const Suggestion& suggestion, TextView unitPath, TextView module);

}  // namespace vt
