// Arguments on Windows are UTF-16, like the tool's own text.
#include "platform/command_line.h"

#include <windows.h>

#include <shellapi.h>

namespace vt {

std::vector<Text> CommandLineArguments(int, char**) {
  std::vector<Text> arguments;
  int count = 0;
  LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!words) return arguments;
  for (int i = 1; i < count; ++i) {
    std::wstring_view word(words[i]);
    arguments.emplace_back(word.begin(), word.end());
  }
  LocalFree(words);
  return arguments;
}

void UseUtf8Terminal() { SetConsoleOutputCP(CP_UTF8); }

}  // namespace vt
