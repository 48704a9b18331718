#include "app/main_routine.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>

#include "app/examine.h"
#include "app/pages.h"
#include "app/settings.h"
#include "catalogue/module_records.h"
#include "platform/file_system.h"
#include "platform/menu_tags.h"
#include "report/html_report.h"
#include "support/test_support.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <signal.h>
#endif

namespace vt {
namespace {

using testing::HeadlessScreen;
using testing::ReadFileBytes;
using testing::Show;
using testing::TempFolder;

const Text kShortMessage =
    u"Please set the correct BlitzMax ROOT folder\nfirst via the 'Max' menu.";

// Keeps every label text and lets a test act while a box is open.
class RecordingScreen : public HeadlessScreen {
 public:
  void SetLabelText(const Text& text) override {
    HeadlessScreen::SetLabelText(text);
    labels.push_back(text);
  }
  void InformationBox(const Text& text) override {
    HeadlessScreen::InformationBox(text);
    if (whileBoxIsOpen) whileBoxIsOpen();
  }
  std::vector<Text> labels;
  std::function<void()> whileBoxIsOpen;
};

// Waits, without judging how long things take, for what another process does.
bool Eventually(const std::function<bool()>& condition) {
  for (int i = 0; i < 2000; ++i) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return condition();
}

// A run of its own on the recording screen; the current folder is put back
// afterwards.
class MainRoutineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root.WriteFile(u"mod/brl.mod/retro.mod/retro.bmx",
                   "Module BRL.Retro\r\nFunction Left$(s$, n)\r\nEnd Function\r\n"
                   "Function Right$(s$, n)\r\nEnd Function\r\n");
    root.WriteFile(u"mod/brl.mod/standardio.mod/standardio.bmx",
                   "Module BRL.StandardIO\r\nFunction Print(s$)\r\nEnd Function\r\n");
    app.WriteFile(u"index.htm", "<html><body>help</body></html>\r\n");
    work.WriteFile(u"one.bmx", "Print Left(\"abc\", 1)\r\n");
    work.WriteFile(u"two.bmx", "Print \"two\"\r\n");
    work.WriteFile(u"three.bmx", "Print Right(\"abc\", 1)\r\n");
    work.WriteFile(u"empty.bmx", "");
  }
  void TearDown() override {
    ShutDown(state);  // ends any stand-in IDE a test left running
    testing::EnterFolder(savedFolder_);
  }

  void UseRoot(const Text& folder) { app.WriteFile(u"vt.ini", ToUtf8(folder) + "\r\n"); }
  void StartWith(std::vector<Text> arguments) { StartUp(state, arguments, app.Path()); }
  Text ReportPage() const { return app / u"results.htm"; }
  Text Help() const { return app / u"index.htm"; }

  Text savedFolder_ = CurrentFolder();
  RecordingScreen shell;
  TempFolder app;
  TempFolder root;
  TempFolder work;
  AppState state{shell, app.Path()};
};

TEST_F(MainRoutineTest, StartUpScansBuildsTheWindowAndShowsTheHelpPage) {
  UseRoot(root.Path());
  testing::EnterFolder(work.Path());
  StartWith({});
  EXPECT_EQ(shell.applicationTitle, u"Veltrane");
  EXPECT_EQ(shell.windowTitle, u"Veltrane v2.09");
  EXPECT_EQ(shell.windowsCreated, 1);
  // The status line names the installation the counts come from.
  EXPECT_EQ(shell.statusText, u"Modules scanned: 2   Commands found: 3   Root: " + root.Path());
  EXPECT_EQ(shell.shownFiles, std::vector<Text>{Help()});
  // Nothing moves the process: later relative paths mean what they meant.
  EXPECT_EQ(CurrentFolder(), work.Path());
  EXPECT_TRUE(shell.messages.empty());
}

