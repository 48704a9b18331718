#include "app/main_routine.h"

#include "app/catalogue_rebuild.h"
#include "app/examine.h"
#include "app/given_files.h"
#include "app/header_panel.h"
#include "app/main_window.h"
#include "app/pages.h"
#include "app/program_layout.h"
#include "app/recent_programs.h"
#include "app/rule_files.h"
#include "app/window_examine.h"
#include "app/workspace.h"
#include "base/paths.h"
#include "platform/file_system.h"
#include "platform/menu_tags.h"

namespace vt {

namespace {

void ShowHelpPage(AppState& state) {
  ShowFile(state.screen, state.Settings.Layout.HelpFolder + u"/index.htm");
}

bool CheckRootFolder(AppState& state, bool fromCommand) {
  return CheckRootFolder(state.Settings, state.screen, fromCommand);
}

// The rules meet the installation here: one of the user's that names a
// module it lacks is said, like the other rule file messages.
void RebuildCatalogueAndWarn(AppState& state) {
  RebuildCatalogue(state);
  for (const Text& warning : UninstalledRuleWarnings(state.Rules, state.Catalogue)) {
    state.screen.WarningBox(u"Rule file warning:\n" + warning);
  }
}

// The window finds the root, the rule set and the rule files as the command
// line does, from the project file beside the program given (or the start
// folder) on. A malformed project file is said, and left out.
Workspace WindowWorkspace(AppState& state, const Text& near) {
  WorkspaceRequest request{std::nullopt, std::nullopt, {}, near, ExecutableFolder()};
  Result<Workspace> workspace = ResolveWorkspace(request, state.Settings);
  if (workspace) return *workspace;
  state.screen.WarningBox(u"Project file not used:\n" + workspace.fault().message());
  request.near.clear();
  return *ResolveWorkspace(request, state.Settings);
}

// A root from vt.ini or the default is the window's own, checked when it is
// first needed; one the project file, BMXPATH or an installation around the
// program names is tried first, and kept when it holds "mod".
void UseWorkspaceRoot(AppState& state, const RootChoice& root) {
  if (root.kind == RootSource::Settings || root.kind == RootSource::Default) return;
  SettingsState candidate = state.Settings;
  candidate.RootFolder = root.folder;
  candidate.RootFolderVerified = false;
  if (CheckChosenRootFolder(candidate, state.screen)) state.Settings = candidate;
}

bool AdoptChosenRootFolder(AppState& state);

// Without a root that holds "mod" nothing can be examined: the user is
// offered the folder dialog at once.
void ScanIfRootFolderHoldsModules(AppState& state) {
  if (VerifyRootFolder(state.Settings)) {
    RebuildCatalogueAndWarn(state);
    return;
  }
  if (state.desktop->OfferFolderChoice(RootFolderMessage(state.Settings, false))) {
    AdoptChosenRootFolder(state);
  }
}

// A report made against the other installation must not stay on screen.
void ReexamineOrShowHelp(AppState& state) {
  // A copy: the examination sets it anew.
  Text program = state.Examine.MainSourcePath;
  if (!program.empty() && GetFileSize(program) > 0) {
    ShowHeaderPanel(state, program, ExamineInWindow(state, program));
  } else {
    HideHeaderPanel(state);
    ShowHelpPage(state);
  }
}

// The program goes first in the File menu's list, kept beside vt.ini, and
// its folder is where the next file dialog opens.
void RememberExamined(AppState& state) {
  ExamineState& examine = state.Examine;
  RememberProgram(examine.RecentPrograms, examine.MainSourcePath);
  examine.LastFolder = FolderPart(examine.MainSourcePath);
  const ProgramLayout& layout = state.Settings.Layout;
  if (PrepareSettingsFolder(layout)) {
    WriteRecentPrograms(RecentProgramsFile(layout.SettingsFolder), examine.RecentPrograms);
  }
  state.desktop->SetRecentPrograms(examine.RecentPrograms);
}

void LoadRecentPrograms(AppState& state) {
  ExamineState& examine = state.Examine;
  examine.RecentPrograms =
      ReadRecentPrograms(RecentProgramsFile(state.Settings.Layout.SettingsFolder));
  if (!examine.RecentPrograms.empty()) examine.LastFolder = FolderPart(examine.RecentPrograms[0]);
  state.desktop->SetRecentPrograms(examine.RecentPrograms);
}

// A file the user named, chose or dropped: what cannot be examined is said,
// in the words of the command line, rather than passed over without a sign.
void ExamineUserFile(AppState& state, const Text& path) {
  if (!EndsWith(Lower(path), u".bmx")) {
    state.screen.WarningBox(u"Not a BlitzMax source (.bmx): " + path);
    return;
  }
  ExaminedSource examination = ExamineInWindow(state, path);
  ShowHeaderPanel(state, state.Examine.MainSourcePath, examination);
  ExamineOutcome outcome = examination.outcome;
  if (outcome == ExamineOutcome::Ignored) {
    state.screen.WarningBox(u"Cannot read source file (missing, empty or unreadable): " + path);
    return;
  }
  if (outcome != ExamineOutcome::RootFolderMissing) RememberExamined(state);
}

// The files of `files` that no other of them reaches, as the command line
// takes a folder's.
std::vector<Text> MainFilesOf(AppState& state, const std::vector<Text>& files) {
  std::vector<std::vector<Text>> reached;
  for (const Text& file : files) {
    ExaminedSource walk = ExamineSource(state, file, PageChoice::Skip, ReasonChoice::Skip);
    std::vector<Text>& reachedHere = reached.emplace_back();
    for (const scanlisttype& entry : walk.walked) {
      if (entry.kind == EntryKind::Include || entry.kind == EntryKind::Imported) {
        reachedHere.push_back(entry.path);
      }
    }
  }
  std::vector<Text> mains;
  for (size_t main : MainFiles(files, reached)) mains.push_back(files[main]);
  return mains;
}

// A dropped folder stands for its main files: the first is examined, and
// every one goes on the recent list, one click away.
void ExamineDroppedFolder(AppState& state, const Text& folder) {
  std::vector<Text> mains = MainFilesOf(state, ExpandPaths({folder}, true).files);
  if (mains.empty()) {
    state.screen.WarningBox(u"No BlitzMax source (.bmx) in the folder:\n" + folder);
    return;
  }
  for (size_t i = mains.size(); i-- > 1;) RememberProgram(state.Examine.RecentPrograms, mains[i]);
  ExamineUserFile(state, mains.front());
  if (mains.size() == 1) return;
  UpdateStatusLine(state, Decimal(static_cast<long long>(mains.size())) +
                              u" programs in the folder; the others are in the File menu");
}

void ExamineDropped(AppState& state, const Text& path) {
  if (!CheckRootFolder(state, true)) return;
  if (GetFileKind(path) == FileKind::Folder) return ExamineDroppedFolder(state, path);
  ExamineUserFile(state, path);
}

void ExamineChosenFile(AppState& state) {
  if (!CheckRootFolder(state, true)) return;
  Text chosen = state.desktop->OpenFileDialog(u"Select BMX source file ...", u"bmx",
                                              state.Examine.LastFolder);
  if (!chosen.empty()) ExamineUserFile(state, chosen);
}

// A program that is gone leaves the list, and the user learns why.
void ForgetMissingProgram(AppState& state, size_t index) {
  ExamineState& examine = state.Examine;
  Text program = examine.RecentPrograms[index];
  examine.RecentPrograms.erase(examine.RecentPrograms.begin() +
                               static_cast<std::ptrdiff_t>(index));
  const ProgramLayout& layout = state.Settings.Layout;
  if (PrepareSettingsFolder(layout)) {
    WriteRecentPrograms(RecentProgramsFile(layout.SettingsFolder), examine.RecentPrograms);
  }
  state.desktop->SetRecentPrograms(examine.RecentPrograms);
  state.screen.WarningBox(u"The program is no longer there, so it was taken off the list:\n" +
                          program);
}

void ExamineRecentProgram(AppState& state, int tag) {
  size_t index = static_cast<size_t>(tag - kMenuRecentProgram);
  if (index >= state.Examine.RecentPrograms.size()) return;
  // A copy: remembering it reorders the list.
  Text program = state.Examine.RecentPrograms[index];
  if (GetFileKind(program) == FileKind::None) return ForgetMissingProgram(state, index);
  if (CheckRootFolder(state, true)) ExamineUserFile(state, program);
}

// A folder the user chose is tested before anything is saved or scanned:
// one without "mod" would replace a good root with one that finds nothing.
// True when the chosen folder is now the root.
bool AdoptChosenRootFolder(AppState& state) {
  Text chosen = state.desktop->ChooseFolderDialog(u"Choose BlitzMax ROOT folder");
  if (chosen.empty()) return false;
  SettingsState candidate = state.Settings;
  candidate.RootFolder = NormaliseRootFolder(chosen, kNativePathStyle);
  candidate.RootFolderVerified = false;
  if (!CheckChosenRootFolder(candidate, state.screen)) return false;
  // An installed program's data folder is made on first need.
  PrepareSettingsFolder(state.Settings.Layout);
  bool saved = WriteSettingsFile(state.Settings, candidate.RootFolder);
  state.Settings = candidate;
  // Unsaved, the old vt.ini would bring back the old folder next time: the
  // chosen one is kept for this run, and the user learns that it is not saved.
  if (!saved) {
    state.screen.WarningBox(u"Unable to save the BlitzMax ROOT folder in:\n" +
                                SettingsFilePath(state.Settings) +
                                u"\n\nIt is used until Veltrane is closed.");
  }
  RebuildCatalogueAndWarn(state);
  return true;
}

void ChooseRootFolder(AppState& state) {
  if (AdoptChosenRootFolder(state)) ReexamineOrShowHelp(state);
}

void LaunchIdeUnlessRunning(AppState& state) {
  if (!CheckRootFolder(state, true)) return;
  if (state.Shell.IdeProcess && state.Shell.IdeProcess->IsRunning()) {
    state.screen.InformationBox(u"Max IDE already running.");
    return;
  }
  LaunchIde(state);
}

// False when the loop is to be left.
bool HandleMenu(AppState& state, int tag) {
  switch (tag) {
    case kMenuExamine:
      ExamineChosenFile(state);
      break;
    case kMenuExit:
      return false;
    case kMenuReexamine:
      ReexamineOrShowHelp(state);
      break;
    case kMenuRootFolder:
      ChooseRootFolder(state);
      break;
    case kMenuLaunchIde:
      LaunchIdeUnlessRunning(state);
      break;
    case kMenuModuleDetails:
      ShowModuleDetails(state);
      break;
    case kMenuContents:
      ShowHelpPage(state);
      break;
    case kMenuAbout:
      state.screen.InformationBox(AboutText());
      break;
    case kMenuApplyHeaders:
      ApplyHeaderBlock(state);
      break;
    default:
      if (tag >= kMenuRecentProgram && tag < kMenuRecentProgram + int(kMostRecentPrograms)) {
        ExamineRecentProgram(state, tag);
      }
      break;
  }
  return true;
}

void EndLaunchedIdes(ShellState& shell) {
  for (const auto& process : shell.LaunchedProcesses) process->Terminate();
  shell.IdeProcess = nullptr;
  shell.LaunchedProcesses.clear();
}

}  // namespace

Text IdeCommandLine(const SettingsState& settings) {
  return settings.RootFolder + u"/MaxIDE" + Text(ExecutableSuffix());
}

void LaunchIde(AppState& state) {
  ShellState& shell = state.Shell;
  // The IDE starts where the tool's own files are, as it always has.
  std::unique_ptr<DetachedProcess> process = DetachedProcess::Start(
      IdeCommandLine(state.Settings), state.Settings.Layout.ProgramFolder);
  shell.IdeProcess = process.get();
  if (process) shell.LaunchedProcesses.push_back(std::move(process));
  if (shell.IdeProcess) return;
  state.screen.WarningBox(
      u"Unable to launch the IDE.\n"
      u"Ensure the BLitzMax ROOT path has been\n"
      u"set up correctly. See 'Max' menu.");
}

Text AboutText() {
  return Text(kWindowTitle) +
         u"\n\n"
         u"Finds the Framework and Import lines a BlitzMax program needs.\n\n"
         u"Written by the Veltrane developers.\n"
         u"Brought to Windows, macOS and Linux with Qt by the same team.";
}

void StartUp(AppState& state, const std::vector<Text>& arguments,
             TextView applicationFolder) {
  StartUp(state, arguments, PortableLayout(applicationFolder));
}

void StartUp(AppState& state, const std::vector<Text>& arguments,
             const ProgramLayout& layout) {
  // A relative argument means the folder the user started from.
  Text startFolder = CurrentFolder();
  state.Reset(layout);

  DesktopScreen& screen = *state.desktop;
  screen.SetApplicationTitle(kApplicationTitle);
  Text program = arguments.size() == 1 ? AnchorPath(arguments[0], startFolder) : Text();
  Workspace workspace = WindowWorkspace(state, program.empty() ? startFolder : FolderPart(program));
  LoadedRules rules = LoadRules(layout, workspace.rulesFiles);
  state.Rules = std::move(rules.book);
  state.RuleSetChoice = workspace.ruleSet;
  for (const Text& error : rules.errors) screen.WarningBox(u"Rule file not used:\n" + error);
  UseWorkspaceRoot(state, workspace.root);
  ScanIfRootFolderHoldsModules(state);
  // Beside vt.ini, in a file of the window's own.
  screen.KeepWindowPlaceIn(JoinPath(state.Settings.Layout.SettingsFolder, u"window.ini"));
  screen.CreateMainWindow(kWindowTitle);
  LoadRecentPrograms(state);
  UpdateStatusLine(state);
  ShowHelpPage(state);
  if (!program.empty()) ExamineUserFile(state, program);
}

bool HandleEvent(AppState& state, const Event& event) {
  switch (event.kind) {
    case EventKind::Close:
    case EventKind::Terminate:
      return false;
    case EventKind::Drop:
      ExamineDropped(state, event.text);
      return true;
    case EventKind::Menu:
      return HandleMenu(state, event.tag);
    case EventKind::Block:
      ChooseHeaderBlock(state, static_cast<size_t>(event.tag));
      return true;
    case EventKind::Copy:
      CopyHeaderBox(state, static_cast<size_t>(event.tag));
      return true;
    case EventKind::None:
      return true;
  }
  return true;
}

void RunEventLoop(AppState& state) {
  while (HandleEvent(state, state.desktop->WaitEvent())) {
  }
}

void ShutDown(AppState& state) {
  state.Catalogue.Clear();
  state.Report.ReportLines.clear();
  state.desktop->DestroyMainWindow();
  EndLaunchedIdes(state.Shell);
}

int MainRoutine(DesktopScreen& screen, const std::vector<Text>& arguments,
                const ProgramLayout& layout) {
  AppState state(screen, layout);
  // The window examines the same program again and again.
  state.Memo = std::make_unique<ExaminationMemo>();
  StartUp(state, arguments, layout);
  RunEventLoop(state);
  ShutDown(state);
  return 0;
}

}  // namespace vt
