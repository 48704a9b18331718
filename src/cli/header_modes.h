// --check, --diff and --write as veltrane-cli runs them: the examination,
// the refusal to edit on an incomplete picture, the header job, and the
// page only when one is asked for.
#pragma once

#include "app/app_state.h"
#include "base/text.h"
#include "cli/options.h"

namespace vt {

// Runs the header mode of `options` on its source; returns the exit code.
int RunHeaderModes(AppState& state, const Options& options, const Text& startFolder);

}  // namespace vt
