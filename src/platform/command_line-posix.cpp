// Arguments on POSIX systems are bytes, UTF-8 by convention but not by force.
#include "platform/command_line.h"

#include <signal.h>

namespace vt {

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
  return std::vector<std::string>(argv, argv + argc);
}

void UseUtf8Terminal() {}

void FailWritesPastTheSizeLimit() { signal(SIGXFSZ, SIG_IGN); }

}  // namespace vt
