#include "lsp/server.h"

#include <algorithm>
#include <functional>
#include <unordered_map>

#include "base/paths.h"
#include "base/version.h"
#include "platform/file_system.h"
#include "lsp/document_text.h"
#include "lsp/file_uri.h"
#include "lsp/header_findings.h"

namespace vt::lsp {

namespace {

// A request for a method the server does not have.
struct MethodNotFound {
  std::string method;
};

// Params the handler cannot use.
struct InvalidParams {
  std::string message;
};

// Zero for no diagnostics at all.
size_t FingerprintOf(const Json& diagnostics) {
  if (diagnostics.empty()) return 0;
  return std::hash<std::string>()(Serialised(diagnostics)) | 1;
}

bool ValidId(const Json& id) { return id.is_number_integer() || id.is_string() || id.is_null(); }

std::optional<RuleSetKind> RuleSetFrom(const Json& value) {
  if (!value.is_string()) return std::nullopt;
  std::string name = value.get<std::string>();
  if (name == "classic") return RuleSetKind::Classic;
  if (name == "modern") return RuleSetKind::Modern;
  if (name == "auto") return std::nullopt;
  throw InvalidParams{"\"rules\" is classic, modern or auto, not " + name};
}

// A path the client gave, anchored as the command line anchors its own at
// the folder it started in; none when empty, as an unset setting sends it.
std::optional<Text> GivenPath(const Json& value) {
  if (!value.is_string() || value.get_ref<const std::string&>().empty()) return std::nullopt;
  return AnchorPath(FromUtf8(value.get<std::string>()), CurrentFolder());
}

// The client's initialization options, as the command line's options.
InstallationRequest RequestFrom(const Json& options) {
  InstallationRequest request;
  if (!options.is_object()) return request;
  if (options.contains("root")) request.root = GivenPath(options["root"]);
  if (options.contains("rules")) request.ruleSet = RuleSetFrom(options["rules"]);
  if (options.contains("rulesFile")) {
    const Json& files = options["rulesFile"];
    std::vector<Json> named = files.is_array() ? files.get<std::vector<Json>>()
                                               : std::vector<Json>{files};
    for (const Json& file : named) {
      if (std::optional<Text> path = GivenPath(file)) request.rulesFiles.push_back(*path);
    }
  }
  return request;
}

Json Capabilities() {
  return Json{
      {"textDocumentSync",
       Json{{"openClose", true}, {"change", 2}, {"save", Json{{"includeText", false}}}}},
      {"codeActionProvider", Json{{"codeActionKinds", Json::array({"quickfix", kFixHeaderKind})}}},
      {"hoverProvider", true},
      {"positionEncoding", "utf-16"}};
}

}  // namespace

Server::Server(Sender send, std::chrono::milliseconds debounce)
    : send_(std::move(send)), debounce_(debounce) {}

void Server::Receive(const Frame& frame) {
  if (frame.malformedHeader) {
    send_(ErrorResponse(nullptr, kParseError, "the message's header has no Content-Length"));
    return;
  }
  Json message = Json::parse(frame.body, nullptr, false);
  if (message.is_discarded()) {
    send_(ErrorResponse(nullptr, kParseError, "the message is not JSON"));
    return;
  }
  Dispatch(message);
}

// The method of a well-formed JSON-RPC message, or null after answering
// one that is not (or passing over a client's answer to a request of ours).
const std::string* Server::MethodOf(const Json& message, bool hasId, const Json& id) {
  if (!ValidId(id)) {
    send_(ErrorResponse(nullptr, kInvalidRequest, "an id is a number or a string"));
    return nullptr;
  }
  auto version = message.find("jsonrpc");
  if (version == message.end() || *version != "2.0") {
    send_(ErrorResponse(id, kInvalidRequest, "\"jsonrpc\" must be \"2.0\""));
    return nullptr;
  }
  auto method = message.find("method");
  if (method == message.end()) {
    // A client's answer to a request of ours: nothing waits for it.
    if (hasId && (message.contains("result") || message.contains("error"))) return nullptr;
    send_(ErrorResponse(id, kInvalidRequest, "a request names its method"));
    return nullptr;
  }
  if (!method->is_string()) {
    send_(ErrorResponse(id, kInvalidRequest, "a method is a string"));
    return nullptr;
  }
  return &method->get_ref<const std::string&>();
}

void Server::Notified(const std::string& name, const Json& params) {
  if (name == "exit") {
    exited_ = true;
    return;
  }
  if (!initialized_ || shutdown_) return;
  // A notification gets no answer, so a malformed one is passed over.
  try {
    Notice(name, params);
  } catch (const MethodNotFound&) {
  } catch (const InvalidParams&) {
  } catch (const Json::exception&) {
  }
}

void Server::Dispatch(const Json& message) {
  if (!message.is_object()) {
    send_(ErrorResponse(nullptr, kInvalidRequest, "a message is a JSON object"));
    return;
  }
  bool hasId = message.contains("id");
  Json id = hasId ? message["id"] : Json();
  const std::string* method = MethodOf(message, hasId, id);
  if (!method) return;
  const std::string& name = *method;
  Json params = message.value("params", Json::object());
  if (!hasId) {
    Notified(name, params);
    return;
  }
  if (!initialized_ && name != "initialize") {
    send_(ErrorResponse(id, kServerNotInitialized, "initialize comes first"));
    return;
  }
  if (shutdown_) {
    send_(ErrorResponse(id, kInvalidRequest, "the server is shutting down"));
    return;
  }
  try {
    send_(Response(id, Answer(name, params)));
  } catch (const MethodNotFound& missing) {
    send_(ErrorResponse(id, kMethodNotFound, "no method " + missing.method));
  } catch (const InvalidParams& invalid) {
    send_(ErrorResponse(id, kInvalidParams, invalid.message));
  } catch (const Json::exception& error) {
    send_(ErrorResponse(id, kInvalidParams, error.what()));
  } catch (const std::exception& error) {
    send_(ErrorResponse(id, kInternalError, error.what()));
  }
}

Json Server::Answer(const std::string& method, const Json& params) {
  if (method == "initialize") return Initialize(params);
  if (method == "shutdown") {
    shutdown_ = true;
    return nullptr;
  }
  if (method == "textDocument/codeAction") return CodeActionsFor(params);
  if (method == "textDocument/hover") return HoverFor(params);
  throw MethodNotFound{method};
}

void Server::Notice(const std::string& method, const Json& params) {
  if (method == "initialized") {
    if (!watchRegistration_) return;
    Json watchers = Json::array();
    for (const char* pattern : {"**/*.bmx", "**/veltrane.toml", "**/vt.ini", "**/rules.txt"}) {
      watchers.push_back(Json{{"globPattern", pattern}});
    }
    Json registration{{"id", "veltrane-watched-files"},
                      {"method", "workspace/didChangeWatchedFiles"},
                      {"registerOptions", Json{{"watchers", watchers}}}};
    send_(Json{{"jsonrpc", "2.0"},
               {"id", nextRequest_++},
               {"method", "client/registerCapability"},
               {"params", Json{{"registrations", Json::array({registration})}}}});
    return;
  }
  if (method == "textDocument/didOpen") return Open(params);
  if (method == "textDocument/didChange") return Change(params);
  if (method == "textDocument/didClose") return Close(params);
  if (method == "workspace/didChangeWatchedFiles") return WatchedFilesChanged(params);
}

Json Server::Initialize(const Json& params) {
  if (initialized_) throw InvalidParams{"the server is initialized already"};
  Json options = params.value("initializationOptions", Json::object());
  InstallationRequest request = RequestFrom(options);
  if (options.is_object() && options.contains("debounce") && options["debounce"].is_number()) {
    debounce_ = std::chrono::milliseconds(std::max(0, options["debounce"].get<int>()));
  }
  const Json* capability = &params;
  for (const char* key : {"capabilities", "workspace", "didChangeWatchedFiles"}) {
    if (!capability->is_object() || !capability->contains(key)) {
      capability = nullptr;
      break;
    }
    capability = &(*capability)[key];
  }
  watchRegistration_ =
      capability && capability->value("dynamicRegistration", false);
  // A client that watches the files says when the disk changes.
  disk_->KeepAnswers(watchRegistration_);
  installations_ = std::make_unique<Installations>(
      std::move(request), files_,
      [this](const Text& message, bool fault) { ShowMessage(message, fault); });
  initialized_ = true;
  return Json{{"capabilities", Capabilities()},
              {"serverInfo", Json{{"name", "veltrane-lsp"}, {"version", kVersion}}}};
}

Text Server::PathOf(const Json& textDocument) const {
  std::optional<Text> path = PathFromUri(textDocument.at("uri").get<std::string>());
  if (!path || !IsAbsolutePath(*path)) throw InvalidParams{"only file: URIs are examined"};
  return NormalisePath(*path);
}

void Server::Open(const Json& params) {
  const Json& document = params.at("textDocument");
  Text path = PathOf(document);
  Store(path, {document.at("uri").get<std::string>(),
               FromUtf8(document.at("text").get<std::string>()), document.value("version", Json())});
  Wait(path);
}

void Server::Change(const Json& params) {
  const Json& identifier = params.at("textDocument");
  Text path = PathOf(identifier);
  auto open = documents_.find(path);
  if (open == documents_.end()) return;
  Document document = open->second;
  for (const Json& change : params.at("contentChanges")) {
    Text replacement = FromUtf8(change.at("text").get<std::string>());
    std::optional<TextRange> range;
    if (change.contains("range")) range = RangeFrom(change["range"]);
    ApplyChange(document.text, range, replacement);
  }
  document.version = identifier.value("version", Json());
  Store(path, std::move(document));
  Wait(path);
}

void Server::Close(const Json& params) {
  Text path = PathOf(params.at("textDocument"));
  std::string uri = UriOf(path);
  documents_.erase(path);
  files_->ForgetFile(path);
  auto own = checks_.find(path);
  if (own != checks_.end()) {
    for (const Text& file : own->second.files) {
      if (file != path && published_.count(file) && !documents_.count(file)) {
        PublishFor(file, Json::array());
      }
    }
    checks_.erase(own);
    if (Installation* installation = installations_->For(path)) installation->memos.erase(path);
  }
  // A closed file's findings would otherwise stay in the client's list.
  published_.erase(path);
  send_(Notification("textDocument/publishDiagnostics",
                     Json{{"uri", uri}, {"diagnostics", Json::array()}}));
  // The programs that include it read the disk's copy now.
  for (const auto& [main, check] : checks_) {
    if (check.files.count(path)) Wait(main);
  }
}

void Server::WatchedFilesChanged(const Json& params) {
  // Whatever changed, the disk is read afresh: a new file changes its
  // folder's listing as well as its own answers.
  disk_->Forget();
  bool everything = false;
  for (const Json& change : params.at("changes")) {
    std::optional<Text> changed = PathFromUri(change.at("uri").get<std::string>());
    if (!changed) continue;
    Text path = NormalisePath(*changed);
    Text name = Lower(FileName(path));
    bool settings = name == u"veltrane.toml" || name == u"vt.ini" || name == u"rules.txt";
    if (settings) installations_->Forget();
    if (settings || installations_->RescanFor(path)) {
      // Which programs reach which files still holds; their plans do not.
      for (auto& [main, check] : checks_) check.plansCurrent = false;
      everything = true;
      continue;
    }
    if (documents_.count(path)) continue;
    for (const auto& [main, check] : checks_) {
      if (check.files.count(path)) Wait(main);
    }
  }
  if (everything) WaitForEverything();
}

Json Server::CodeActionsFor(const Json& params) {
  Text path = PathOf(params.at("textDocument"));
  TextRange range = RangeFrom(params.at("range"));
  Json only;
  if (params.contains("context") && params["context"].is_object()) {
    only = params["context"].value("only", Json());
  }
  const ProgramCheck* check = CheckFor(path);
  if (!check) return Json::array();
  return CodeActions(*check, path, UriOf(path), range, only);
}

Json Server::HoverFor(const Json& params) {
  Text path = PathOf(params.at("textDocument"));
  TextPosition position = PositionFrom(params.at("position"));
  const ProgramCheck* check = CheckFor(path);
  if (!check) return nullptr;
  std::optional<Json> hover = HoverAt(*check, path, position);
  return hover ? *hover : Json();
}

void Server::Store(const Text& path, Document document) {
  files_->SetFile(path, DocumentBytes(document.text));
  documents_[path] = std::move(document);
}

void Server::Wait(const Text& path) {
  waiting_.insert(path);
  Clock::time_point when = Clock::now() + debounce_;
  due_ = due_ ? std::max(*due_, when) : when;
}

void Server::WaitForEverything() {
  for (const auto& [path, document] : documents_) Wait(path);
}

const ProgramCheck* Server::CheckFor(const Text& path) {
  if (!waiting_.empty()) ExamineWaiting();
  const ProgramCheck* reaching = nullptr;
  for (const auto& [main, check] : checks_) {
    if (check.PlanOf(path)) return WholeCheck(main, path);
    if (!reaching && check.files.count(path)) reaching = &check;
  }
  return reaching;
}

const ProgramCheck* Server::WholeCheck(const Text& mainPath, const Text& path) {
  const ProgramCheck* check = &checks_.at(mainPath);
  if (!check->slim.count(path)) return check;
  // A file no editor has open, asked for all the same: judged again, and
  // kept whole from now on.
  asked_.insert(path);
  Installation* installation = installations_->For(mainPath);
  if (!installation || !installation->usable) return check;
  Check(mainPath, *installation, {});
  auto found = checks_.find(mainPath);
  return found == checks_.end() ? nullptr : &found->second;
}

void Server::ExamineWaiting() {
  std::set<Text> paths = std::move(waiting_);
  waiting_.clear();
  due_.reset();
  std::set<Text> done;
  auto check = [&](const Text& main, Installation& installation) {
    if (done.insert(main).second) Check(main, installation, paths);
  };
  auto reaching = [&](const Text& path) {
    std::vector<Text> mains;
    for (const auto& [main, found] : checks_) {
      if (found.files.count(path)) mains.push_back(main);
    }
    return mains;
  };
  for (const Text& path : paths) {
    Installation* installation = installations_->For(path);
    if (!installation || !installation->usable) {
      if (published_.count(path)) PublishFor(path, Json::array());
      continue;
    }
    // A module's source is no program: its header is the module's own.
    if (StartsWith(path, installation->ModFolder() + u"/")) continue;
    std::vector<Text> mains = reaching(path);
    if (mains.empty() && installation->workspace.project) {
      for (const Text& main : installation->workspace.project->mainFiles) {
        if (!checks_.count(main)) check(main, *installation);
      }
      mains = reaching(path);
    }
    if (mains.empty()) mains.push_back(path);
    for (const Text& main : mains) check(main, *installation);
  }
}

void Server::Check(const Text& mainPath, Installation& installation,
                   const std::set<Text>& edited) {
  std::string bytes;
  if (files_->ReadBytes(mainPath, bytes) != ReadOutcome::Read || bytes.empty()) {
    // Nothing to examine yet: an empty buffer, or a main file that is gone.
    checks_.erase(mainPath);
    if (published_.count(mainPath) || documents_.count(mainPath)) {
      PublishFor(mainPath, Json::array());
    }
    return;
  }
  auto found = checks_.find(mainPath);
  ProgramCheck* before = found == checks_.end() ? nullptr : &found->second;
  auto open = [this](const Text& path) { return documents_.count(path) || asked_.count(path); };
  // Each unit's diagnostics go out as soon as its plan is judged, so that
  // its plan need not be held whole until every unit is planned.
  std::optional<Publication> publication;
  auto settled = [&](const ProgramCheck& now, const FilePlan& file) {
    if (!publication) publication = StartPublication(now.examination, before, edited);
    PublishUnit(*publication, now, file);
  };
  ProgramCheck check = CheckProgram(installation, mainPath, before, open, settled);
  if (!publication) publication = StartPublication(check.examination, before, edited);
  Publish(*publication, check);
  check.Slim(open);
  // A file this program reaches is no program of its own.
  for (const Text& file : check.files) {
    if (file != mainPath) checks_.erase(file);
  }
  checks_.insert_or_assign(mainPath, std::move(check));
}

Server::Publication Server::StartPublication(const Examination& examination,
                                             const ProgramCheck* before,
                                             const std::set<Text>& edited) const {
  Publication publication{before, &edited, WalkDiagnostics(examination, *files_), {}, {}};
  if (!before) return publication;
  for (const WalkWarning& warning : before->examination.warnings) {
    publication.warnedBefore.insert(warning.file);
  }
  return publication;
}

bool Server::Waited(const Publication& publication, const Text& path) const {
  return publication.edited->count(path) && documents_.count(path);
}

void Server::PublishUnit(Publication& publication, const ProgramCheck& check,
                         const FilePlan& file) {
  if (!publication.offered.insert(file.path).second) return;
  const ProgramCheck* before = publication.before;
  auto warnings = publication.walk.find(file.path);
  bool quiet = warnings == publication.walk.end() && !publication.warnedBefore.count(file.path);
  // A plan judged from the same bytes with the same findings gives the
  // same diagnostics, which a slimmed one could no longer make.
  auto old = before ? before->prints.find(file.path) : check.prints.end();
  bool same = quiet && before && old != before->prints.end() &&
              old->second == check.prints.at(file.path);
  bool waited = Waited(publication, file.path);
  if (same && !waited) return;
  Json list = HeaderDiagnostics(file, check.plan.saving);
  if (warnings != publication.walk.end()) {
    for (Json& diagnostic : warnings->second) list.push_back(std::move(diagnostic));
  }
  Offer(file.path, std::move(list), waited);
}

void Server::Publish(Publication& publication, const ProgramCheck& check) {
  for (const FilePlan& file : check.plan.files) PublishUnit(publication, check, file);
  for (auto& [path, list] : publication.walk) {
    if (publication.offered.insert(path).second) {
      Offer(path, std::move(list), Waited(publication, path));
    }
  }
  for (const Text& path : check.files) {
    if (publication.offered.insert(path).second) {
      Offer(path, Json::array(), Waited(publication, path));
    }
  }
}

void Server::Offer(const Text& path, Json diagnostics, bool waited) {
  auto last = published_.find(path);
  size_t before = last == published_.end() ? 0 : last->second;
  size_t print = FingerprintOf(diagnostics);
  if (print != before || waited) PublishFor(path, std::move(diagnostics), print);
}

void Server::PublishFor(const Text& path, Json diagnostics, std::optional<size_t> print) {
  if (diagnostics.empty()) {
    published_.erase(path);
  } else {
    published_[path] = print ? *print : FingerprintOf(diagnostics);
  }
  Json params{{"uri", UriOf(path)}, {"diagnostics", std::move(diagnostics)}};
  auto open = documents_.find(path);
  if (open != documents_.end() && open->second.version.is_number_integer()) {
    params["version"] = open->second.version;
  }
  send_(Notification("textDocument/publishDiagnostics", std::move(params)));
}

std::string Server::UriOf(const Text& path) const {
  auto open = documents_.find(path);
  return open == documents_.end() ? UriFromPath(path) : open->second.uri;
}

void Server::ShowMessage(const Text& message, bool fault) {
  MessageType type = fault ? MessageType::Error : MessageType::Warning;
  send_(Notification("window/showMessage",
                     Json{{"type", static_cast<int>(type)}, {"message", "veltrane: " + ToUtf8(message)}}));
}

}  // namespace vt::lsp
