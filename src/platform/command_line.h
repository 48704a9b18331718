// The arguments a program was started with, and the terminal it writes to;
// one implementation per system (command_line-posix.cpp, -win32.cpp).
#pragma once

#include <string>
#include <vector>

namespace vt {

// Every argument, the program's own name first, as the option parser takes
// them: FromNativeString turns each back into the tool's text. POSIX hands
// them over as bytes, kept as they are; on Windows the `argv` of main holds
// them in the ANSI code page, which loses every name outside it, so they
// are read again as UTF-16 and given in UTF-8.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

// Text written to standard output and error is UTF-8; a Windows console is
// told so, elsewhere terminals take it as it is.
void UseUtf8Terminal();

// A write past the file size limit ("ulimit -f") fails like any other write
// instead of ending the process at once, so that the writer can remove its
// temporary file and say what went wrong.
void FailWritesPastTheSizeLimit();

}  // namespace vt
