// --check, --diff and --write as veltrane-cli runs them: the examination,
// the refusal to edit on an incomplete picture, the header job, and the
// page only when one is asked for.
#pragma once

#include <unordered_set>

#include "app/app_state.h"
#include "app/examine.h"
#include "base/text.h"
#include "cli/options.h"

namespace vt {

// The files whose headers a run has looked at already: a file that several
// main files import is checked, shown or written once.
using HandledFiles = std::unordered_set<Text>;

// Runs the header mode of `options` on `examination`, the one of its
// source; returns the exit code.
int RunHeaderModes(AppState& state, const Options& options, const Text& startFolder,
                   const ExaminedSource& examination, HandledFiles& handled);

}  // namespace vt
