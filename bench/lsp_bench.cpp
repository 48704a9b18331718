// The language server under an editor's load, in the process: the 2,000-module
// installation with the 1,000-file, 200,000-line program of the scale
// benchmark, one of its files open. It times, from a one-character edit of
// that file to its diagnostics being published, 20 edits (target: median
// under 50 ms, the catalogue not scanned again), then makes 1,000 edits and
// reads the resident memory (target: under 100 MiB, no growth per edit).
//
//   veltrane_lsp_bench [--edits N] [--root DIR --program DIR [--edited fK.bmx]]

#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "base/text.h"
#include "input_generator.h"
#include "lsp/file_uri.h"
#include "lsp/protocol.h"
#include "lsp/server.h"

namespace {

using Clock = std::chrono::steady_clock;
using vt::lsp::Json;

double Milliseconds(Clock::duration span) {
  return std::chrono::duration<double, std::milli>(span).count();
}

// The resident set of this process, in MiB, as the kernel counts it.
double ResidentMiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
  }
  return 0;
}

// What the heap holds in use, in MiB, against which the resident set shows
// the room the allocator keeps.
double HeapInUseMiB() { return mallinfo2().uordblks / (1024.0 * 1024.0); }

std::string ReadText(const bench::fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class Editor {
 public:
  explicit Editor(const std::string& uri)
      : uri_(uri),
        server_(
            [this](const Json& message) {
              // What the pipe would carry is made, as it costs its share.
              bytes_ += vt::lsp::Serialised(message).size();
              if (message.value("method", "") == "textDocument/publishDiagnostics" &&
                  message["params"]["uri"] == uri_) {
                published_ = true;
              }
            },
            std::chrono::milliseconds(0)) {}

  void Send(const std::string& method, Json params, bool request = false) {
    Json message{{"jsonrpc", "2.0"}, {"method", method}, {"params", std::move(params)}};
    if (request) message["id"] = next_++;
    server_.Receive({vt::lsp::Serialised(message), false});
  }

  // Runs what the debounce would, until the edited file's diagnostics are out.
  void AwaitDiagnostics() {
    published_ = false;
    while (!published_ && server_.Due()) server_.ExamineWaiting();
  }
  bool Published() const { return published_; }
  vt::lsp::Server& server() { return server_; }

 private:
  std::string uri_;
  vt::lsp::Server server_;
  bool published_ = false;
  size_t bytes_ = 0;
  int next_ = 1;
};

// Edit `n`: a character typed into the file's first line, or taken out again,
// so that the text stays the same size over any number of edits.
Json OneCharacterEdit(const std::string& uri, int n) {
  Json at{{"line", 0}, {"character", 1}};
  Json past{{"line", 0}, {"character", 2}};
  bool typing = n % 2 == 0;
  Json range{{"start", at}, {"end", typing ? at : past}};
  return Json{{"textDocument", Json{{"uri", uri}, {"version", n + 2}}},
              {"contentChanges", Json::array({Json{{"range", range}, {"text", typing ? "x" : ""}}})}};
}

}  // namespace

int main(int argc, char** argv) {
  // Each figure as soon as it is known, even into a file.
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  int edits = 1000;
  bench::fs::path base =
      bench::fs::temp_directory_path() / ("veltrane-lsp-bench-" + std::to_string(getpid()));
  bench::fs::path root = base / "root";
  bench::fs::path program = base / "program";
  bool given = false;
  std::string editedName = "f501.bmx";
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--edits") == 0) edits = std::atoi(argv[++i]);
    // The same inputs as veltrane_generate writes them, perhaps with their
    // headers written by veltrane-cli --write first.
    if (std::strcmp(argv[i], "--root") == 0) root = argv[++i], given = true;
    if (std::strcmp(argv[i], "--program") == 0) program = argv[++i], given = true;
    if (std::strcmp(argv[i], "--edited") == 0) editedName = argv[++i];
  }
  if (!given) {
    bench::WriteInstallation(root, 2000, 10, 40);
    bench::WriteProgram(program, 1000, 200000, 2000, 10);
  }
  bench::fs::path edited = program / editedName;
  std::string uri = vt::lsp::UriFromPath(vt::FromUtf8(edited.string()));
  std::string mainUri = vt::lsp::UriFromPath(vt::FromUtf8((program / "main.bmx").string()));

  Editor editor(uri);
  std::printf("resident before the server starts: %.1f MiB\n", ResidentMiB());
  Clock::time_point start = Clock::now();
  // As VS Code does: it watches the files, so the server may keep what it
  // read of the disk until told of a change.
  Json watching{{"workspace", Json{{"didChangeWatchedFiles", Json{{"dynamicRegistration", true}}}}}};
  editor.Send("initialize",
              Json{{"capabilities", watching},
                   {"initializationOptions", Json{{"root", root.string()}}}},
              true);
  editor.Send("initialized", Json::object());
  for (const auto& [path, where] : {std::pair{program / "main.bmx", mainUri}, {edited, uri}}) {
    editor.Send("textDocument/didOpen",
                Json{{"textDocument", Json{{"uri", where},
                                           {"languageId", "blitzmax"},
                                           {"version", 1},
                                           {"text", ReadText(path)}}}});
  }
  editor.AwaitDiagnostics();
  std::printf("first examination (catalogue scan included): %.1f ms, resident %.1f MiB\n",
              Milliseconds(Clock::now() - start), ResidentMiB());

  std::vector<double> times;
  for (int n = 0; n < 20; ++n) {
    Clock::time_point edit = Clock::now();
    editor.Send("textDocument/didChange", OneCharacterEdit(uri, n));
    editor.AwaitDiagnostics();
    times.push_back(Milliseconds(Clock::now() - edit));
    if (!editor.Published()) std::printf("edit %d: no diagnostics published\n", n);
  }
  std::sort(times.begin(), times.end());
  std::printf("edit to diagnostics, 20 edits: median %.1f ms, min %.1f, max %.1f (target < 50)\n",
              times[times.size() / 2], times.front(), times.back());

  double before = ResidentMiB();
  for (int n = 20; n < 20 + edits; ++n) {
    editor.Send("textDocument/didChange", OneCharacterEdit(uri, n));
    editor.AwaitDiagnostics();
    if (n == 20 + edits / 10) before = ResidentMiB();
  }
  double after = ResidentMiB();
  std::printf("resident after %d more edits: %.1f MiB (target < 100), heap in use %.1f MiB; "
              "%.3f MiB per edit after the first tenth\n",
              edits, after, HeapInUseMiB(), (after - before) / (edits - edits / 10));
  std::printf("catalogue scans: %zu (target 1)\n", editor.server().CatalogueScans());
  if (!given) bench::fs::remove_all(base);
  bool met = times[times.size() / 2] < 50 && after < 100 && editor.server().CatalogueScans() == 1;
  return met ? 0 : 1;
}