// The window finds a program's installation and rules as the command line
// does: the project file beside the program names them over vt.ini; a
// malformed one is said and left out.
TEST_F(MainRoutineTest, TheProjectFileBesideTheProgramNamesRootAndRules) {
  UseRoot(root.Path());
  TempFolder other;
  other.WriteFile(u"mod/brl.mod/standardio.mod/standardio.bmx",
                  "Module BRL.StandardIO\r\nFunction Print(s$)\r\nEnd Function\r\n");
  work.WriteFile(u"veltrane.toml", "root = \"" + ToUtf8(other.Path()) +
                                       "\"\nrules = \"modern\"\nrules_files = [\"own.txt\"]\n");
  work.WriteFile(u"own.txt", "[modern]\nfile .dat BRL.StandardIO -- data file\n");
  StartWith({work / u"two.bmx"});
  EXPECT_TRUE(shell.messages.empty()) << Show(shell.messages.empty() ? Text() : shell.messages[0]);
  EXPECT_EQ(state.Settings.RootFolder, other.Path());
  EXPECT_EQ(state.Catalogue.ModList.size(), 1u);
  EXPECT_EQ(state.RuleSetChoice, RuleSetKind::Modern);
  EXPECT_EQ(state.Rules.modern.loaders.size(), BuiltInRules().modern.loaders.size() + 1);

  work.WriteFile(u"veltrane.toml", "root = 3\n");
  StartWith({work / u"two.bmx"});
  ASSERT_FALSE(shell.messages.empty());
  EXPECT_EQ(Show(shell.messages[0]).rfind("Project file not used:\n" + ToUtf8(work / u"veltrane.toml") + ":1:", 0), 0u)
      << Show(shell.messages[0]);
  EXPECT_EQ(state.Settings.RootFolder, root.Path());
  EXPECT_EQ(state.Catalogue.ModList.size(), 2u);
}

TEST_F(MainRoutineTest, OnlyASingleArgumentIsExamined) {
  UseRoot(root.Path());
  StartWith({work / u"one.bmx", work / u"two.bmx"});
  EXPECT_EQ(shell.shownFiles, std::vector<Text>{Help()});
  EXPECT_EQ(GetFileKind(ReportPage()), FileKind::None);

  StartWith({work / u"one.bmx"});
  EXPECT_EQ(shell.shownFiles.back(), ReportPage());
  std::string report = ReadFileBytes(ReportPage());
  EXPECT_NE(report.find("Framework BRL.StandardIO"), std::string::npos);

  // The module page has a file of its own: the last report stays.
  HandleEvent(state, MenuEvent(kMenuModuleDetails));
  EXPECT_EQ(shell.shownFiles.back(), app / u"modules.htm");
  EXPECT_EQ(ReadFileBytes(ReportPage()), report);
}

// The user names the file from where they stand; start-up moving to the
// program's folder must not make the name miss.
TEST_F(MainRoutineTest, RelativeArgumentCountsFromTheStartingFolder) {
  UseRoot(root.Path());
  testing::EnterFolder(work.Path());
  StartWith({u"one.bmx"});
  EXPECT_EQ(state.Examine.MainSourcePath, work / u"one.bmx");
  EXPECT_EQ(shell.shownFiles.back(), ReportPage());
}

TEST_F(MainRoutineTest, WrongRootGivesBothMessagesInOrderAndNoReport) {
  UseRoot(root / u"nowhere");
  StartWith({work / u"one.bmx"});
  ASSERT_EQ(shell.messages.size(), 2u);
  EXPECT_EQ(shell.messages[0], RootFolderMessage(state.Settings, false));
  EXPECT_NE(shell.messages[0].find(root / u"nowhere"), Text::npos);
  EXPECT_EQ(shell.messages[1], kShortMessage);
  EXPECT_EQ(Show(shell.statusText), "Modules scanned: 0   Commands found: 0");
  EXPECT_EQ(shell.shownFiles, std::vector<Text>{Help()});
}

TEST_F(MainRoutineTest, LoopEndsOnCloseTerminateOrExitAndLeavesLaterEventsQueued) {
  UseRoot(root.Path());
  StartWith({});
  for (Event last : {CloseEvent(), TerminateEvent(), MenuEvent(kMenuExit)}) {
    shell.events.Post(Event());
    shell.events.Post(MenuEvent(999));
    shell.events.Post(last);
    shell.events.Post(MenuEvent(kMenuAbout));
    RunEventLoop(state);
    EXPECT_EQ(shell.events.Size(), 1u);
    EXPECT_TRUE(shell.messages.empty());
    shell.events.Take();
  }
}

TEST_F(MainRoutineTest, EventsDuringAHandlerWaitTheirTurn) {
  UseRoot(root.Path());
  StartWith({});
  shell.whileBoxIsOpen = [this] {
    shell.whileBoxIsOpen = nullptr;
    shell.events.Post(MenuEvent(kMenuContents));
    EXPECT_EQ(shell.shownFiles.size(), 1u);  // nothing runs inside the box
  };
  shell.events.Post(MenuEvent(kMenuAbout));
  RunEventLoop(state);
  EXPECT_EQ(shell.messages.size(), 1u);
  EXPECT_EQ(shell.shownFiles, (std::vector<Text>{Help(), Help()}));
}

