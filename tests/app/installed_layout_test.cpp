// A whole run of the program installed in a folder it cannot write to: the
// settings and the reports go to the user's data folder, the help page comes
// from the share folder, and nothing is written beside the program.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/main_routine.h"
#include "app/program_layout.h"
#include "platform/file_system.h"
#include "platform/menu_tags.h"
#include "support/test_support.h"

namespace vt {
namespace {

using testing::HeadlessScreen;
using testing::ReadFileBytes;
using testing::TempFolder;

class InstalledRun : public ::testing::Test {
 protected:
  void SetUp() override {
    root.WriteFile(u"mod/brl.mod/standardio.mod/standardio.bmx",
                   "Module BRL.StandardIO\r\nFunction Print(s$)\r\nEnd Function\r\n");
    prefix.MakeFolder(u"bin");
    prefix.WriteFile(u"share/veltrane/index.htm", "<html><body>help</body></html>\r\n");
    for (const char16_t* picture : {u"bkg.gif", u"codebox.gif", u"fwtype.gif"}) {
      prefix.WriteFile(u"share/veltrane/htmldata/" + Text(picture), ToUtf8(picture));
    }
    work.WriteFile(u"hello.bmx", "Print \"hello\"\r\n");
  }
  void TearDown() override {
    ShutDown(state);
    testing::EnterFolder(savedFolder_);
  }

  // What start-up would find with the program's folder read-only.
  ProgramLayout Layout() const {
    LayoutFacts facts;
    facts.programFolder = Bin();
    facts.programFolderWritable = false;
    facts.userDataFolder = Data();
    facts.shareFolder = ShareFolderOf(Bin());
    facts.shareFolderHoldsHelp = true;
    return ChooseLayout(facts);
  }
  void Start(std::vector<Text> arguments = {}) { StartUp(state, arguments, Layout()); }
  void Handle(Event event) {
    screen.events.Post(event);
    RunEventLoop(state);
  }

  Text Bin() const { return prefix / u"bin"; }
  Text Data() const { return home / u".local/share/veltrane"; }
  Text Help() const { return prefix / u"share/veltrane/index.htm"; }

  Text savedFolder_ = CurrentFolder();
  TempFolder prefix;
  TempFolder home;
  TempFolder root;
  TempFolder work;
  HeadlessScreen screen;
  AppState state{screen, Bin()};
};

TEST_F(InstalledRun, FirstRunShowsTheSharedHelpAndKeepsTheChosenRootForTheUser) {
  Start();
  // No settings yet: the default root folder fails, as on any first run.
  ASSERT_EQ(screen.messages.size(), 1u);
  EXPECT_EQ(screen.shownFiles, std::vector<Text>{Help()});
  EXPECT_EQ(CurrentFolder(), savedFolder_);
  EXPECT_EQ(GetFileKind(Data()), FileKind::None);

  screen.dialogAnswers = {root.Path()};
  Handle(MenuEvent(kMenuRootFolder));
  EXPECT_EQ(ReadFileBytes(Data() + u"/vt.ini"), ToUtf8(root.Path()) + "\r\n");
  EXPECT_EQ(state.Catalogue.ModList.size(), 1u);

  Handle(DropEvent(work / u"hello.bmx"));
  EXPECT_EQ(screen.shownFiles.back(), Data() + u"/results.htm");
  EXPECT_NE(ReadFileBytes(Data() + u"/results.htm").find("Framework BRL.StandardIO"),
            std::string::npos);
  std::vector<Text> pictures = ListFolder(Data() + u"/htmldata");
  std::sort(pictures.begin(), pictures.end());
  EXPECT_EQ(pictures, (std::vector<Text>{u"bkg.gif", u"codebox.gif", u"fwtype.gif"}));

  Handle(MenuEvent(kMenuContents));
  EXPECT_EQ(screen.shownFiles.back(), Help());
  EXPECT_EQ(screen.messages.size(), 1u);
  EXPECT_TRUE(ListFolder(Bin()).empty());
}

TEST_F(InstalledRun, LaterRunsReadTheUsersSettingsAndReplaceTheReport) {
  home.WriteFile(u".local/share/veltrane/vt.ini", ToUtf8(root.Path()) + "\r\n");
  home.WriteFile(u".local/share/veltrane/results.htm", "an old report");
  Start({work / u"hello.bmx"});
  EXPECT_TRUE(screen.messages.empty());
  EXPECT_EQ(screen.statusText, u"Modules scanned: 1   Commands found: 1   Root: " + root.Path() +
                                   u"   Program: " + (work / u"hello.bmx"));
  EXPECT_EQ(screen.shownFiles, (std::vector<Text>{Help(), Data() + u"/results.htm"}));
  EXPECT_NE(ReadFileBytes(Data() + u"/results.htm").find("hello.bmx"), std::string::npos);

  Handle(MenuEvent(kMenuModuleDetails));
  EXPECT_NE(ReadFileBytes(Data() + u"/modules.htm").find("<strong>BRL.StandardIO</strong>"),
            std::string::npos);
  EXPECT_TRUE(ListFolder(Bin()).empty());
}

TEST_F(InstalledRun, DataFolderBlockedByAFileSaysTheReportCannotBeWritten) {
  // The data folder's place is taken by a file: nothing can be kept there.
  home.WriteFile(u".local/share/veltrane", "in the way");
  Start();
  screen.dialogAnswers = {root.Path()};
  Handle(MenuEvent(kMenuRootFolder));
  screen.messages.clear();
  Handle(DropEvent(work / u"hello.bmx"));
  EXPECT_EQ(screen.messages,
            std::vector<Text>{u"Unable to write the report:\n" + Data() + u"/results.htm"});
  EXPECT_EQ(ReadFileBytes(Data()), "in the way");
}

}  // namespace
}  // namespace vt
