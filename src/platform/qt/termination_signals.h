// Ending the program by a signal (kill, Ctrl+C, a closed terminal) takes the
// same way out as the close box, so that a launched IDE ends with it.
#pragma once

#include <functional>

namespace vt {

// From now on SIGTERM, SIGINT and SIGHUP call `onSignal` from Qt's loop
// instead of killing the process. Does nothing where there are no such
// signals.
void WatchTerminationSignals(std::function<void()> onSignal);

}  // namespace vt