TEST_F(MainRoutineTest, DroppedFilesAreExaminedInTheirOrder) {
  UseRoot(root.Path());
  StartWith({});
  shell.labels.clear();
  work.WriteFile(u"notes.txt", "Print 1\r\n");
  for (const char16_t* name : {u"three.bmx", u"one.bmx", u"empty.bmx", u"notes.txt", u"two.bmx"}) {
    shell.events.Post(DropEvent(work / name));
  }
  RunEventLoop(state);
  EXPECT_EQ(shell.labels,
            (std::vector<Text>{u"Scanning: " + work / u"three.bmx", u"HTML Report:",
                               u"Scanning: " + work / u"one.bmx", u"HTML Report:",
                               u"Scanning: " + work / u"two.bmx", u"HTML Report:"}));
  EXPECT_EQ(shell.shownFiles.size(), 4u);
  EXPECT_NE(ReadFileBytes(ReportPage()).find("two.bmx"), std::string::npos);
  // What cannot be examined is said, as the command line says it.
  EXPECT_EQ(shell.messages,
            (std::vector<Text>{
                u"Cannot read source file (missing, empty or unreadable): " + work / u"empty.bmx",
                u"Not a BlitzMax source (.bmx): " + work / u"notes.txt"}));
}

// A dropped folder stands for its main files, as on the command line: a
// file another one includes is none, the first main file is examined and
// every one is on the recent list; a folder without sources is said.
TEST_F(MainRoutineTest, ADroppedFolderIsItsMainFiles) {
  UseRoot(root.Path());
  StartWith({});
  TempFolder project;
  project.WriteFile(u"game.bmx", "Include \"inc/lib.bmx\"\r\nPrint Left(\"abc\", 1)\r\n");
  project.WriteFile(u"inc/lib.bmx", "Print Right(\"abc\", 1)\r\n");
  project.WriteFile(u"tool.bmx", "Print \"tool\"\r\n");
  TempFolder bare;
  bare.WriteFile(u"notes.txt", "none");
  shell.messages.clear();
  shell.events.Post(DropEvent(project.Path()));
  shell.events.Post(DropEvent(bare.Path()));
  RunEventLoop(state);
  EXPECT_EQ(state.Examine.MainSourcePath, project / u"game.bmx");
  EXPECT_EQ(shell.recentPrograms, (std::vector<Text>{project / u"game.bmx", project / u"tool.bmx"}));
  EXPECT_NE(shell.statusText.find(u"2 programs in the folder"), Text::npos);
  EXPECT_EQ(shell.warnings,
            std::vector<Text>{u"No BlitzMax source (.bmx) in the folder:\n" + bare.Path()});
}

TEST_F(MainRoutineTest, DropWithWrongRootOnlyAsksForTheRoot) {
  UseRoot(root / u"nowhere");
  StartWith({});
  shell.messages.clear();
  shell.events.Post(DropEvent(work / u"one.bmx"));
  RunEventLoop(state);
  EXPECT_EQ(shell.messages, std::vector<Text>{kShortMessage});
  EXPECT_EQ(shell.shownFiles.size(), 1u);
}

TEST_F(MainRoutineTest, ExamineMenuAsksForASourceOnlyWhenTheRootIsRight) {
  UseRoot(root / u"nowhere");
  StartWith({});
  shell.messages.clear();
  shell.events.Post(MenuEvent(kMenuExamine));
  RunEventLoop(state);
  EXPECT_TRUE(shell.dialogs.empty());
  EXPECT_EQ(shell.messages, std::vector<Text>{kShortMessage});

  UseRoot(root.Path());
  shell.dialogAnswers = {work / u"one.bmx"};
  shell.events.Post(MenuEvent(kMenuExamine));
  shell.events.Post(MenuEvent(kMenuExamine));  // cancelled
  RunEventLoop(state);
  ASSERT_EQ(shell.dialogs.size(), 2u);
  EXPECT_FALSE(shell.dialogs[0].chooseFolder);
  EXPECT_EQ(shell.dialogs[0].title, u"Select BMX source file ...");
  EXPECT_EQ(shell.dialogs[0].extension, u"bmx");
  EXPECT_EQ(shell.shownFiles, (std::vector<Text>{Help(), ReportPage()}));
  EXPECT_EQ(shell.messages.size(), 1u);
}

