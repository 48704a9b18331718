// Text for a terminal: names and data from files must not drive it.
#pragma once

#include <string>

#include "base/text.h"

namespace vt {

// UTF-8 with every control character but tab written as an escape (\x1b,
// \x0a, \u0085), so that a name holding ESC cannot retitle or recolour the
// terminal, nor one holding a line feed pass for two lines of output. A
// name's bytes that are not UTF-8 show as U+FFFD.
std::string TerminalText(TextView text);
// The same, appended to `out`.
void AppendTerminalText(std::string& out, TextView text);
// The same for a message of several lines: its line feeds stay.
std::string TerminalMessage(TextView text);

}  // namespace vt
