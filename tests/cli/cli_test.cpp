// Runs the built veltrane-cli as a user would and checks its contract.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cli/cli_run.h"
#include "support/test_support.h"

namespace vt {
namespace {

using testing::TempFolder;

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

}  // namespace
}  // namespace vt
