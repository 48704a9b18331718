#include "app/settings.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/test_support.h"

namespace vt {
namespace {

using testing::TempFolder;

class SettingsCheck : public testing::FreshState {
 protected:
  void SetUp() override {
    FreshState::SetUp();
    Settings.Layout = PortableLayout(app.Path());
    root.MakeFolder(u"mod");
  }
  TempFolder app;
  TempFolder root;
};

const Text kShortMessage =
    u"Please set the correct BlitzMax ROOT folder\nfirst via the 'Max' menu.";

TEST_F(SettingsCheck, FirstLineOfSettingsFileRulesTheRootFolder) {
  Text line;
  app.WriteFile(u"vt.ini", "C:\\Blitz\rMax\\\r\nsecond line\r\n");
  ASSERT_TRUE(ReadSettingsLine(app / u"vt.ini", line));
  EXPECT_EQ(NormaliseRootFolder(line), u"C:/BlitzMax");
  app.WriteFile(u"vt.ini", std::string(" a\xE9\0b", 5));
  ASSERT_TRUE(ReadSettingsLine(app / u"vt.ini", line));
  EXPECT_EQ(line, u" aé");
  EXPECT_EQ(NormaliseRootFolder(u"C://"), u"C:/");
  EXPECT_EQ(NormaliseRootFolder(u"C:/"), u"C:");
  EXPECT_FALSE(ReadSettingsLine(app / u"missing.ini", line));
}

TEST_F(SettingsCheck, PassingCheckReadsSettingsAndIsRemembered) {
  std::string folder = ToUtf8(root.Path());
  for (char& c : folder) if (c == '/') c = '\\';
  app.WriteFile(u"vt.ini", folder + "\\\r\nignored\r\n");
  EXPECT_TRUE(CheckRootFolder(Settings, screen, true));
  EXPECT_EQ(Settings.RootFolder, root.Path());
  EXPECT_TRUE(Settings.RootFolderVerified);
  EXPECT_TRUE(screen.messages.empty());
  // Once verified, neither the file nor the folder is looked at again.
  app.WriteFile(u"vt.ini", "/nowhere\r\n");
  Settings.RootFolder = u"/nowhere";
  EXPECT_TRUE(CheckRootFolder(Settings, screen, false));
  EXPECT_EQ(Settings.RootFolder, u"/nowhere");
}

TEST_F(SettingsCheck, FailingCheckShowsTheMessageOfItsCaller) {
  Settings.RootFolder = root / u"absent";
  EXPECT_FALSE(CheckRootFolder(Settings, screen, false));
  EXPECT_FALSE(CheckRootFolder(Settings, screen, true));
  ASSERT_EQ(screen.messages.size(), 2u);
  EXPECT_EQ(screen.messages[0], u"Unable to find BlitzMax 'MOD' folder in: \n" +
                                    root / u"absent" +
                                    u"\n\nPlease set the correct BlitzMax ROOT\n"
                                    u"folder via the Max menu");
  EXPECT_EQ(screen.messages[1], kShortMessage);
  EXPECT_FALSE(Settings.RootFolderVerified);
}

TEST_F(SettingsCheck, MessagesNameTheRootFolderOfTheSettingsGiven) {
  SettingsState other = FreshSettings(PortableLayout(app.Path()));
  other.RootFolder = u"/elsewhere";
  EXPECT_EQ(RootFolderMessage(other, false),
            u"Unable to find BlitzMax 'MOD' folder in: \n/elsewhere"
            u"\n\nPlease set the correct BlitzMax ROOT\nfolder via the Max menu");
  EXPECT_EQ(RootFolderMessage(other, true), kShortMessage);
}

TEST_F(SettingsCheck, FreshSettingsStartFromTheDefaultRootFolder) {
  SettingsState fresh = FreshSettings(PortableLayout(u"/app"));
  EXPECT_EQ(fresh.RootFolder, DefaultRootFolder());
  EXPECT_FALSE(fresh.RootFolderVerified);
  EXPECT_EQ(fresh.Layout.SettingsFolder, u"/app");
}

TEST_F(SettingsCheck, FileNamedModDoesNotCount) {
  TempFolder other;
  other.WriteFile(u"mod", "not a folder");
  Settings.RootFolder = other.Path();
  EXPECT_FALSE(CheckRootFolder(Settings, screen, true));
  EXPECT_EQ(screen.messages, std::vector<Text>{kShortMessage});
}

TEST_F(SettingsCheck, EmptySettingsLineGivesAnEmptyRootFolder) {
  app.WriteFile(u"vt.ini", "\r\n");
  Settings.RootFolder = root.Path();
  EXPECT_FALSE(CheckRootFolder(Settings, screen, true));
  EXPECT_EQ(Settings.RootFolder, u"");
}

TEST_F(SettingsCheck, WrittenSettingsFileIsOneLatin1LineWithCrLf) {
  EXPECT_TRUE(WriteSettingsFile(Settings, u"C:\\Programs\\Blitzé\\"));
  EXPECT_EQ(testing::ReadFileBytes(app / u"vt.ini"), "C:/Programs/Blitz\xE9/\r\n");
  // Read back as at the next start: the trailing slash goes.
  Settings.RootFolder = u"x";
  CheckRootFolder(Settings, screen, true);
  EXPECT_EQ(Settings.RootFolder, u"C:/Programs/Blitzé");
}

TEST_F(SettingsCheck, UnwritableSettingsFileIsReportedAndLeftAlone) {
  app.MakeFolder(u"vt.ini");
  EXPECT_FALSE(WriteSettingsFile(Settings, u"C:/x"));
}

// A drive root chosen as the root folder: vt.ini holds "R:\\", read back as
// "R:", and the check is made on "R:/mod".
TEST_F(SettingsCheck, DriveRootAsRootFolder) {
  Text drive = testing::ScratchDrive();
  if (drive.empty()) GTEST_SKIP() << "no scratch drive (VELTRANE_TEST_DRIVE)";
  std::filesystem::path mod = testing::NativePath(drive + u"/mod");
  std::filesystem::create_directories(mod);
  app.WriteFile(u"vt.ini", ToUtf8(drive) + "\\\r\n");
  bool passed = CheckRootFolder(Settings, screen, false);
  std::error_code ec;
  std::filesystem::remove_all(mod, ec);
  EXPECT_TRUE(passed);
  EXPECT_EQ(Settings.RootFolder, drive);
  EXPECT_TRUE(screen.messages.empty());
}

}  // namespace
}  // namespace vt
