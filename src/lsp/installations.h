// The installations the open programs use, each with the rules in force and
// a catalogue built once: an editor's keystrokes never scan the mod folder.
// Which one serves a program is decided as the command line decides it
// (ResolveWorkspace: veltrane.toml, BMXPATH, vt.ini, around the program).
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "analysis/examination_memo.h"
#include "app/app_state.h"
#include "app/workspace.h"
#include "base/text.h"
#include "platform/file_tree.h"
#include "platform/screen.h"

namespace vt::lsp {

// What the client's initialization options say, as the command line's
// --root, --rules and --rules-file do.
struct InstallationRequest {
  std::optional<Text> root;
  std::optional<RuleSetKind> ruleSet;
  std::vector<Text> rulesFiles;
};

// Messages the core would put in a box are gathered for the client.
class GatheringScreen final : public Screen {
 public:
  void InformationBox(const Text& text) override { messages.push_back(text); }
  void SetStatusText(const Text&) override {}
  void Navigate(const Text&) override {}
  void ClearView() override {}
  bool ShowsPages() const override { return false; }
  std::vector<Text> messages;
};

struct Installation {
  Workspace workspace;
  std::unique_ptr<GatheringScreen> screen;
  // The catalogue, the rules and the file tree (the open documents over the
  // disk) the examinations read.
  std::unique_ptr<AppState> state;
  // What the last examination of each main file made, for the next one.
  std::map<Text, std::unique_ptr<ExaminationMemo>> memos;
  // False when the root, the rules or the catalogue failed: such an
  // installation says why once and examines nothing.
  bool usable = false;
  // How many times the mod folder was scanned.
  size_t scans = 0;

  Text ModFolder() const { return state->Settings.RootFolder + u"/mod"; }
  ExaminationMemo& MemoFor(const Text& mainPath);
};

class Installations {
 public:
  // `report` is told each fault (or, when not `fault`, each warning) once,
  // in words for the user.
  using Reporter = std::function<void(const Text& message, bool fault)>;
  Installations(InstallationRequest request, std::shared_ptr<const FileTree> files,
                Reporter report);

  // The installation that serves the program `path`: usable or not, null
  // only when the project file is malformed.
  Installation* For(TextView path);
  // Scans again the installation whose mod folder holds `path`; whether
  // there was one.
  bool RescanFor(TextView path);
  // Forgets every installation and where each folder's programs go: a
  // project, settings or rules file changed.
  void Forget();
  // How many times any mod folder was scanned, for the tests.
  size_t Scans() const;

 private:
  Installation& Make(const Workspace& workspace);
  void Build(Installation& installation);
  void ReportOnce(const Text& message, bool fault = true);

  InstallationRequest request_;
  std::shared_ptr<const FileTree> files_;
  Reporter report_;
  ProgramLayout layout_;
  SettingsState settings_;
  // By root, rule set and rule files.
  std::map<Text, std::unique_ptr<Installation>> installations_;
  // A program's folder to its installation's key; a malformed project file
  // to no key at all.
  std::map<Text, std::optional<Text>> folders_;
  std::vector<Text> reported_;
};

}  // namespace vt::lsp
