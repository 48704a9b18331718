// Where the program keeps its files: beside itself when it can, else in the
// user's data folder with the help page from the installation's share folder.
#include "app/program_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "platform/file_system.h"
#include "support/test_support.h"

namespace vt {
namespace {

using testing::ReadFileBytes;
using testing::TempFolder;

// An installed program: nothing beside it, a data folder and a share folder.
LayoutFacts InstalledFacts() {
  LayoutFacts facts;
  facts.programFolder = u"/usr/bin";
  facts.userDataFolder = u"/home/ann/.local/share/veltrane";
  facts.shareFolder = u"/usr/share/veltrane";
  facts.shareFolderHoldsHelp = true;
  return facts;
}

void ExpectPortable(const ProgramLayout& layout, const Text& folder) {
  EXPECT_EQ(layout.ProgramFolder, folder);
  EXPECT_EQ(layout.SettingsFolder, folder);
  EXPECT_EQ(layout.ReportFolder, folder);
  EXPECT_EQ(layout.HelpFolder, folder);
}

TEST(ChooseLayout, StaysBesideTheProgramWhenItCanWriteThereOrHasSettings) {
  LayoutFacts writable = InstalledFacts();
  writable.programFolderWritable = true;
  ExpectPortable(ChooseLayout(writable), u"/usr/bin");

  // A stick mounted read-only still uses the settings it carries.
  LayoutFacts configured = InstalledFacts();
  configured.programFolderHoldsSettings = true;
  ExpectPortable(ChooseLayout(configured), u"/usr/bin");

  LayoutFacts homeless = InstalledFacts();
  homeless.userDataFolder.clear();
  ExpectPortable(ChooseLayout(homeless), u"/usr/bin");

  ExpectPortable(PortableLayout(u"C:/Tools/Veltrane"), u"C:/Tools/Veltrane");
}

TEST(ChooseLayout, ReadOnlyProgramFolderKeepsItsFilesInTheUserDataFolder) {
  ProgramLayout layout = ChooseLayout(InstalledFacts());
  EXPECT_EQ(layout.ProgramFolder, u"/usr/bin");
  EXPECT_EQ(layout.SettingsFolder, u"/home/ann/.local/share/veltrane");
  EXPECT_EQ(layout.ReportFolder, u"/home/ann/.local/share/veltrane");
  EXPECT_EQ(layout.HelpFolder, u"/usr/share/veltrane");

  // Installed in one folder, as on Windows: the help page lies beside it.
  LayoutFacts oneFolder = InstalledFacts();
  oneFolder.programFolder = u"C:/Program Files/Veltrane";
  oneFolder.userDataFolder = u"C:/Users/ann/AppData/Roaming/veltrane";
  oneFolder.shareFolder = u"C:/Program Files/share/veltrane";
  oneFolder.shareFolderHoldsHelp = false;
  layout = ChooseLayout(oneFolder);
  EXPECT_EQ(layout.SettingsFolder, u"C:/Users/ann/AppData/Roaming/veltrane");
  EXPECT_EQ(layout.ReportFolder, u"C:/Users/ann/AppData/Roaming/veltrane");
  EXPECT_EQ(layout.HelpFolder, u"C:/Program Files/Veltrane");
}

TEST(ChooseLayout, ShareFolderIsBesideTheBinFolder) {
  EXPECT_EQ(ShareFolderOf(u"/usr/bin"), u"/usr/share/veltrane");
  EXPECT_EQ(ShareFolderOf(u"/opt/veltrane/bin"), u"/opt/veltrane/share/veltrane");
  EXPECT_EQ(ShareFolderOf(u"/bin"), u"/share/veltrane");
  EXPECT_EQ(ShareFolderOf(u"/"), u"");
}

TEST(GatherLayoutFacts, LooksAtTheProgramFolderAndLeavesItAsItWas) {
  TempFolder prefix;
  prefix.MakeFolder(u"bin");
  prefix.WriteFile(u"share/veltrane/index.htm", "help");
  LayoutFacts facts = GatherLayoutFacts(prefix / u"bin");
  EXPECT_EQ(facts.programFolder, prefix / u"bin");
  EXPECT_FALSE(facts.programFolderHoldsSettings);
  EXPECT_TRUE(facts.programFolderWritable);
  EXPECT_EQ(facts.shareFolder, prefix / u"share/veltrane");
  EXPECT_TRUE(facts.shareFolderHoldsHelp);
  EXPECT_EQ(facts.userDataFolder, UserDataFolder());
  EXPECT_TRUE(ListFolder(prefix / u"bin").empty());
  ExpectPortable(LayoutForProgram(prefix / u"bin"), prefix / u"bin");

  prefix.WriteFile(u"bin/vt.ini", "/BlitzMax\r\n");
  facts = GatherLayoutFacts(prefix / u"bin");
  EXPECT_TRUE(facts.programFolderHoldsSettings);

  prefix.MakeFolder(u"other/bin");
  EXPECT_FALSE(GatherLayoutFacts(prefix / u"other/bin").shareFolderHoldsHelp);
}

class ReportFolderPreparation : public ::testing::Test {
 protected:
  void SetUp() override {
    share.WriteFile(u"index.htm", "help");
    share.WriteFile(u"htmldata/bkg.gif", "background");
    share.WriteFile(u"htmldata/CODEBOX.GIF", "code box");
    share.WriteFile(u"htmldata/notes.txt", "not a picture");
    share.MakeFolder(u"htmldata/folder.gif");
    layout = ChooseLayout(Facts());
  }
  LayoutFacts Facts() const {
    LayoutFacts facts;
    facts.programFolder = program.Path();
    facts.userDataFolder = home / u"data/veltrane";
    facts.shareFolder = share.Path();
    facts.shareFolderHoldsHelp = true;
    return facts;
  }
  std::vector<Text> Pictures() const {
    std::vector<Text> names = ListFolder(home / u"data/veltrane/htmldata");
    std::sort(names.begin(), names.end());
    return names;
  }

