// Starts the built veltrane-cli in a folder, as a user would, and collects
// what it says: the one runner of the command-line tests.
#pragma once

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

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
  unsigned long openFiles = 0;
  // No file written past this many bytes, as under "ulimit -f" (0: no limit).
  unsigned long fileSize = 0;
};

// A file or folder under the project's examples/ folder.
inline std::string ExamplePath(const char16_t* relative) {
  return ToUtf8(testing::SourceFolder() + u"/examples/" + relative);
}

// A HOME of its own, so that no rules file of the one running the tests counts.
inline Setting OwnHome(const testing::TempFolder& home) {
  Setting setting;
  setting.home = home.Path();
  return setting;
}

#if defined(_WIN32)

// One argument as the C runtime's parser reads it back: quoted, with the
// backslashes before a quote (or before the closing quote) doubled.
inline std::wstring QuoteArgument(const std::wstring& arg) {
  std::wstring quoted = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    size_t repeat = c == L'"' ? backslashes * 2 + 1 : backslashes;
    quoted.append(repeat, L'\\');
    quoted += c;
    backslashes = 0;
  }
  quoted.append(backslashes * 2, L'\\');
  return quoted + L"\"";
}

inline std::wstring Wide(TextView text) { return std::wstring(text.begin(), text.end()); }

inline HANDLE CreateCaptureFile(const Text& path) {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  return CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                     &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Console text on Windows ends its lines with CR LF; the checks are written
// with LF alone, so every line end must be a CR LF.
inline std::string UnixLineEnds(const std::string& text) {
  std::string result;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    if (text[i] == '\n') {
      EXPECT_TRUE(i > 0 && text[i - 1] == '\r') << "bare LF in: " << text;
    }
    result += text[i];
  }
  return result;
}

// Starts the .exe itself, as a Windows shell would, with UTF-16 arguments.
// The user's data folder is APPDATA there, which stands for the HOME given.
// The settings that only POSIX has (a removed starting folder, no HOME, an
// unprivileged user, a limit of open files) are for tests that skip here.
inline RunResult RunCli(const std::vector<std::string>& args, const Text& folder,
                        const Setting& setting = {}) {
  RunResult result;
  if (setting.folderRemoved || setting.homeUnset || setting.unprivileged || setting.openFiles ||
      setting.fileSize ||
      !setting.stdoutPath.empty()) {
    ADD_FAILURE() << "a setting that only POSIX has";
    return result;
  }
  testing::TempFolder capture;
  std::wstring commandLine = QuoteArgument(Wide(FromUtf8(setting.program)));
  for (const std::string& a : args) commandLine += L" " + QuoteArgument(Wide(FromUtf8(a)));

  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = INVALID_HANDLE_VALUE;
  startup.hStdOutput = CreateCaptureFile(capture / u"out");
  startup.hStdError = setting.merged ? startup.hStdOutput : CreateCaptureFile(capture / u"err");
  wchar_t savedAppData[32768];
  DWORD savedLength = GetEnvironmentVariableW(L"APPDATA", savedAppData, 32768);
  if (!setting.home.empty()) SetEnvironmentVariableW(L"APPDATA", Wide(setting.home).c_str());
  PROCESS_INFORMATION info{};
  // Wine now and then fails a start with an internal error, which the same
  // start a moment later does not meet.
  BOOL started = FALSE;
  DWORD startError = 0;
  for (int attempt = 0; attempt < 5 && !started; ++attempt) {
    if (attempt > 0) Sleep(200);
    started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                             Wide(folder).c_str(), &startup, &info);
    startError = started ? 0 : GetLastError();
    if (startError != ERROR_INTERNAL_ERROR) break;
  }
  if (!setting.home.empty()) {
    SetEnvironmentVariableW(L"APPDATA", savedLength ? savedAppData : nullptr);
  }
  CloseHandle(startup.hStdOutput);
  if (!setting.merged) CloseHandle(startup.hStdError);
  if (!started) {
    ADD_FAILURE() << "cannot start " << setting.program << ": error " << startError;
    return result;
  }
  // A command that hangs ends here instead of stalling the tests.
  if (WaitForSingleObject(info.hProcess, 60000) != WAIT_OBJECT_0) {
    TerminateProcess(info.hProcess, 1);
    WaitForSingleObject(info.hProcess, INFINITE);
  }
  DWORD code = 0;
  GetExitCodeProcess(info.hProcess, &code);
  CloseHandle(info.hProcess);
  CloseHandle(info.hThread);
  result.exitCode = static_cast<int>(code);
  result.out = UnixLineEnds(testing::ReadFileBytes(capture / u"out"));
  if (!setting.merged) result.err = UnixLineEnds(testing::ReadFileBytes(capture / u"err"));
  return result;
}

#else

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
  rlimit size{setting.fileSize, setting.fileSize};
  if (setting.fileSize && setrlimit(RLIMIT_FSIZE, &size) != 0) return false;
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

#endif

inline bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

}  // namespace vt
