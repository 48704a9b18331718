// Text for a terminal: names and data from files must not drive it.
#pragma once

#include <string>

#include "base/text.h"

namespace vt {

// UTF-8 with every control character but tab and line feed written as an
// escape (\x1b, \u0085), so that a name holding ESC cannot retitle or
// recolour the terminal. A name's bytes that are not UTF-8 show as U+FFFD.
std::string TerminalText(TextView text);
// The same, appended to `out`.
void AppendTerminalText(std::string& out, TextView text);

}  // namespace vt
