// Arguments on Windows are UTF-16, like the tool's own text.
#include "platform/command_line.h"

#include <windows.h>

#include <shellapi.h>

#include <string_view>

#include "base/text.h"

namespace vt {

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
  int count = 0;
  LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
  // Without the wide form the ANSI one is still better than nothing.
  if (!words) return std::vector<std::string>(argv, argv + argc);
  std::vector<std::string> arguments;
  for (int i = 0; i < count; ++i) {
    std::wstring_view word(words[i]);
    arguments.push_back(ToUtf8(Text(word.begin(), word.end())));
  }
  LocalFree(words);
  return arguments;
}

void UseUtf8Terminal() {
  SetConsoleOutputCP(CP_UTF8);
}

// Windows has no file size signal.
void FailWritesPastTheSizeLimit() {}

}  // namespace vt
