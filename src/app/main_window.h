// The parts of the main window that the tool's logic drives.
#pragma once

#include "app/app_state.h"

namespace vt {

// Writes the catalogue's size, the root folder once it holds "mod" and the
// program examined last into the status line, where there is one.
// A `note` follows them.
void UpdateStatusLine(AppState& state, TextView note = {});

}  // namespace vt