TEST_F(MainRoutineTest, ChosenRootFolderIsKeptCheckedAndScanned) {
  UseRoot(root / u"nowhere");
  StartWith({});
  std::string before = ReadFileBytes(app / u"vt.ini");
  shell.events.Post(MenuEvent(kMenuRootFolder));  // cancelled
  RunEventLoop(state);
  ASSERT_EQ(shell.dialogs.size(), 1u);
  EXPECT_TRUE(shell.dialogs[0].chooseFolder);
  EXPECT_EQ(shell.dialogs[0].title, u"Choose BlitzMax ROOT folder");
  EXPECT_EQ(ReadFileBytes(app / u"vt.ini"), before);
  EXPECT_EQ(state.Settings.RootFolder, root / u"nowhere");

  Text chosen = root.Path() + u"/";
  if (kNativePathStyle == PathStyle::Windows) {
    for (char16_t& c : chosen)
      if (c == u'/') c = u'\\';
  }
  shell.dialogAnswers = {chosen};
  shell.events.Post(MenuEvent(kMenuRootFolder));
  RunEventLoop(state);
  EXPECT_EQ(ReadFileBytes(app / u"vt.ini"), ToUtf8(root.Path()) + "\r\n");
  EXPECT_EQ(state.Settings.RootFolder, root.Path());
  EXPECT_EQ(shell.statusText, u"Modules scanned: 2   Commands found: 3   Root: " + root.Path());
  EXPECT_EQ(shell.messages.size(), 1u);  // only the one at start-up

  // A folder without "mod" after a good one is refused before anything is
  // saved or scanned: the old root, vt.ini and catalogue stay.
  shell.dialogAnswers = {work.Path()};
  shell.events.Post(MenuEvent(kMenuRootFolder));
  RunEventLoop(state);
  EXPECT_EQ(shell.messages.back(), u"Unable to find BlitzMax 'MOD' folder in: \n" + work.Path() +
                                       u"\n\nPlease set the correct BlitzMax ROOT\nfolder via the Max menu");
  EXPECT_EQ(ReadFileBytes(app / u"vt.ini"), ToUtf8(root.Path()) + "\r\n");
  EXPECT_EQ(state.Settings.RootFolder, root.Path());
  EXPECT_EQ(state.Catalogue.ModList.size(), 2u);
}

// The File menu lists the programs examined last, newest first, from a file
// of the tool's own beside vt.ini; the file dialog opens in the last folder.
TEST_F(MainRoutineTest, RecentProgramsAreKeptBesideVtIniAndOneClickAway) {
  UseRoot(root.Path());
  std::string settings = ReadFileBytes(app / u"vt.ini");
  StartWith({work / u"one.bmx"});
  shell.events.Post(DropEvent(work / u"two.bmx"));
  shell.events.Post(DropEvent(work / u"one.bmx"));
  RunEventLoop(state);
  EXPECT_EQ(shell.recentPrograms, (std::vector<Text>{work / u"one.bmx", work / u"two.bmx"}));
  EXPECT_EQ(ReadFileBytes(app / u"vt.ini"), settings) << "vt.ini keeps its one line";

  RecordingScreen next;
  AppState later{next, app.Path()};
  StartUp(later, {}, app.Path());
  EXPECT_EQ(next.recentPrograms, shell.recentPrograms);
  next.events.Post(MenuEvent(kMenuRecentProgram + 1));
  next.events.Post(MenuEvent(kMenuExamine));
  RunEventLoop(later);
  EXPECT_EQ(later.Examine.MainSourcePath, work / u"two.bmx");
  ASSERT_EQ(next.dialogs.size(), 1u);
  EXPECT_EQ(next.dialogs[0].folder, work.Path());
  ShutDown(later);
}

