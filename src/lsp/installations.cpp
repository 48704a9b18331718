#include "lsp/installations.h"

#include <algorithm>

#include "app/catalogue_rebuild.h"
#include "app/program_layout.h"
#include "app/rule_files.h"
#include "app/settings.h"
#include "base/paths.h"
#include "platform/file_system.h"

namespace vt::lsp {

namespace {

Text KeyOf(const Workspace& workspace) {
  Text key = workspace.root.folder + u"\n";
  key += workspace.ruleSet ? Text(RuleSetName(*workspace.ruleSet)) : Text(u"auto");
  for (const Text& file : workspace.rulesFiles) key += u"\n" + file;
  return key;
}

bool InFolder(TextView path, TextView folder) {
  return path.size() > folder.size() && StartsWith(path, folder) && path[folder.size()] == u'/';
}

}  // namespace

ExaminationMemo& Installation::MemoFor(const Text& mainPath) {
  std::unique_ptr<ExaminationMemo>& memo = memos[mainPath];
  // The server keeps each program's last check, examination and all.
  if (!memo) memo = std::make_unique<ExaminationMemo>(FindingsKeeper::Caller);
  return *memo;
}

Installations::Installations(InstallationRequest request, std::shared_ptr<const FileTree> files,
                             Reporter report)
    : request_(std::move(request)),
      files_(std::move(files)),
      report_(std::move(report)),
      layout_(LayoutForProgram(ExecutableFolder())),
      settings_(FreshSettings(layout_)) {}

Installation* Installations::For(TextView path) {
  Text folder = FolderPart(path);
  auto known = folders_.find(folder);
  if (known != folders_.end()) {
    if (!known->second) return nullptr;
    return installations_.at(*known->second).get();
  }
  Result<Workspace> workspace = ResolveWorkspace(
      {request_.root, request_.ruleSet, request_.rulesFiles, folder, ExecutableFolder()},
      settings_);
  if (!workspace) {
    ReportOnce(workspace.fault().message());
    folders_[folder] = std::nullopt;
    return nullptr;
  }
  Text key = KeyOf(*workspace);
  folders_[folder] = key;
  auto found = installations_.find(key);
  if (found != installations_.end()) return found->second.get();
  return &Make(*workspace);
}

Installation& Installations::Make(const Workspace& workspace) {
  auto installation = std::make_unique<Installation>();
  installation->workspace = workspace;
  installation->screen = std::make_unique<GatheringScreen>();
  installation->state = std::make_unique<AppState>(*installation->screen, layout_);
  installation->state->Files = files_;
  Build(*installation);
  Installation& made = *installation;
  installations_[KeyOf(workspace)] = std::move(installation);
  return made;
}

void Installations::Build(Installation& installation) {
  AppState& state = *installation.state;
  const RootChoice& root = installation.workspace.root;
  state.Settings.RootFolder = root.folder;
  state.Settings.RootFolderVerified =
      !root.folder.empty() && files_->KindOf(root.folder + u"/mod") == FileKind::Folder;
  if (!state.Settings.RootFolderVerified) {
    ReportOnce(root.folder.empty()
                   ? Text(u"no BlitzMax root folder: HOME is not set and neither the \"root\" "
                          u"option, BMXPATH nor vt.ini names one")
                   : u"no \"mod\" folder in the BlitzMax root folder " + root.folder + u" (from " +
                         root.source +
                         u"); name the folder that holds \"mod\" in veltrane.toml, BMXPATH or "
                         u"the \"root\" initialization option");
    return;
  }
  LoadedRules rules = LoadRules(state.Settings.Layout, installation.workspace.rulesFiles);
  for (const Text& error : rules.errors) ReportOnce(error);
  if (!rules.errors.empty()) return;
  state.Rules = std::move(rules.book);
  state.RuleSetChoice = installation.workspace.ruleSet;
  if (!ModFolderReadable(state.Settings)) {
    ReportOnce(u"cannot read the MOD folder: " + installation.ModFolder());
    return;
  }
  installation.screen->messages.clear();
  ++installation.scans;
  for (const Text& unreadable : RebuildCatalogue(state)) {
    ReportOnce(u"cannot read " + unreadable + u"; its modules are left out", false);
  }
  installation.memos.clear();
  for (const Text& message : installation.screen->messages) ReportOnce(message);
  if (!installation.screen->messages.empty()) return;
  for (const Text& warning : UninstalledRuleWarnings(state.Rules, state.Catalogue)) {
    ReportOnce(warning, false);
  }
  installation.usable = true;
}

bool Installations::RescanFor(TextView path) {
  bool rescanned = false;
  for (auto& [key, installation] : installations_) {
    if (!InFolder(path, installation->ModFolder())) continue;
    installation->usable = false;
    Build(*installation);
    rescanned = true;
  }
  return rescanned;
}

void Installations::Forget() {
  installations_.clear();
  folders_.clear();
}

size_t Installations::Scans() const {
  size_t scans = 0;
  for (const auto& [key, installation] : installations_) scans += installation->scans;
  return scans;
}

void Installations::ReportOnce(const Text& message, bool fault) {
  if (std::find(reported_.begin(), reported_.end(), message) != reported_.end()) return;
  reported_.push_back(message);
  report_(message, fault);
}

}  // namespace vt::lsp
