// An examination as the window runs it: while the program is scanned the
// report view is hidden and the label above it names the program.
#pragma once

#include "app/app_state.h"
#include "app/examine.h"

namespace vt {

// ExamineSource with a page and reasons, shown in the state's `desktop`
// window as it runs.
ExaminedSource ExamineInWindow(AppState& state, TextView path);

}  // namespace vt
