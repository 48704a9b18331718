// Runs the built veltrane-cli as a user would and checks its contract.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace vt {
namespace {

using testing::TempFolder;

struct RunResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// `program` defaults to the built veltrane-cli; `home` set gives the run a
// HOME of its own and no XDG_DATA_HOME.
RunResult RunCli(const std::vector<std::string>& args, const Text& folder,
                 std::string program = VELTRANE_CLI_PATH, const Text& home = Text()) {
  TempFolder capture;
  std::string outPath = ToUtf8(capture / u"out");
  std::string errPath = ToUtf8(capture / u"err");
  pid_t pid = fork();
  if (pid == 0) {
    if (chdir(ToUtf8(folder).c_str()) != 0) _exit(127);
    if (!home.empty()) {
      setenv("HOME", ToUtf8(home).c_str(), 1);
      unsetenv("XDG_DATA_HOME");
    }
    if (!freopen(outPath.c_str(), "w", stdout) || !freopen(errPath.c_str(), "w", stderr)) {
      _exit(127);
    }
    std::vector<char*> argv;
    argv.push_back(program.data());
    std::vector<std::string> copies = args;
    for (std::string& a : copies) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  RunResult result;
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.out = testing::ReadFileBytes(capture / u"out");
  result.err = testing::ReadFileBytes(capture / u"err");
  return result;
}

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// A tiny installation: one module that declares one command.
class CliRun : public ::testing::Test {
 protected:
  void SetUp() override {
    root.WriteFile(u"mod/brl.mod/standardio.mod/standardio.bmx",
                   "Module BRL.StandardIO\r\nFunction Print( s$ )\r\nEnd Function\r\n");
    work.WriteFile(u"src/hello.bmx", "Print \"hello\"\r\n");
    work.WriteFile(u"src/empty.bmx", "");
  }
  std::string Root() const { return ToUtf8(root.Path()); }
  TempFolder root;
  TempFolder work;
};

TEST_F(CliRun, UsageErrorsAndHelp) {
  RunResult help = RunCli({"--help"}, work.Path());
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_TRUE(Has(help.out, "Usage: veltrane-cli"));
  EXPECT_EQ(help.err, "");

  for (const auto& args : std::vector<std::vector<std::string>>{
           {}, {"a.bmx", "b.bmx"}, {"--modules", "a.bmx"}, {"--root"},
           {"--html"}, {"--frobnicate", "a.bmx"}}) {
    RunResult bad = RunCli(args, work.Path());
    EXPECT_EQ(bad.exitCode, 2) << ::testing::PrintToString(args);
    EXPECT_TRUE(Has(bad.err, "Usage: veltrane-cli"));
    EXPECT_EQ(bad.out, "");
  }
}

TEST_F(CliRun, WrongRootFolderIsExitThreeWithTheStartUpMessage) {
  std::string missing = ToUtf8(work / u"nowhere");
  RunResult run = RunCli({"--root", missing + "\\", "src/hello.bmx"}, work.Path());
  EXPECT_EQ(run.exitCode, 3);
  EXPECT_TRUE(Has(run.err, "Unable to find BlitzMax 'MOD' folder in: \n" + missing +
                               "\n\nPlease set the correct BlitzMax ROOT\nfolder via the Max menu"));
  EXPECT_FALSE(Has(run.out, "Framework"));
}

TEST_F(CliRun, UnreadableSourceIsExitFourNamingIt) {
  for (const char* source : {"src/missing.bmx", "src/empty.bmx", "src"}) {
    RunResult run = RunCli({"--root", Root(), source}, work.Path());
    EXPECT_EQ(run.exitCode, 4) << source;
    EXPECT_TRUE(Has(run.err, source)) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
  }
  EXPECT_EQ(testing::ReadFileBytes(work / u"results.htm"), "");
}

TEST_F(CliRun, UnwritablePageIsExitFiveNotSuccess) {
  RunResult run = RunCli({"--root", Root(), "--html", "no/such/folder/r.htm", "src/hello.bmx"},
                         work.Path());
  EXPECT_EQ(run.exitCode, 5);
  EXPECT_TRUE(Has(run.err, "r.htm"));
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
  RunResult modules = RunCli({"--root", Root(), "--html", "src", "--modules"}, work.Path());
  EXPECT_EQ(modules.exitCode, 5);
  EXPECT_EQ(std::count(modules.err.begin(), modules.err.end(), '\n'), 1) << modules.err;
}

TEST_F(CliRun, RelativePathsCountFromTheStartingFolderAndSuggestionIsPrinted) {
  RunResult run = RunCli({"--root", Root(), "--html", "out/page.htm", "src/hello.bmx"},
                         work.Path());
  // The page's folder must exist; a missing one is a write failure.
  EXPECT_EQ(run.exitCode, 5);
  work.MakeFolder(u"out");
  run = RunCli({"--root", Root(), "--html", "out/page.htm", "src/hello.bmx"}, work.Path());
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out,
            "Programs template:\n"
            "\n"
            "Main Source: hello.bmx\n"
            "Framework BRL.StandardIO\n");
  std::string page = testing::ReadFileBytes(work / u"out/page.htm");
  EXPECT_TRUE(Has(page, "Framework BRL.StandardIO\r\n"));
  EXPECT_TRUE(Has(page, "<html>\r\n"));
}

TEST_F(CliRun, DefaultPageIsResultsInTheCurrentFolder) {
  RunResult run = RunCli({"--root", Root(), "--modules"}, work.Path());
  ASSERT_EQ(run.exitCode, 0) << run.err;
  std::string page = testing::ReadFileBytes(work / u"results.htm");
  EXPECT_TRUE(Has(page, "<td valign=\"top\"><strong>BRL.StandardIO</strong></td>"));
  EXPECT_TRUE(Has(page, "\r\nprint\r\n"));
}

TEST_F(CliRun, EmptyModFolderIsReportedAndTheRunGoesOn) {
  TempFolder bare;
  bare.MakeFolder(u"mod");
  RunResult run = RunCli({"--root", ToUtf8(bare.Path()), "src/hello.bmx"}, work.Path());
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(Has(run.err, "No subdirectories to scan in MOD folder.\n"));
  EXPECT_TRUE(Has(run.out, "Programs template:"));
  EXPECT_TRUE(Has(run.out, "** No modules required **"));
}

// A copy of the program in a folder it can write to is a portable one: it
// reads vt.ini beside itself, and never the one in the user's data folder.
TEST_F(CliRun, WritableProgramFolderReadsOnlyTheSettingsBesideIt) {
  TempFolder bin;
  TempFolder home;
  std::string program = ToUtf8(bin / u"veltrane-cli");
  std::filesystem::copy_file(VELTRANE_CLI_PATH, program);
  home.WriteFile(u".local/share/veltrane/vt.ini", Root() + "\r\n");

  RunResult run = RunCli({"src/hello.bmx"}, work.Path(), program, home.Path());
  EXPECT_EQ(run.exitCode, 3);
  EXPECT_TRUE(Has(run.err, "folder in: \n" + ToUtf8(home.Path()) + "/BlitzMax\n")) << run.err;

  bin.WriteFile(u"vt.ini", Root() + "\\\r\n");
  run = RunCli({"src/hello.bmx"}, work.Path(), program, home.Path());
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(Has(run.out, "Framework BRL.StandardIO"));
  // Deciding where it stands left nothing behind in its folder.
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(ToUtf8(bin.Path()))) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"veltrane-cli", "vt.ini"}));
}

}  // namespace
}  // namespace vt
