// A language client for the tests: it speaks to the server either in the
// process (Server, with the debounce left to the test) or through the pipes
// of the built veltrane-lsp, as an editor does.
#pragma once

#include <algorithm>
#include <chrono>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#if !defined(_WIN32)
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "lsp/document_text.h"
#include "lsp/file_uri.h"
#include "lsp/message_framing.h"
#include "lsp/protocol.h"
#include "lsp/server.h"
#include "support/test_support.h"

namespace vt::lsp {

// The example installation of the modern rules.
inline Text ModernRoot() { return testing::SourceFolder() + u"/examples/BlitzMaxModern"; }

inline Json Initialize(const Text& root) {
  return Json{{"processId", nullptr},
              {"rootUri", nullptr},
              {"capabilities", Json::object()},
              {"initializationOptions", Json{{"root", ToUtf8(root)}}}};
}

inline Json DidOpen(const std::string& uri, const std::string& text) {
  return Json{{"textDocument",
               Json{{"uri", uri}, {"languageId", "blitzmax"}, {"version", 1}, {"text", text}}}};
}

inline Json WholeFile() {
  return Json{{"start", Json{{"line", 0}, {"character", 0}}},
              {"end", Json{{"line", 10000}, {"character", 0}}}};
}

// Applies a WorkspaceEdit's edits of `uri` to `text` as a client does: all
// ranges refer to the text before any of them, so the last goes first.
inline std::string Applied(const std::string& text, const Json& edit, const std::string& uri) {
  Text result = FromUtf8(text);
  std::vector<Json> edits = edit.at("changes").at(uri).get<std::vector<Json>>();
  std::sort(edits.begin(), edits.end(), [](const Json& a, const Json& b) {
    TextPosition x = PositionFrom(a["range"]["start"]);
    TextPosition y = PositionFrom(b["range"]["start"]);
    return x.line != y.line ? x.line > y.line : x.character > y.character;
  });
  for (const Json& one : edits) {
    ApplyChange(result, RangeFrom(one["range"]), FromUtf8(one["newText"].get<std::string>()));
  }
  return ToUtf8(result);
}

inline std::vector<std::string> Messages(const Json& diagnostics) {
  std::vector<std::string> messages;
  for (const Json& diagnostic : diagnostics) messages.push_back(diagnostic["message"]);
  return messages;
}

// What both kinds of client share: the messages that arrived and were not
// taken yet, and the requests' numbers.
class Client {
 public:
  virtual ~Client() = default;

  void Notify(const std::string& method, Json params) { Send(Notification(method, std::move(params))); }

  // The response to a new request; null when none came.
  Json Request(const std::string& method, Json params) {
    int id = next_++;
    Send(Json{{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", std::move(params)}});
    std::optional<Json> response = Take([id](const Json& message) {
      return message.contains("id") && message["id"] == id && !message.contains("method");
    });
    return response ? *response : Json();
  }

  // The next diagnostics published for `uri`.
  Json Diagnostics(const std::string& uri) {
    std::optional<Json> message = Take([&uri](const Json& message) {
      return message.value("method", "") == "textDocument/publishDiagnostics" &&
             message["params"]["uri"] == uri;
    });
    if (!message) return Json{{"timedOut", true}};
    return (*message)["params"]["diagnostics"];
  }

  // The first message that `wanted` accepts, waiting for more as needed.
  std::optional<Json> Take(const std::function<bool(const Json&)>& wanted) {
    for (;;) {
      for (auto it = arrived_.begin(); it != arrived_.end(); ++it) {
        if (!wanted(*it)) continue;
        Json found = std::move(*it);
        arrived_.erase(it);
        return found;
      }
      if (!Receive()) return std::nullopt;
    }
  }

  virtual void Send(const Json& message) = 0;
  virtual void SendBytes(const std::string& bytes) = 0;

 protected:
  // Adds what arrives next to `arrived_`; false when nothing can.
  virtual bool Receive() = 0;

  std::deque<Json> arrived_;
  int next_ = 1;
};

// The server in this process: what it sends is kept, and a wait for more
// examines what waits, as the debounce would.
class InProcessClient final : public Client {
 public:
  InProcessClient()
      : server_([this](const Json& message) { arrived_.push_back(message); },
                std::chrono::milliseconds(0)) {}

  void Send(const Json& message) override { server_.Receive(Frame{Serialised(message), false}); }
  void SendBytes(const std::string& bytes) override {
    reader_.Feed(bytes);
    while (std::optional<Frame> frame = reader_.Next()) server_.Receive(*frame);
  }
  Server& server() { return server_; }

 protected:
  bool Receive() override {
    if (!server_.Due()) return false;
    server_.ExamineWaiting();
    return true;
  }

 private:
  Server server_;
  FrameReader reader_;
};

#if !defined(_WIN32)

// The built veltrane-lsp on the other end of two pipes, with a HOME of its
// own so that no rules file of the one running the tests counts.
class PipeClient final : public Client {
 public:
  explicit PipeClient(const Text& home) {
    int in[2];
    int out[2];
    if (pipe(in) != 0 || pipe(out) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(in[0], 0);
      dup2(out[1], 1);
      close(in[1]);
      close(out[0]);
      setenv("HOME", ToUtf8(home).c_str(), 1);
      unsetenv("XDG_DATA_HOME");
      unsetenv("BMXPATH");
      // A server that hangs ends here instead of stalling the tests.
      alarm(60);
      execl(VELTRANE_LSP_PATH, VELTRANE_LSP_PATH, static_cast<char*>(nullptr));
      _exit(127);
    }
    close(in[0]);
    close(out[1]);
    toServer_ = in[1];
    fromServer_ = out[0];
    signal(SIGPIPE, SIG_IGN);
  }

  ~PipeClient() override {
    CloseInput();
    if (pid_ > 0 && !exitCode_) ExitCode();
    if (fromServer_ >= 0) close(fromServer_);
  }

  void Send(const Json& message) override { SendBytes(FrameOf(Serialised(message))); }
  void SendBytes(const std::string& bytes) override {
    size_t sent = 0;
    while (sent < bytes.size()) {
      ssize_t wrote = write(toServer_, bytes.data() + sent, bytes.size() - sent);
      if (wrote <= 0) return;
      sent += static_cast<size_t>(wrote);
    }
  }
  void CloseInput() {
    if (toServer_ >= 0) close(toServer_);
    toServer_ = -1;
  }
  // The server's exit code, once it has ended; -1 when it was killed.
  int ExitCode() {
    if (exitCode_) return *exitCode_;
    int status = 0;
    waitpid(pid_, &status, 0);
    exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return *exitCode_;
  }
  bool Started() const { return pid_ > 0 && toServer_ >= 0; }

 protected:
  bool Receive() override {
    for (;;) {
      if (std::optional<Frame> frame = reader_.Next()) {
        arrived_.push_back(Json::parse(frame->body));
        return true;
      }
      pollfd ready{fromServer_, POLLIN, 0};
      if (poll(&ready, 1, 20000) <= 0) return false;
      char buffer[65536];
      ssize_t got = read(fromServer_, buffer, sizeof buffer);
      if (got <= 0) return false;
      reader_.Feed(std::string_view(buffer, static_cast<size_t>(got)));
    }
  }

 private:
  pid_t pid_ = -1;
  int toServer_ = -1;
  int fromServer_ = -1;
  std::optional<int> exitCode_;
  FrameReader reader_;
};

#endif

}  // namespace vt::lsp