  TempFolder program;
  TempFolder home;
  TempFolder share;
  ProgramLayout layout;
};

TEST_F(ReportFolderPreparation, MakesTheDataFolderAndCopiesOnlyMissingPictures) {
  EXPECT_EQ(GetFileKind(layout.ReportFolder), FileKind::None);
  ASSERT_TRUE(PrepareReportFolder(layout));
  EXPECT_EQ(Pictures(), (std::vector<Text>{u"CODEBOX.GIF", u"bkg.gif"}));
  EXPECT_EQ(ReadFileBytes(home / u"data/veltrane/htmldata/bkg.gif"), "background");

  // A picture the user changed is theirs; one they removed comes back.
  home.WriteFile(u"data/veltrane/htmldata/bkg.gif", "my own");
  std::filesystem::remove(ToUtf8(home / u"data/veltrane/htmldata/CODEBOX.GIF"));
  ASSERT_TRUE(PrepareReportFolder(layout));
  EXPECT_EQ(ReadFileBytes(home / u"data/veltrane/htmldata/bkg.gif"), "my own");
  EXPECT_EQ(ReadFileBytes(home / u"data/veltrane/htmldata/CODEBOX.GIF"), "code box");
  EXPECT_TRUE(ListFolder(program.Path()).empty());
}

TEST_F(ReportFolderPreparation, SettingsFolderIsMadeWhenFirstNeeded) {
  EXPECT_TRUE(PrepareSettingsFolder(layout));
  EXPECT_EQ(GetFileKind(home / u"data/veltrane"), FileKind::Folder);
  home.WriteFile(u"blocked", "a file where a folder should be");
  layout.SettingsFolder = home / u"blocked/veltrane";
  layout.ReportFolder = home / u"blocked/veltrane";
  EXPECT_FALSE(PrepareSettingsFolder(layout));
  EXPECT_FALSE(PrepareReportFolder(layout));
}

TEST_F(ReportFolderPreparation, PortableLayoutIsLeftAlone) {
  ProgramLayout portable = PortableLayout(program.Path());
  EXPECT_TRUE(PrepareReportFolder(portable));
  EXPECT_TRUE(ListFolder(program.Path()).empty());
  // Without a share folder of its own the pictures come from beside the program.
  LayoutFacts facts = Facts();
  facts.shareFolderHoldsHelp = false;
  ASSERT_TRUE(PrepareReportFolder(ChooseLayout(facts)));
  EXPECT_EQ(GetFileKind(home / u"data/veltrane"), FileKind::Folder);
  EXPECT_TRUE(Pictures().empty());
}

}  // namespace
}  // namespace vt
