// The language server itself, without its transport: messages in, messages
// out through `send`. The open documents lie over the disk in one file tree
// that every examination reads; an edit is examined once the editor has
// been quiet for the debounce, or at once when a request needs the result.
#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "lsp/disk_snapshot.h"
#include "lsp/installations.h"
#include "lsp/message_framing.h"
#include "lsp/program_check.h"
#include "lsp/protocol.h"

namespace vt::lsp {

using Clock = std::chrono::steady_clock;

class Server {
 public:
  using Sender = std::function<void(const Json& message)>;
  explicit Server(Sender send, std::chrono::milliseconds debounce = std::chrono::milliseconds(30));

  // One message as framed on the wire; a malformed one is answered with
  // the protocol's error, never thrown.
  void Receive(const Frame& frame);
  // When the documents edited last should be examined; none when nothing
  // waits.
  std::optional<Clock::time_point> Due() const { return due_; }
  // Examines what waits and publishes its diagnostics.
  void ExamineWaiting();

  // How many times a mod folder was scanned: once per installation, then
  // only when a module file changes.
  size_t CatalogueScans() const { return installations_ ? installations_->Scans() : 0; }

  bool Exited() const { return exited_; }
  // 0 after shutdown then exit, 1 for an exit without shutdown.
  int ExitCode() const { return shutdown_ ? 0 : 1; }

 private:
  struct Document {
    std::string uri;
    Text text;
    Json version;
  };

  void Dispatch(const Json& message);
  const std::string* MethodOf(const Json& message, bool hasId, const Json& id);
  void Notified(const std::string& name, const Json& params);
  Json Answer(const std::string& method, const Json& params);
  void Notice(const std::string& method, const Json& params);

  Json Initialize(const Json& params);
  void Open(const Json& params);
  void Change(const Json& params);
  void Close(const Json& params);
  void WatchedFilesChanged(const Json& params);
  Json CodeActionsFor(const Json& params);
  Json HoverFor(const Json& params);

  // The document's path, from its URI; throws an invalid-params error.
  Text PathOf(const Json& textDocument) const;
  void Store(const Text& path, Document document);
  void Wait(const Text& path);
  void WaitForEverything();
  // The check whose program reaches `path`, examined first when it waits.
  const ProgramCheck* CheckFor(const Text& path);
  // The check of `mainPath`, with the plan of `path` whole.
  const ProgramCheck* WholeCheck(const Text& mainPath, const Text& path);
  // The main files whose programs must be examined again for `path`.
  std::vector<Text> MainsFor(const Text& path, Installation& installation);
  // Publishes what changed, and always for the files in `edited`, whose
  // editor waits for the diagnostics of its new version.
  void Check(const Text& mainPath, Installation& installation, const std::set<Text>& edited);
  // What one check has published so far. `before` is the last check of
  // the same program, if any: a unit whose plan gives what it gave then is
  // passed over.
  struct Publication {
    const ProgramCheck* before = nullptr;
    const std::set<Text>* edited = nullptr;
    // The walk's diagnostics, by file, and the files it warned about last.
    std::map<Text, Json> walk;
    std::set<Text> warnedBefore;
    std::set<Text> offered;
  };
  Publication StartPublication(const Examination& examination, const ProgramCheck* before,
                               const std::set<Text>& edited) const;
  bool Waited(const Publication& publication, const Text& path) const;
  // The diagnostics of a unit's plan, unless it was published already.
  void PublishUnit(Publication& publication, const ProgramCheck& check, const FilePlan& file);
  // The rest: the units not published yet, and every file the walk warned
  // about or reached.
  void Publish(Publication& publication, const ProgramCheck& check);
  // Sends `diagnostics` when they differ from those published last, or
  // when `waited`.
  void Offer(const Text& path, Json diagnostics, bool waited);
  // `print` is their FingerprintOf, when it is known.
  void PublishFor(const Text& path, Json diagnostics, std::optional<size_t> print = {});
  std::string UriOf(const Text& path) const;
  void ShowMessage(const Text& message, bool fault);

  Sender send_;
  std::chrono::milliseconds debounce_;
  bool initialized_ = false;
  bool shutdown_ = false;
  bool exited_ = false;
  bool watchRegistration_ = false;
  std::shared_ptr<DiskSnapshot> disk_ = std::make_shared<DiskSnapshot>();
  std::shared_ptr<MemoryFileTree> files_ = std::make_shared<MemoryFileTree>(*disk_);
  std::unique_ptr<Installations> installations_;
  std::map<Text, Document> documents_;
  // By main file.
  std::map<Text, ProgramCheck> checks_;
  // Files not open whose code actions or hovers were asked for: their plans
  // are kept whole, as an open file's are.
  std::set<Text> asked_;
  // The files edited since their programs were last examined.
  std::set<Text> waiting_;
  std::optional<Clock::time_point> due_;
  // A fingerprint of the diagnostics published last for each file, when
  // not none: a file whose findings an edit elsewhere leaves as they were
  // is not sent again. Fingerprints, since a large program's diagnostics
  // as JSON would cost more memory than its examination.
  std::map<Text, size_t> published_;
  int nextRequest_ = 1;
};

}  // namespace vt::lsp
