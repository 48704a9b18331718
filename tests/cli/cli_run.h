// Starts the built veltrane-cli in a folder and collects what it says.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace vt {

struct RunResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

inline RunResult RunCli(const std::vector<std::string>& args, const Text& folder) {
  testing::TempFolder capture;
  std::string outPath = ToUtf8(capture / u"out");
  std::string errPath = ToUtf8(capture / u"err");
  pid_t pid = fork();
  if (pid == 0) {
    if (chdir(ToUtf8(folder).c_str()) != 0) _exit(127);
    if (!freopen(outPath.c_str(), "w", stdout) || !freopen(errPath.c_str(), "w", stderr)) {
      _exit(127);
    }
    std::vector<char*> argv;
    std::string program = VELTRANE_CLI_PATH;
    argv.push_back(program.data());
    std::vector<std::string> copies = args;
    for (std::string& a : copies) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  RunResult result;
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.out = testing::ReadFileBytes(capture / u"out");
  result.err = testing::ReadFileBytes(capture / u"err");
  return result;
}

}  // namespace vt
