// --check, --diff and --write as veltrane-cli runs them: the examination,
// the refusal to edit on an incomplete picture, the header job, and the
// page only when one is asked for.
#pragma once

#include <unordered_set>
#include <vector>

#include "app/app_state.h"
#include "app/examine.h"
#include "base/text.h"
#include "cli/options.h"
#include "header/header_plan.h"

namespace vt {

// The files whose headers a run has looked at already: a file that several
// main files import is checked, shown or written once.
using HandledFiles = std::unordered_set<Text>;

// What a run over several main files prints once, at its end: with --format
// json, one document for all of them.
struct RunOutput {
  std::vector<HeaderPlan> jsonPlans;
};

// Runs the header mode of `options` on `examination`, the one of its
// source; returns the exit code. A JSON document is left in `output`.
int RunHeaderModes(AppState& state, const Options& options, const Text& startFolder,
                   const ExaminedSource& examination, HandledFiles& handled, RunOutput& output);

// Prints what `output` gathered; returns the exit code of standard output.
int PrintRunOutput(const RunOutput& output, const Options& options, RuleSetKind ruleSet);

}  // namespace vt
