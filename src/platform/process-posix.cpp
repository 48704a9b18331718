// Programs started detached on POSIX systems: each leads a process group.
#include "platform/process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <string>
#include <thread>

#include "platform/native_path.h"

extern char** environ;

namespace vt {

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
  // (unless they made groups of their own). The leader is reaped only at the
  // end: while it is unreaped its id cannot be reused, so the signals cannot
  // reach strangers.
  void Terminate(int graceMilliseconds) override {
    if (!IsRunning()) return;
    kill(-pid_, SIGTERM);
    auto deadline = std::chrono::steady_clock::now() +
                    std::chrono::milliseconds(graceMilliseconds);
    while (!LeaderExited() && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(-pid_, SIGKILL);
    while (waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
    }
    ended_ = true;
  }

 private:
  // Whether the leader has exited, without reaping it.
  bool LeaderExited() {
    siginfo_t info = {};
    if (waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) != 0) {
      return errno != EINTR;
    }
    return info.si_pid != 0;
  }

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

std::unique_ptr<DetachedProcess> DetachedProcess::Start(TextView commandLine,
                                                       TextView workingFolder) {
  if (commandLine.empty()) return nullptr;
  std::string path = ToNativeString(commandLine);
  std::string folder = ToNativeString(workingFolder);

  SpawnSettings spawn;
  if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&spawn.actions, folder.c_str());
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

}  // namespace vt
