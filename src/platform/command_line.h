// The arguments a program was started with, and the terminal it writes to;
// one implementation per system (command_line-posix.cpp, -win32.cpp).
#pragma once

#include <vector>

#include "base/text.h"

namespace vt {

// The arguments after the program's own name. POSIX hands them over as
// UTF-8 bytes; on Windows the `argv` of main holds them in the ANSI code
// page, which loses every name outside it, so they are read again as UTF-16.
std::vector<Text> CommandLineArguments(int argc, char** argv);

// Text written to standard output and error is UTF-8; a Windows console is
// told so, elsewhere terminals take it as it is.
void UseUtf8Terminal();

}  // namespace vt