// The report on screen is made again after the program changed (Examine
// again, F5) and against the new installation after the root changed.
TEST_F(MainRoutineTest, EditsAndANewRootAreExaminedAgain) {
  UseRoot(root.Path());
  StartWith({work / u"one.bmx"});
  ASSERT_NE(ReadFileBytes(ReportPage()).find("BRL.Retro"), std::string::npos);
  work.WriteFile(u"one.bmx", "Print 1\r\n");
  shell.events.Post(MenuEvent(kMenuReexamine));
  RunEventLoop(state);
  EXPECT_EQ(ReadFileBytes(ReportPage()).find("BRL.Retro"), std::string::npos);

  work.WriteFile(u"one.bmx", "Print Left(\"abc\", 1)\r\n");
  TempFolder other;
  other.WriteFile(u"mod/brl.mod/retro.mod/retro.bmx",
                  "Module BRL.Retro\r\nFunction Left$(s$, n)\r\nEnd Function\r\n");
  shell.dialogAnswers = {other.Path()};
  shell.events.Post(MenuEvent(kMenuRootFolder));
  RunEventLoop(state);
  EXPECT_EQ(shell.shownFiles.back(), ReportPage());
  std::string report = ReadFileBytes(ReportPage());
  EXPECT_NE(report.find("BRL.Retro"), std::string::npos);
  EXPECT_EQ(report.find("BRL.StandardIO"), std::string::npos) << "made against the new root";
}

// A vt.ini that cannot be written must neither go unmentioned nor bring the
// old folder back.
TEST_F(MainRoutineTest, UnsavableRootFolderIsSaidAndKeptForTheRun) {
  UseRoot(root / u"nowhere");
  StartWith({});
  shell.messages.clear();
  shell.dialogAnswers = {root.Path()};
  shell.events.Post(MenuEvent(kMenuRootFolder));
  {
    testing::WithoutPrivileges user;
    if (!user.Bound()) GTEST_SKIP() << "file permissions do not bind this user";
    RunEventLoop(state);
  }
  EXPECT_EQ(ReadFileBytes(app / u"vt.ini"), ToUtf8(root / u"nowhere") + "\r\n");
  EXPECT_EQ(shell.messages,
            std::vector<Text>{u"Unable to save the BlitzMax ROOT folder in:\n" + (app / u"vt.ini") +
                              u"\n\nIt is used until Veltrane is closed."});
  EXPECT_EQ(state.Settings.RootFolder, root.Path());
  EXPECT_EQ(shell.statusText, u"Modules scanned: 2   Commands found: 3   Root: " + root.Path());
}

// An installed copy's folder is often read-only: the window must say that
// the report could not be written, not show the one of an earlier run.
TEST_F(MainRoutineTest, UnwritableReportIsSaidAndNoOlderPageIsShown) {
  UseRoot(root.Path());
  StartWith({work / u"one.bmx"});
  std::string first = ReadFileBytes(ReportPage());
  ASSERT_NE(first.find("one.bmx"), std::string::npos);
  shell.shownFiles.clear();
  shell.events.Post(DropEvent(work / u"two.bmx"));
  namespace fs = std::filesystem;
  fs::permissions(ToUtf8(app.Path()), fs::perms::all & ~fs::perms::owner_write &
                                          ~fs::perms::group_write & ~fs::perms::others_write);
  {
    testing::WithoutPrivileges user;
    if (!user.Bound()) GTEST_SKIP() << "file permissions do not bind this user";
    RunEventLoop(state);
  }
  fs::permissions(ToUtf8(app.Path()), fs::perms::owner_all, fs::perm_options::add);
  EXPECT_EQ(ReadFileBytes(ReportPage()), first);
  EXPECT_TRUE(shell.shownFiles.empty());
  EXPECT_EQ(shell.viewsCleared, 1);
  EXPECT_EQ(shell.messages, std::vector<Text>{u"Unable to write the report:\n" + ReportPage()});
  EXPECT_TRUE(shell.viewVisible);
}

TEST_F(MainRoutineTest, ReportNeverReplacesTheExaminedSource) {
  UseRoot(root.Path());
  StartWith({});
  work.WriteFile(u"main.bmx", "Include \"one.bmx\"\r\n");
  for (const char16_t* page : {u"main.bmx", u"one.bmx"}) {
    state.Report.ReportFile = work / page;
    shell.messages.clear();
    ExaminedSource examination = ExamineSource(state, work / u"main.bmx");
    EXPECT_EQ(examination.outcome, ExamineOutcome::ReportRefused) << Show(page);
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_NE(shell.messages[0].find(u"so it was not written"), Text::npos);
  }
  EXPECT_EQ(ReadFileBytes(work / u"main.bmx"), "Include \"one.bmx\"\r\n");
  EXPECT_EQ(ReadFileBytes(work / u"one.bmx"), "Print Left(\"abc\", 1)\r\n");

  state.Report.ReportFile = root / u"mod/brl.mod/results.htm";
  EXPECT_EQ(ExamineSource(state, work / u"main.bmx").outcome, ExamineOutcome::ReportRefused);
  EXPECT_EQ(GetFileKind(root / u"mod/brl.mod/results.htm"), FileKind::None);
  EXPECT_FALSE(ShowModuleDetails(state));
}

