// Starts the built veltrane-cli in a folder, as a user would, and collects
// what it says: the one runner of the command-line tests.
#pragma once

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace vt {

struct RunResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// How the command is started, apart from its arguments.
struct Setting {
  // Standard output goes here instead of a file the test reads.
  std::string stdoutPath;
  // Standard error goes where standard output goes, as with 2>&1.
  bool merged = false;
  // The starting folder is removed before the command starts.
  bool folderRemoved = false;
  bool homeUnset = false;
  // Started as an unprivileged user when the test runs as root.
  bool unprivileged = false;
  // The program to start, and a HOME of its own (with no XDG_DATA_HOME).
  std::string program = VELTRANE_CLI_PATH;
  Text home;
  // At most this many files open at once, as under "ulimit -n" (0: no limit).
  rlim_t openFiles = 0;
};

// Lowers this process's limit of open files to `limit`.
inline bool LimitOpenFiles(rlim_t limit) {
  rlimit lowered{limit, limit};
  return setrlimit(RLIMIT_NOFILE, &lowered) == 0;
}

// Runs in the child, before the program starts; false when it cannot be set up.
inline bool PrepareChild(const Text& folder, const Setting& setting, const std::string& outPath,
                         const std::string& errPath) {
  // A command that hangs ends here instead of stalling the tests.
  alarm(60);
  if (chdir(ToUtf8(folder).c_str()) != 0) return false;
  if (setting.folderRemoved && rmdir(ToUtf8(folder).c_str()) != 0) return false;
  if (setting.homeUnset) unsetenv("HOME");
  if (!setting.home.empty()) {
    setenv("HOME", ToUtf8(setting.home).c_str(), 1);
    unsetenv("XDG_DATA_HOME");
  }
  if (!freopen(outPath.c_str(), "w", stdout)) return false;
  if (setting.merged ? dup2(fileno(stdout), fileno(stderr)) < 0
                     : !freopen(errPath.c_str(), "w", stderr)) {
    return false;
  }
  if (setting.unprivileged && geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
    return false;
  }
  return !setting.openFiles || LimitOpenFiles(setting.openFiles);
}

inline RunResult RunCli(const std::vector<std::string>& args, const Text& folder,
                        const Setting& setting = {}) {
  testing::TempFolder capture;
  std::string outPath = setting.stdoutPath.empty() ? ToUtf8(capture / u"out") : setting.stdoutPath;
  std::string errPath = ToUtf8(capture / u"err");
  pid_t pid = fork();
  if (pid == 0) {
    if (!PrepareChild(folder, setting, outPath, errPath)) _exit(127);
    std::string program = setting.program;
    std::vector<char*> argv;
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
  if (setting.stdoutPath.empty()) result.out = testing::ReadFileBytes(capture / u"out");
  if (!setting.merged) result.err = testing::ReadFileBytes(capture / u"err");
  return result;
}

inline bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

}  // namespace vt
