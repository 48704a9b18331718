// Runs the built veltrane-cli as a user would and checks its contract.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "analysis/source_walker.h"
#include "support/test_support.h"

namespace vt {
namespace {

using testing::TempFolder;

struct RunResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Lowers this process's limit of open files to `limit`.
bool LimitOpenFiles(rlim_t limit) {
  rlimit lowered{limit, limit};
  return setrlimit(RLIMIT_NOFILE, &lowered) == 0;
}

// With `openFiles`, the program runs with at most that many files open at
// once, as under "ulimit -n".
RunResult RunCli(const std::vector<std::string>& args, const Text& folder, rlim_t openFiles = 0) {
  TempFolder capture;
  std::string outPath = ToUtf8(capture / u"out");
  std::string errPath = ToUtf8(capture / u"err");
  pid_t pid = fork();
  if (pid == 0) {
    if (chdir(ToUtf8(folder).c_str()) != 0) _exit(127);
    if (!freopen(outPath.c_str(), "w", stdout) || !freopen(errPath.c_str(), "w", stderr)) {
      _exit(127);
    }
    if (openFiles && !LimitOpenFiles(openFiles)) _exit(127);
    std::vector<char*> argv;
    std::string program = VELTRANE_CLI_PATH;
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

// main.bmx includes f1.bmx, which includes f2.bmx, and so on.
void WriteIncludeChain(const TempFolder& folder, int depth) {
  folder.WriteFile(u"chain/main.bmx", "Include \"f1.bmx\"\nPrint \"deep\"\n");
  for (int k = 1; k <= depth; ++k) {
    std::string next = k < depth ? "Include \"f" + std::to_string(k + 1) + ".bmx\"\n" : "Print 1\n";
    folder.WriteFile(FromUtf8("chain/f" + std::to_string(k) + ".bmx"), next);
  }
}

TEST_F(CliRun, ADeepIncludeChainIsListedWholeUnderALowLimitOfOpenFiles) {
  WriteIncludeChain(work, 1000);
  RunResult run = RunCli({"--root", Root(), "chain/main.bmx"}, work.Path(), 32);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  std::string page = testing::ReadFileBytes(work / u"results.htm");
  size_t listed = 0;
  for (size_t at = page.find("<li><strong>"); at != std::string::npos;
       at = page.find("<li><strong>", at + 1)) {
    ++listed;
  }
  EXPECT_EQ(listed, 1001u);
  EXPECT_TRUE(Has(page, "f1000.bmx</font>"));
  EXPECT_TRUE(Has(run.out, "Framework BRL.StandardIO"));
}

// A file that exists but finds no file handle free is listed and named, never
// dropped without a word: run in a child process whose handles are all taken.
TEST_F(CliRun, AFileThatFindsNoHandleIsListedAndReported) {
  work.WriteFile(u"src/main.bmx", "Include \"a.bmx\"\n");
  work.WriteFile(u"src/a.bmx", "Cls\n");
  std::string source = ToUtf8(work / u"src/main.bmx");
  pid_t pid = fork();
  if (pid == 0) {
    if (!LimitOpenFiles(16)) _exit(10);
    while (open("/dev/null", O_RDONLY) >= 0) {
    }
    AnalysisState analysis;
    ScanFile(analysis, FromUtf8(source), u"Main");
    bool listed = analysis.ScanListList.size() == 1 && analysis.ScanListList[0]->kind == u"Main";
    bool named = analysis.FilesNotRead == TextList{FromUtf8(source)};
    _exit(listed && named ? 0 : 11);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace vt