TEST_F(MainRoutineTest, ModuleDetailsHelpAndAboutNeedNoRoot) {
  UseRoot(root / u"nowhere");
  StartWith({});
  shell.messages.clear();
  shell.events.Post(MenuEvent(kMenuModuleDetails));
  shell.events.Post(MenuEvent(kMenuContents));
  shell.events.Post(MenuEvent(kMenuAbout));
  RunEventLoop(state);
  EXPECT_EQ(shell.shownFiles, (std::vector<Text>{Help(), app / u"modules.htm", Help()}));
  EXPECT_NE(ReadFileBytes(app / u"modules.htm").find("<strong>Module</strong>"),
            std::string::npos);
  ASSERT_EQ(shell.messages.size(), 1u);
  EXPECT_EQ(shell.messages[0].rfind(u"Veltrane v2.09\n\n", 0), 0u);
  EXPECT_GT(shell.messages[0].size(), Text(u"Veltrane v2.09\n\n").size());
}

TEST_F(MainRoutineTest, MissingHelpPageNamesTheFullPath) {
  UseRoot(root.Path());
  std::filesystem::remove(ToUtf8(Help()));
  StartWith({});
  shell.events.Post(MenuEvent(kMenuContents));
  RunEventLoop(state);
  Text message = u"HTML file error. Unable to view:\n" + Help();
  EXPECT_EQ(shell.messages, (std::vector<Text>{message, message}));
  EXPECT_TRUE(shell.shownFiles.empty());
}

TEST_F(MainRoutineTest, ShutDownEmptiesEveryListAndRemovesTheWindow) {
  UseRoot(root.Path());
  StartWith({});
  ASSERT_EQ(state.Catalogue.ModList.size(), 2u);
  ASSERT_TRUE(shell.hasWindow);
  ShutDown(state);
  EXPECT_FALSE(shell.hasWindow);
  EXPECT_TRUE(state.Catalogue.ModList.empty());
  EXPECT_TRUE(state.Report.ReportLines.empty());
}

// The stand-in IDEs: one notes where it runs, starts a child of its own and
// waits for it; the chatty one fills its output streams and ends.
enum class StandIn { Waiting, Chatty };

#if defined(_WIN32)

// A program built with the tests (support/stand_in_ide.cpp), copied in as
// MaxIDE.exe; a file "chatty" beside it makes it the chatty one.
void InstallStandIn(const TempFolder& root, StandIn kind, TextView folder = u"") {
  Text target = folder.empty() ? root / u"MaxIDE.exe" : root / (Text(folder) + u"/MaxIDE.exe");
  std::filesystem::create_directories(testing::NativePath(target).parent_path());
  std::filesystem::copy_file(VELTRANE_STAND_IN_IDE, testing::NativePath(target),
                             std::filesystem::copy_options::overwrite_existing);
  if (kind == StandIn::Chatty) root.WriteFile(u"chatty", "");
}

bool ProcessGone(int pid) {
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(pid));
  if (!process) return true;
  bool ended = WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
  CloseHandle(process);
  return ended;
}

void KillProcess(int pid) {
  HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, static_cast<DWORD>(pid));
  if (!process) return;
  TerminateProcess(process, 1);
  WaitForSingleObject(process, INFINITE);
  CloseHandle(process);
}

#else

constexpr char kWaitingIde[] =
    "#!/bin/sh\n"
    "dir=$(dirname \"$0\")\n"
    "pwd > \"$dir/cwd.tmp\" && mv \"$dir/cwd.tmp\" \"$dir/cwd\"\n"
    "sleep 300 &\n"
    "echo $$ $! > \"$dir/pids.tmp\" && mv \"$dir/pids.tmp\" \"$dir/pids\"\n"
    "wait\n";

constexpr char kChattyIde[] =
    "#!/bin/sh\n"
    "i=0\n"
    "while [ $i -lt 4000 ]; do\n"
    "  echo 'a line of output that nobody will ever read, padded out'\n"
    "  echo 'and another one on the error stream' >&2\n"
    "  i=$((i+1))\n"
    "done\n";

