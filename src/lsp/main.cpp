// veltrane-lsp: the header check as a language server, for editors. It
// speaks the protocol on standard input and output, and lies beside
// veltrane-cli, whose installation and rules it finds the same way.
//
//   veltrane-lsp [--debounce MS]
//   veltrane-lsp --version | --help

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#else
#include <unistd.h>
#endif

#include "base/version.h"
#include "lsp/message_framing.h"
#include "lsp/protocol.h"
#include "lsp/server.h"

namespace vt::lsp {
namespace {

constexpr char kUsage[] =
    "Usage: veltrane-lsp [--debounce MS]\n"
    "A language server for BlitzMax programs: it checks the Framework and Import\n"
    "lines as veltrane-cli --check does while the editor's buffers change. It\n"
    "speaks the Language Server Protocol on standard input and output.\n"
    "  --debounce MS  wait this long after an edit before examining (default 30)\n";

// Standard input, read on a thread of its own so that the main thread can
// wait for either more bytes or the end of the debounce.
class InputPump {
 public:
  InputPump() : thread_([this] { Run(); }) { thread_.detach(); }

  // Waits until bytes arrive, the input ends or `until` passes; the bytes
  // read, empty when none.
  std::string Take(std::optional<Clock::time_point> until) {
    std::unique_lock<std::mutex> lock(mutex_);
    auto ready = [this] { return !chunks_.empty() || ended_; };
    if (until) {
      condition_.wait_until(lock, *until, ready);
    } else {
      condition_.wait(lock, ready);
    }
    std::string bytes;
    while (!chunks_.empty()) {
      bytes += chunks_.front();
      chunks_.pop_front();
    }
    return bytes;
  }

  bool Ended() {
    std::lock_guard<std::mutex> lock(mutex_);
    return ended_ && chunks_.empty();
  }

 private:
  void Run() {
    char buffer[65536];
    for (;;) {
      // The system's read returns what the pipe holds now; fread would wait
      // for a full buffer.
#if defined(_WIN32)
      int got = _read(0, buffer, sizeof buffer);
#else
      ssize_t got = read(0, buffer, sizeof buffer);
      if (got < 0 && errno == EINTR) continue;
#endif
      std::lock_guard<std::mutex> lock(mutex_);
      if (got > 0) chunks_.emplace_back(buffer, static_cast<size_t>(got));
      if (got <= 0) ended_ = true;
      condition_.notify_one();
      if (ended_) return;
    }
  }

  std::mutex mutex_;
  std::condition_variable condition_;
  std::deque<std::string> chunks_;
  bool ended_ = false;
  std::thread thread_;
};

void Write(const Json& message) {
  std::string frame = FrameOf(Serialised(message));
  std::fwrite(frame.data(), 1, frame.size(), stdout);
  std::fflush(stdout);
}

int Run(int argc, char** argv) {
  std::chrono::milliseconds debounce(30);
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("veltrane-lsp %s\n", kVersion);
      return 0;
    }
    if (std::strcmp(argv[i], "--help") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (std::strcmp(argv[i], "--debounce") == 0 && i + 1 < argc) {
      debounce = std::chrono::milliseconds(std::max(0, std::atoi(argv[++i])));
      continue;
    }
    // Editors add their own arguments (--stdio); they change nothing here.
    if (std::strcmp(argv[i], "--stdio") == 0) continue;
    std::fprintf(stderr, "veltrane-lsp: unknown argument %s\n%s", argv[i], kUsage);
    return 2;
  }
#if defined(_WIN32)
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  Server server(Write, debounce);
  FrameReader reader;
  // Never freed: its thread may still wait in read when the server ends,
  // and must find its queue there until the process is gone.
  InputPump& input = *new InputPump;
  while (!server.Exited()) {
    std::optional<Clock::time_point> due = server.Due();
    if (due && Clock::now() >= *due) {
      server.ExamineWaiting();
      continue;
    }
    std::string bytes = input.Take(due);
    reader.Feed(bytes);
    while (std::optional<Frame> frame = reader.Next()) {
      server.Receive(*frame);
      if (server.Exited()) break;
    }
    if (bytes.empty() && input.Ended()) break;
  }
  return server.Exited() ? server.ExitCode() : 1;
}

}  // namespace
}  // namespace vt::lsp

int main(int argc, char** argv) { return vt::lsp::Run(argc, argv); }
