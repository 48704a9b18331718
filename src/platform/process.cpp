#include "platform/process.h"

#include <chrono>
#include <thread>

#if defined(_WIN32)
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>
extern char** environ;
#endif

namespace vt {

#if defined(_WIN32)

namespace {

// A job holds the program and every process it starts, so that ending the
// job ends them together.
class WindowsProcess : public DetachedProcess {
 public:
  WindowsProcess(HANDLE process, HANDLE job) : process_(process), job_(job) {}
  ~WindowsProcess() override {
    if (job_) CloseHandle(job_);
    CloseHandle(process_);
  }

  bool IsRunning() override { return WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

  void Terminate() override {
    if (!IsRunning()) return;
    const UINT exitCode = static_cast<UINT>(-1);
    if (!job_ || !TerminateJobObject(job_, exitCode))
      TerminateProcess(process_, exitCode);
    WaitForSingleObject(process_, 5000);
  }

 private:
  HANDLE process_;
  HANDLE job_;
};

HANDLE OpenNullDevice(DWORD access) {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  return CreateFileW(L"NUL", access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

std::unique_ptr<DetachedProcess> DetachedProcess::Start(TextView commandLine) {
  if (commandLine.empty()) return nullptr;
  std::wstring path(commandLine.begin(), commandLine.end());
  std::wstring line = path;  // CreateProcessW may write into its command line

  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = OpenNullDevice(GENERIC_READ);
  startup.hStdOutput = OpenNullDevice(GENERIC_WRITE);
  startup.hStdError = OpenNullDevice(GENERIC_WRITE);

  // Naming the program apart from its command line keeps a path with blanks
  // from being split at the first blank.
  PROCESS_INFORMATION info{};
  BOOL started =
      CreateProcessW(path.c_str(), line.data(), nullptr, nullptr, TRUE,
                     CREATE_NEW_PROCESS_GROUP | DETACHED_PROCESS | CREATE_SUSPENDED,
                     nullptr, nullptr, &startup, &info);
  for (HANDLE h : {startup.hStdInput, startup.hStdOutput, startup.hStdError}) {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
  if (!started) return nullptr;

  HANDLE job = CreateJobObjectW(nullptr, nullptr);
  if (job && !AssignProcessToJobObject(job, info.hProcess)) {
    CloseHandle(job);
    job = nullptr;
  }
  ResumeThread(info.hThread);
  CloseHandle(info.hThread);
  return std::make_unique<WindowsProcess>(info.hProcess, job);
}

#else

namespace {

class PosixProcess : public DetachedProcess {
 public:
  explicit PosixProcess(pid_t pid) : pid_(pid) {}
  // Collects the exit status of a program that has ended meanwhile.
  ~PosixProcess() override { IsRunning(); }

  bool IsRunning() override {
    if (ended_) return false;
    pid_t result;
    do {
      result = waitpid(pid_, nullptr, WNOHANG);
    } while (result < 0 && errno == EINTR);
    if (result == 0) return true;
    ended_ = true;
    return false;
  }

  // The program leads its own group, which holds the processes it started
  // (unless they made groups of their own). While it is unreaped its id
  // cannot be reused, so the signal cannot reach strangers.
  void Terminate() override {
    if (!IsRunning()) return;
    kill(-pid_, SIGKILL);
    while (waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
    }
    ended_ = true;
  }

 private:
  pid_t pid_;
  bool ended_ = false;
};

struct SpawnSettings {
  SpawnSettings() {
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
  }
  ~SpawnSettings() {
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
  }
  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
};

}  // namespace

std::unique_ptr<DetachedProcess> DetachedProcess::Start(TextView commandLine) {
  if (commandLine.empty()) return nullptr;
  std::string path = ToUtf8(commandLine);

  SpawnSettings spawn;
  posix_spawn_file_actions_addopen(&spawn.actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&spawn.actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&spawn.actions, 2, "/dev/null", O_WRONLY, 0);

  sigset_t noSignals;
  sigemptyset(&noSignals);
  posix_spawnattr_setsigmask(&spawn.attributes, &noSignals);
  short flags = POSIX_SPAWN_SETSIGMASK;
#if defined(POSIX_SPAWN_SETSID)
  // A session of its own: detached from the terminal, leader of its group.
  flags |= POSIX_SPAWN_SETSID;
#else
  flags |= POSIX_SPAWN_SETPGROUP;
  posix_spawnattr_setpgroup(&spawn.attributes, 0);
#endif
  posix_spawnattr_setflags(&spawn.attributes, flags);

  char* argv[] = {path.data(), nullptr};
  pid_t pid = 0;
  if (posix_spawn(&pid, path.c_str(), &spawn.actions, &spawn.attributes, argv, environ) !=
      0) {
    return nullptr;
  }
  return std::make_unique<PosixProcess>(pid);
}

#endif

void PauseThread(int milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace vt