void InstallStandIn(const TempFolder& root, StandIn kind, TextView folder = u"") {
  Text target = folder.empty() ? Text(u"MaxIDE") : Text(folder) + u"/MaxIDE";
  root.WriteFile(target, kind == StandIn::Chatty ? kChattyIde : kWaitingIde);
  std::filesystem::permissions(testing::NativePath(root / target),
                               std::filesystem::perms::owner_exec,
                               std::filesystem::perm_options::add);
}

bool ProcessGone(int pid) {
  if (kill(pid, 0) != 0) return true;
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), {});
  size_t close = text.rfind(')');
  return close != std::string::npos && close + 2 < text.size() && text[close + 2] == 'Z';
}

void KillProcess(int pid) { kill(pid, SIGKILL); }

#endif

class IdeLaunchTest : public MainRoutineTest {
 protected:
  void InstallIde(StandIn kind) { InstallStandIn(root, kind); }
#if !defined(_WIN32)
  void InstallIde(std::string_view script) {
    root.WriteFile(u"MaxIDE", script);
    std::filesystem::permissions(testing::NativePath(root / u"MaxIDE"),
                                 std::filesystem::perms::owner_exec,
                                 std::filesystem::perm_options::add);
  }
#endif
  void ChooseMenu(int tag) {
    shell.events.Post(MenuEvent(tag));
    RunEventLoop(state);
  }
  // The ids of the stand-in and of its child, once it has written them.
  std::pair<int, int> StandInPids() {
    EXPECT_TRUE(
        Eventually([&] { return GetFileKind(root / u"pids") == FileKind::File; }));
    std::istringstream in(ReadFileBytes(root / u"pids"));
    std::pair<int, int> pids{0, 0};
    in >> pids.first >> pids.second;
    return pids;
  }
};

TEST_F(IdeLaunchTest, CommandLineIsTheRootFoldersMaxIde) {
#if defined(_WIN32)
  state.Settings.RootFolder = u"C:/Program Files/BlitzMax";
  EXPECT_EQ(IdeCommandLine(state.Settings), u"C:/Program Files/BlitzMax/MaxIDE.exe");
#else
  state.Settings.RootFolder = u"/opt/Blitz Max";
  EXPECT_EQ(IdeCommandLine(state.Settings), u"/opt/Blitz Max/MaxIDE");
#endif
}

TEST_F(IdeLaunchTest, MissingIdeIsReported) {
  UseRoot(root.Path());
  StartWith({});
  ChooseMenu(kMenuLaunchIde);
  EXPECT_EQ(state.Shell.IdeProcess, nullptr);
  EXPECT_EQ(shell.messages, std::vector<Text>{u"Unable to launch the IDE.\n"
                                              u"Ensure the BLitzMax ROOT path has been\n"
                                              u"set up correctly. See 'Max' menu."});
}

TEST_F(IdeLaunchTest, WrongRootLaunchesNothing) {
  UseRoot(root / u"nowhere");
  InstallIde(StandIn::Waiting);
  StartWith({});
  shell.messages.clear();
  ChooseMenu(kMenuLaunchIde);
  EXPECT_EQ(shell.messages, std::vector<Text>{kShortMessage});
  EXPECT_EQ(state.Shell.IdeProcess, nullptr);
}

TEST_F(IdeLaunchTest, SecondLaunchWhileRunningIsRefusedAndQuittingEndsIdeAndChild) {
  UseRoot(root.Path());
  InstallIde(StandIn::Waiting);
  StartWith({});
  ChooseMenu(kMenuLaunchIde);
  ASSERT_NE(state.Shell.IdeProcess, nullptr);
  auto [ide, child] = StandInPids();
  EXPECT_EQ(ReadFileBytes(root / u"cwd"), ToUtf8(app.Path()) + "\n");
  EXPECT_TRUE(shell.messages.empty());

  ChooseMenu(kMenuLaunchIde);
  EXPECT_EQ(shell.messages, std::vector<Text>{u"Max IDE already running."});

  shell.events.Post(MenuEvent(kMenuExit));
  RunEventLoop(state);
  ShutDown(state);
  EXPECT_TRUE(Eventually([&] { return ProcessGone(ide); }));
  EXPECT_TRUE(Eventually([&] { return ProcessGone(child); }));
}

