#include "app/main_routine.h"

#include "analysis/source_records.h"
#include "app/examine.h"
#include "app/main_window.h"
#include "app/settings.h"
#include "base/paths.h"
#include "catalogue/module_records.h"
#include "catalogue/module_scan.h"
#include "platform/file_system.h"
#include "platform/menu_tags.h"
#include "platform/screen.h"
#include "report/html_report.h"
#include "report/module_details.h"

namespace vt {

ShellState Shell;

namespace {

constexpr int kIdeStartPause = 1000;

void ShowHelpPage() { Html.ShowFile(Settings.ApplicationFolder + u"/index.htm"); }

void ScanIfRootFolderHoldsModules() {
  if (CheckRootFolder(false)) ScanModFolder();
}

void ExamineChosenFile() {
  if (!CheckRootFolder(true)) return;
  ExamineSource(CurrentScreen().OpenFileDialog(u"Select BMX source file ...", u"bmx"));
}

void ChooseRootFolder() {
  Text folder = CurrentScreen().ChooseFolderDialog(u"Choose BlitzMax ROOT folder");
  if (folder.empty()) return;
  folder = ForwardSlashes(folder);
  // A settings file that cannot be written is passed over in silence.
  WriteSettingsFile(folder);
  Settings.RootFolder = folder;
  ScanIfRootFolderHoldsModules();
}

void LaunchIdeUnlessRunning() {
  if (!CheckRootFolder(true)) return;
  if (Shell.IdeProcess && Shell.IdeProcess->IsRunning()) {
    CurrentScreen().InformationBox(u"Max IDE already running.");
    return;
  }
  LaunchIde();
}

// False when the loop is to be left.
bool HandleMenu(int tag) {
  switch (tag) {
    case kMenuExamine:
      ExamineChosenFile();
      break;
    case kMenuExit:
      return false;
    case kMenuRootFolder:
      ChooseRootFolder();
      break;
    case kMenuLaunchIde:
      LaunchIdeUnlessRunning();
      break;
    case kMenuModuleDetails:
      ShowModuleDetails();
      break;
    case kMenuContents:
      ShowHelpPage();
      break;
    case kMenuAbout:
      CurrentScreen().InformationBox(AboutText());
      break;
    default:
      break;
  }
  return true;
}

void EmptyGlobalLists() {
  for (const auto& module : Catalogue.ModList) {
    module->commands.clear();
    module->imports.clear();
    module->types.clear();
  }
  for (const auto& record : Analysis.SourceModList) {
    record->modules.clear();
    record->optionalModules.clear();
    record->words.clear();
    record->extraLines.clear();
  }
  Catalogue.CurrentScanEntry = nullptr;
  Catalogue.CurrentModule = nullptr;
  Analysis.CurrentSource = nullptr;
  Catalogue.ScanListList.clear();
  Analysis.SourceModList.clear();
  Catalogue.ModList.clear();
  Report.ReportLines.clear();
}

void EndLaunchedIdes() {
  for (const auto& process : Shell.LaunchedProcesses) process->Terminate();
  Shell.IdeProcess = nullptr;
  Shell.LaunchedProcesses.clear();
}

}  // namespace

Text IdeCommandLine() {
#if defined(_WIN32)
  return Settings.RootFolder + u"/MaxIDE.exe";
#else
  return Settings.RootFolder + u"/MaxIDE";
#endif
}

void LaunchIde() {
  std::unique_ptr<DetachedProcess> process = DetachedProcess::Start(IdeCommandLine());
  Shell.IdeProcess = process.get();
  if (process) Shell.LaunchedProcesses.push_back(std::move(process));
  PauseThread(kIdeStartPause);
  if (Shell.IdeProcess) return;
  CurrentScreen().InformationBox(
      u"Unable to launch the IDE.\n"
      u"Ensure the BLitzMax ROOT path has been\n"
      u"set up correctly. See 'Max' menu.");
}

Text AboutText() {
  return u"Veltrane v2.09\n\n"
         u"Finds the Framework and Import lines a BlitzMax program needs.\n\n"
         u"Written by the Veltrane developers.\n"
         u"Brought to Windows, macOS and Linux with Qt by the same team.";
}

void StartUp(const std::vector<Text>& arguments, TextView applicationFolder) {
  // A relative argument means the folder the user started from, which the
  // moves below would otherwise lose.
  Text startFolder = CurrentFolder();
  ResetSettingsState(applicationFolder);
  ResetCatalogueState();
  ResetAnalysisState();
  ResetReportState();
  Shell.IdeProcess = nullptr;
  Shell.LaunchedProcesses.clear();

  Screen& screen = CurrentScreen();
  screen.SetApplicationTitle(kApplicationTitle);
  ScanIfRootFolderHoldsModules();
  screen.CreateMainWindow(kWindowTitle);
  UpdateStatusLine();
  ShowHelpPage();
  ChangeFolder(Settings.ApplicationFolder);
  if (arguments.size() == 1) ExamineSource(AnchorPath(arguments[0], startFolder));
}

bool HandleEvent(const Event& event) {
  switch (event.kind) {
    case EventKind::Close:
    case EventKind::Terminate:
      return false;
    case EventKind::Drop:
      if (CheckRootFolder(true)) ExamineSource(event.text);
      return true;
    case EventKind::Menu:
      return HandleMenu(event.tag);
    case EventKind::None:
      return true;
  }
  return true;
}

void RunEventLoop() {
  while (HandleEvent(CurrentScreen().WaitEvent())) {
  }
}

void ShutDown() {
  EmptyGlobalLists();
  CurrentScreen().DestroyMainWindow();
  EndLaunchedIdes();
}

int MainRoutine(const std::vector<Text>& arguments, TextView applicationFolder) {
  StartUp(arguments, applicationFolder);
  RunEventLoop();
  ShutDown();
  return 0;
}

}  // namespace vt
