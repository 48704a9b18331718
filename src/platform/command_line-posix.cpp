// Arguments on POSIX systems are UTF-8 bytes.
#include "platform/command_line.h"

namespace vt {

std::vector<Text> CommandLineArguments(int argc, char** argv) {
  std::vector<Text> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(FromUtf8(argv[i]));
  return arguments;
}

void UseUtf8Terminal() {}

}  // namespace vt