TEST_F(IdeLaunchTest, ClosedIdeCanBeLaunchedAgain) {
  UseRoot(root.Path());
  InstallIde(StandIn::Waiting);
  StartWith({});
  ChooseMenu(kMenuLaunchIde);
  auto [ide, child] = StandInPids();
  KillProcess(child);
  KillProcess(ide);
  ASSERT_TRUE(Eventually([this] { return !state.Shell.IdeProcess->IsRunning(); }));
  std::filesystem::remove(ToUtf8(root / u"pids"));

  ChooseMenu(kMenuLaunchIde);
  EXPECT_TRUE(shell.messages.empty());
  EXPECT_NE(StandInPids().first, ide);
}

// An IDE with unsaved work is asked to end before it is forced, and gets the
// time to save.
TEST_F(IdeLaunchTest, QuittingAsksTheIdeFirstSoItCanSave) {
#if defined(_WIN32)
  GTEST_SKIP() << "the stand-in IDE has no window to be asked to close, and a headless "
                  "Wine shows none";
#else
  UseRoot(root.Path());
  InstallIde(
      "#!/bin/sh\n"
      "dir=$(dirname \"$0\")\n"
      "trap 'sleep 0.2; echo saved > \"$dir/saved\"; exit 0' TERM\n"
      "echo $$ > \"$dir/pids.tmp\" && mv \"$dir/pids.tmp\" \"$dir/pids\"\n"
      "while :; do sleep 0.05; done\n");
  StartWith({});
  ChooseMenu(kMenuLaunchIde);
  ASSERT_NE(state.Shell.IdeProcess, nullptr);
  int ide = StandInPids().first;
  ShutDown(state);
  EXPECT_EQ(ReadFileBytes(root / u"saved"), "saved\n");
  EXPECT_TRUE(ProcessGone(ide));
#endif
}

TEST_F(IdeLaunchTest, IdeThatIgnoresTheRequestIsForcedAfterTheWait) {
  UseRoot(root.Path());
#if defined(_WIN32)
  // Without a window it never hears the request.
  InstallIde(StandIn::Waiting);
#else
  InstallIde(
      "#!/bin/sh\n"
      "dir=$(dirname \"$0\")\n"
      "trap '' TERM\n"
      "sleep 300 &\n"
      "echo $$ $! > \"$dir/pids.tmp\" && mv \"$dir/pids.tmp\" \"$dir/pids\"\n"
      "while :; do wait; done\n");
#endif
  StartWith({});
  ChooseMenu(kMenuLaunchIde);
  ASSERT_NE(state.Shell.IdeProcess, nullptr);
  auto [ide, child] = StandInPids();
  state.Shell.IdeProcess->Terminate(100);
  EXPECT_FALSE(state.Shell.IdeProcess->IsRunning());
  EXPECT_TRUE(ProcessGone(ide));
  EXPECT_TRUE(Eventually([&] { return ProcessGone(child); }));
}

// Nobody reads what the IDE writes: that must never stall it.
TEST_F(IdeLaunchTest, ChattyIdeDoesNotStall) {
  UseRoot(root.Path());
  InstallIde(StandIn::Chatty);
  StartWith({});
  ChooseMenu(kMenuLaunchIde);
  ASSERT_NE(state.Shell.IdeProcess, nullptr);
  EXPECT_TRUE(Eventually([this] { return !state.Shell.IdeProcess->IsRunning(); }));
}

// The program is named apart from its command line, so a root folder with
// blanks and letters beyond ASCII (kept in vt.ini one byte per letter) works.
TEST_F(IdeLaunchTest, RootFolderWithBlanksAndAccentsLaunches) {
  const Text folder = u"Blitz Max \u00e9t\u00e9";
  root.WriteFile(folder + u"/mod/brl.mod/standardio.mod/standardio.bmx",
                 "Module BRL.StandardIO\r\nFunction Print(s$)\r\nEnd Function\r\n");
  InstallStandIn(root, StandIn::Waiting, folder);
  std::string latin1;
  for (char16_t c : root / folder) latin1 += static_cast<char>(c);
  app.WriteFile(u"vt.ini", latin1 + "\r\n");
  StartWith({});
  ChooseMenu(kMenuLaunchIde);
  ASSERT_NE(state.Shell.IdeProcess, nullptr);
  EXPECT_TRUE(shell.messages.empty());
  EXPECT_TRUE(Eventually(
      [&] { return GetFileKind(root / (folder + u"/pids")) == FileKind::File; }));
}

}  // namespace
}  // namespace vt
