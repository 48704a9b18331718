// Runs the built veltrane-cli as a user would and checks its contract.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#if !defined(_WIN32)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/paths.h"
#include "platform/file_system.h"
#include "analysis/source_walker.h"
#include "cli/cli_run.h"
#include "support/test_support.h"

namespace vt {
namespace {

using testing::TempFolder;


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
    // One line naming the problem, and where to read more: not the whole help.
    EXPECT_EQ(std::count(bad.err.begin(), bad.err.end(), '\n'), 2) << bad.err;
    EXPECT_TRUE(bad.err.rfind("veltrane-cli: ", 0) == 0) << bad.err;
    EXPECT_TRUE(Has(bad.err, "\nRun with --help for more information.\n"));
    EXPECT_EQ(bad.out, "");
  }
}

// A terminal has no Max menu: the message names the folder, where it came
// from, and --root. BMXPATH comes before vt.ini and after --root.
TEST_F(CliRun, WrongRootFolderIsExitThreeNamingTheFolderItsSourceAndTheOption) {
  std::string missing = ToUtf8(work / u"nowhere");
  testing::ScopedEnvironment bmxpath("BMXPATH", ToUtf8(work / u"elsewhere"));
  RunResult run = RunCli({"src/hello.bmx"}, work.Path());
  EXPECT_EQ(run.exitCode, 3);
  EXPECT_TRUE(Has(run.err, "root folder " + ToUtf8(work / u"elsewhere") + " (from BMXPATH)\n"))
      << run.err;
  run = RunCli({"--root", missing + "/", "src/hello.bmx"}, work.Path());
  EXPECT_EQ(run.exitCode, 3);
  EXPECT_TRUE(Has(run.err, "no \"mod\" folder in the BlitzMax root folder " + missing +
                               " (from --root)\n"))
      << run.err;
  EXPECT_TRUE(Has(run.err, "--root DIR")) << run.err;
  EXPECT_FALSE(Has(run.err, "Max menu")) << run.err;
  EXPECT_FALSE(Has(run.out, "Framework"));
}

TEST_F(CliRun, UnsetHomeSaysWhatIsMissingInsteadOfGuessingAFolder) {
#if defined(_WIN32)
  GTEST_SKIP() << "Windows reads no HOME: its default root folder is C:/Program Files/BlitzMax";
#else
  std::string program = VELTRANE_CLI_PATH;
  if (GetFileKind(FromUtf8(program.substr(0, program.rfind('/')) + "/vt.ini")) !=
      FileKind::None) {
    GTEST_SKIP() << "a vt.ini beside veltrane-cli names the root folder";
  }
  // The old fallback was a Windows path taken relative to the current folder.
  work.WriteFile(u"C:/Program Files/BlitzMax/mod/brl.mod/x.mod/x.bmx", "Function X()\n");
  Setting noHome;
  noHome.homeUnset = true;
  RunResult run = RunCli({"src/hello.bmx"}, work.Path(), noHome);
  EXPECT_EQ(run.exitCode, 3);
  EXPECT_TRUE(Has(run.err, "HOME is not set")) << run.err;
  EXPECT_TRUE(Has(run.err, "--root DIR")) << run.err;
  EXPECT_FALSE(Has(run.err, "Max menu")) << run.err;
#endif
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
            "Rule set: classic\n\n"
            "Programs template:\n"
            "\n"
            "Main Source: hello.bmx\n"
            "Framework BRL.StandardIO\n");
  std::string page = testing::ReadFileBytes(work / u"out/page.htm");
  EXPECT_TRUE(Has(page, "Framework BRL.StandardIO\r\n"));
  EXPECT_TRUE(Has(page, "<html>\r\n"));
}

// Backslashes are separators on every system, as in BlitzMax sources.
// A backslash separates folders on Windows only; elsewhere it is part of a
// name, and the file so named is examined and named as it is.
TEST_F(CliRun, BackslashesInPathsFollowTheSystem) {
  work.MakeFolder(u"out");
#if defined(_WIN32)
  RunResult run = RunCli({"--root", Root(), "--html", "out\\page.htm", "src\\hello.bmx"},
                         work.Path());
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(Has(run.out, "Main Source: hello.bmx\n"));
  EXPECT_TRUE(Has(testing::ReadFileBytes(work / u"out/page.htm"), "Framework BRL.StandardIO"));
#else
  work.WriteFile(u"src/04 Repeat 7\\.bmx", "Print 1\n");
  for (const std::string& source :
       {std::string("src/04 Repeat 7\\.bmx"), ToUtf8(work / u"src/04 Repeat 7\\.bmx")}) {
    RunResult run = RunCli({"--root", Root(), "--html", "out\\page.htm", source}, work.Path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(Has(run.out, "Main Source: 04 Repeat 7\\.bmx\n")) << run.out;
    std::string page = testing::ReadFileBytes(work / u"out\\page.htm");
    EXPECT_TRUE(Has(page, "<font color=\"#0000FF\">04 Repeat 7\\.bmx</font></a></li>")) << page;
  }
  RunResult missing = RunCli({"--root", Root(), "src/gone\\.bmx"}, work.Path());
  EXPECT_EQ(missing.exitCode, 4);
  EXPECT_TRUE(Has(missing.err, "src/gone\\.bmx\n")) << missing.err;
#endif
}

// Names beyond ASCII reach the tool whole, from the arguments to the page.
TEST_F(CliRun, NonAsciiNamesAreKept) {
  const std::string source = "src/\u00dcbung \u30b2\u30fc\u30e0.bmx";
  const std::string page = "out/r\u00e9sum\u00e9 \u2713.htm";
  work.WriteFile(FromUtf8(source), "Print \"\u00fc\"\r\n");
  work.MakeFolder(u"out");
  RunResult run = RunCli({"--root", Root(), "--html", page, source}, work.Path());
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(Has(run.out, "Main Source: \u00dcbung \u30b2\u30fc\u30e0.bmx\n")) << run.out;
  EXPECT_TRUE(Has(run.err, "r\u00e9sum\u00e9 \u2713.htm")) << run.err;
  EXPECT_TRUE(Has(testing::ReadFileBytes(work / FromUtf8(page)), "Framework BRL.StandardIO"));
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

// The page never replaces what the run reads: the program, a file it
// includes or imports, or anything of the installation.
TEST_F(CliRun, PageOverASourceOrInsideTheModFolderIsRefused) {
  work.WriteFile(u"src/main.bmx", "Include \"part.bmx\"\r\nImport \"lib/util.bmx\"\r\nPrint 1\r\n");
  work.WriteFile(u"src/part.bmx", "Print 2\r\n");
  work.WriteFile(u"src/lib/util.bmx", "Print 3\r\n");
  std::string module = Root() + "/mod/brl.mod/standardio.mod/standardio.bmx";
  std::string moduleBefore = testing::ReadFileBytes(FromUtf8(module));
  std::vector<std::string> pages{"src/main.bmx", "src/lib/../part.bmx", "src/lib/util.bmx",
                                 module, Root() + "/mod/brl.mod/results.htm"};
  std::error_code ec;
  std::filesystem::create_symlink("src/main.bmx", testing::NativePath(work / u"main-link.htm"), ec);
  // Windows lets only some users make links.
  if (!ec || kNativePathStyle != PathStyle::Windows) pages.push_back("main-link.htm");
  ASSERT_TRUE(!ec || kNativePathStyle == PathStyle::Windows) << ec.message();
  for (const std::string& page : pages) {
    RunResult run = RunCli({"--root", Root(), "--html", page, "src/main.bmx"}, work.Path());
    EXPECT_EQ(run.exitCode, 6) << page;
    EXPECT_TRUE(Has(run.err, "refusing to write the page")) << run.err;
    EXPECT_EQ(run.out, "") << page;
  }
  EXPECT_EQ(testing::ReadFileBytes(work / u"src/main.bmx"),
            "Include \"part.bmx\"\r\nImport \"lib/util.bmx\"\r\nPrint 1\r\n");
  EXPECT_EQ(testing::ReadFileBytes(work / u"src/part.bmx"), "Print 2\r\n");
  EXPECT_EQ(testing::ReadFileBytes(work / u"src/lib/util.bmx"), "Print 3\r\n");
  EXPECT_EQ(testing::ReadFileBytes(FromUtf8(module)), moduleBefore);
  EXPECT_EQ(GetFileKind(root / u"mod/brl.mod/results.htm"), FileKind::None);

  RunResult modules =
      RunCli({"--root", Root(), "--html", Root() + "/mod/page.htm", "--modules"}, work.Path());
  EXPECT_EQ(modules.exitCode, 6);
  EXPECT_EQ(GetFileKind(root / u"mod/page.htm"), FileKind::None);
}

// A FIFO blocks whoever reads it and /dev/zero never ends: neither is read.
TEST_F(CliRun, SpecialFilesAreNeverRead) {
#if defined(_WIN32)
  GTEST_SKIP() << "Windows has no FIFOs and no /dev/zero";
#else
  ASSERT_EQ(mkfifo(ToUtf8(work / u"src/fifo.bmx").c_str(), 0644), 0);
  std::filesystem::create_symlink("/dev/zero", ToUtf8(work / u"src/zero.bmx"));
  root.MakeFolder(u"mod/pub.mod/pipe.mod");
  ASSERT_EQ(mkfifo(ToUtf8(root / u"mod/pub.mod/pipe.mod/pipe.bmx").c_str(), 0644), 0);
  for (const char* source : {"src/fifo.bmx", "src/zero.bmx"}) {
    RunResult run = RunCli({"--root", Root(), source}, work.Path());
    EXPECT_EQ(run.exitCode, 4) << source;
  }
  work.WriteFile(u"src/main.bmx",
                 "Include \"fifo.bmx\"\r\nImport \"zero.bmx\"\r\nPrint \"x\"\r\n");
  RunResult run = RunCli({"--root", Root(), "src/main.bmx"}, work.Path());
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(Has(run.out, "Framework BRL.StandardIO")) << run.out;
  EXPECT_TRUE(Has(run.err, "warning: cannot read " + ToUtf8(root / u"mod/pub.mod/pipe.mod/pipe.bmx")))
      << run.err;
#endif
}

TEST_F(CliRun, UnreadablePartsOfTheInstallationAreWarnedAbout) {
#if defined(_WIN32)
  GTEST_SKIP() << "POSIX folder modes and an unprivileged user do not exist on Windows";
#else
  namespace fs = std::filesystem;
  root.WriteFile(u"mod/pub.mod/locked.mod/locked.bmx", "Function Locked()\n");
  root.WriteFile(u"mod/shut.mod/x.mod/x.bmx", "Function X()\n");
  fs::permissions(ToUtf8(root / u"mod/pub.mod/locked.mod"), fs::perms::owner_read);
  fs::permissions(ToUtf8(root / u"mod/shut.mod"), fs::perms::owner_read);
  fs::permissions(ToUtf8(work.Path()), fs::perms::all);
  // The build folder may lie where an unprivileged user cannot reach (a
  // private temporary folder): that user runs a copy from a folder it can.
  TempFolder bin;
  fs::permissions(ToUtf8(bin.Path()), fs::perms::all);
  Setting user;
  user.unprivileged = true;
  user.program = ToUtf8(bin / u"veltrane-cli");
  fs::copy_file(VELTRANE_CLI_PATH, user.program);
  RunResult run = RunCli({"--root", Root(), "src/hello.bmx"}, work.Path(), user);
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(Has(run.err, "warning: cannot read " + ToUtf8(root / u"mod/pub.mod/locked.mod")))
      << run.err;
  EXPECT_TRUE(Has(run.err, "warning: cannot read " + ToUtf8(root / u"mod/shut.mod"))) << run.err;
  EXPECT_TRUE(Has(run.out, "Framework BRL.StandardIO"));

  fs::permissions(ToUtf8(root / u"mod"), fs::perms::none);
  run = RunCli({"--root", Root(), "src/hello.bmx"}, work.Path(), user);
  EXPECT_EQ(run.exitCode, 3) << run.err;
  EXPECT_TRUE(Has(run.err, "cannot read the MOD folder: " + Root() + "/mod\n")) << run.err;
  EXPECT_FALSE(Has(run.err, "No subdirectories")) << run.err;
#endif
}

TEST_F(CliRun, FailedStandardOutputIsNoSuccess) {
  if (GetFileKind(u"/dev/full") == FileKind::None) GTEST_SKIP() << "no /dev/full";
  Setting full;
  full.stdoutPath = "/dev/full";
  RunResult run = RunCli({"--root", Root(), "src/hello.bmx"}, work.Path(), full);
  EXPECT_EQ(run.exitCode, 7);
  EXPECT_TRUE(Has(run.err, "cannot write to standard output")) << run.err;
  RunResult help = RunCli({"--help"}, work.Path(), full);
  EXPECT_EQ(help.exitCode, 7);
  // A check whose findings never arrived is no "header differs" either.
  RunResult check = RunCli({"--root", Root(), "--check", "src/hello.bmx"}, work.Path(), full);
  EXPECT_EQ(check.exitCode, 7);
}

TEST_F(CliRun, RemovedCurrentFolderIsAClearFailure) {
#if defined(_WIN32)
  GTEST_SKIP() << "Windows removes no folder a program is to start in";
#else
  TempFolder gone;
  gone.MakeFolder(u"here");
  // The old fallback wrote the page at the root of the file system.
  if (GetFileKind(u"/results.htm") != FileKind::None) GTEST_SKIP() << "/results.htm exists";
  Setting removed;
  removed.folderRemoved = true;
  RunResult run = RunCli({"--root", Root(), ToUtf8(work / u"src/hello.bmx")}, gone / u"here",
                         removed);
  EXPECT_EQ(run.exitCode, 5);
  EXPECT_TRUE(Has(run.err, "current folder no longer exists")) << run.err;
  EXPECT_EQ(GetFileKind(u"/results.htm"), FileKind::None);
#endif
}

// Names are bytes: one that is not UTF-8 is found, and shows as U+FFFD.
TEST_F(CliRun, NamesThatAreNotUtf8AreFoundAndShownSafely) {
#if defined(_WIN32)
  GTEST_SKIP() << "names on Windows are UTF-16, never loose bytes";
#else
  std::string folder = ToUtf8(work.Path()) + "/caf\xe9";
  std::filesystem::create_directories(folder);
  std::string module = Root() + "/mod/brl.mod/t\xefl.mod";
  std::filesystem::create_directories(module);
  { std::ofstream(module + "/t\xefl.bmx") << "Module BRL.Tool\nFunction Tool()\n"; }
  { std::ofstream(folder + "/m\xe9.bmx") << "Print \"x\"\nTool\n"; }
  RunResult run = RunCli({"--root", Root(), "--html", "page.htm", folder + "/m\xe9.bmx"},
                         work.Path());
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(Has(run.out, "Main Source: m\xef\xbf\xbd.bmx\n")) << run.out;
  EXPECT_TRUE(Has(run.out, "Import BRL.Tool")) << run.out;
  std::string page = testing::ReadFileBytes(work / u"page.htm");
  EXPECT_TRUE(Has(page, "m&#65533;.bmx</font>")) << page;
#endif
}

// Control characters never reach the terminal or the page raw.
TEST_F(CliRun, ControlCharactersAreEscaped) {
#if defined(_WIN32)
  GTEST_SKIP() << "Windows names cannot hold control characters";
#else
  work.WriteFile(u"src/bell\x07\x1b]0;owned\x07.bmx", "Print \"x\"\n");
  RunResult run = RunCli({"--root", Root(), "--html", "page.htm", "src/bell\x07\x1b]0;owned\x07.bmx"},
                         work.Path());
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(Has(run.out, "Main Source: bell\\x07\\x1b]0;owned\\x07.bmx\n")) << run.out;
  EXPECT_EQ(run.out.find('\x1b'), std::string::npos);
  EXPECT_EQ(run.err.find('\x1b'), std::string::npos);
  std::string page = testing::ReadFileBytes(work / u"page.htm");
  EXPECT_TRUE(Has(page, "bell&#7;&#27;]0;owned&#7;.bmx</font>")) << page;
  EXPECT_EQ(page.find('\x1b'), std::string::npos);
#endif
}

// A copy of the program in a folder it can write to is a portable one: it
// reads vt.ini beside itself, and never the one in the user's data folder.
TEST_F(CliRun, WritableProgramFolderReadsOnlyTheSettingsBesideIt) {
  TempFolder bin;
  TempFolder home;
#if defined(_WIN32)
  const std::string name = "veltrane-cli.exe";
  // The user's data folder is APPDATA\veltrane, and there is no home folder.
  home.WriteFile(u"veltrane/vt.ini", Root() + "\r\n");
#else
  const std::string name = "veltrane-cli";
  home.WriteFile(u".local/share/veltrane/vt.ini", Root() + "\r\n");
#endif
  std::string program = ToUtf8(bin.Path()) + "/" + name;
  std::filesystem::copy_file(testing::NativePath(FromUtf8(VELTRANE_CLI_PATH)),
                             testing::NativePath(FromUtf8(program)));
  Setting copy;
  copy.program = program;
  copy.home = home.Path();

  RunResult run = RunCli({"src/hello.bmx"}, work.Path(), copy);
  EXPECT_EQ(run.exitCode, 3);
#if defined(_WIN32)
  // The data folder's vt.ini is not read: the default stands.
  EXPECT_TRUE(Has(run.err, "root folder C:/Program Files/BlitzMax (from the default)\n"))
      << run.err;
#else
  EXPECT_TRUE(Has(run.err, "root folder " + ToUtf8(home.Path()) + "/BlitzMax (from the default)\n"))
      << run.err;
#endif

  bin.WriteFile(u"vt.ini", Root() + "\\\r\n");
  run = RunCli({"src/hello.bmx"}, work.Path(), copy);
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(Has(run.out, "Framework BRL.StandardIO"));
  // Deciding where it stands left nothing behind in its folder.
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(testing::NativePath(bin.Path()))) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{name, "vt.ini"}));
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
  Setting few;
#if !defined(_WIN32)
  few.openFiles = 32;
#endif
  // On Windows the C runtime's own limit (512 open streams) is lower than
  // the chain is deep.
  RunResult run = RunCli({"--root", Root(), "chain/main.bmx"}, work.Path(), few);
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
#if defined(_WIN32)
  GTEST_SKIP() << "Windows has no fork and no limit of file handles to lower";
#else
  work.WriteFile(u"src/main.bmx", "Include \"a.bmx\"\n");
  work.WriteFile(u"src/a.bmx", "Cls\n");
  std::string source = ToUtf8(work / u"src/main.bmx");
  pid_t pid = fork();
  if (pid == 0) {
    // One walk first, with handles free: the undefined-behaviour checker
    // needs a pipe to check a virtual call it has not seen yet.
    AnalysisState warmUp;
    ScanFile(warmUp, FromUtf8(source), EntryKind::Main);
    if (!LimitOpenFiles(16)) _exit(10);
    while (open("/dev/null", O_RDONLY) >= 0) {
    }
    AnalysisState analysis;
    ScanFile(analysis, FromUtf8(source), EntryKind::Main);
    bool listed = analysis.ScanListList.size() == 1 &&
                  analysis.ScanListList[0].kind == EntryKind::Main;
    bool named = analysis.FilesNotRead == TextList{FromUtf8(source)};
    _exit(listed && named ? 0 : 11);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
#endif
}
#if defined(_WIN32)

// "C:\\..." is absolute on Windows, whichever folder the run starts in, and
// written with backslashes or in lower case it names the same place.
TEST_F(CliRun, DrivePathsStayAbsoluteOnWindows) {
  TempFolder elsewhere;
  work.MakeFolder(u"out");
  std::string page = ToUtf8(Replace(work / u"out/page.htm", u"/", u"\\"));
  std::string source = ToUtf8(Lower(work.Path().substr(0, 2)) + work.Path().substr(2)) +
                       "/src/hello.bmx";
  std::string rootFolder = ToUtf8(Replace(root.Path(), u"/", u"\\")) + "\\";
  RunResult run = RunCli({"--root", rootFolder, "--html", page, source}, elsewhere.Path());
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(Has(testing::ReadFileBytes(work / u"out/page.htm"), "Framework BRL.StandardIO"));
  EXPECT_EQ(GetFileKind(elsewhere / u"results.htm"), FileKind::None);
}

// A root folder at the root of a drive: "R:\\" is read as "R:", and its
// "R:/mod" is found; a program at a drive root is examined there.
TEST_F(CliRun, DriveRootsServeAsRootFolderAndProgramFolder) {
  Text drive = testing::ScratchDrive();
  if (drive.empty()) GTEST_SKIP() << "no scratch drive (VELTRANE_TEST_DRIVE)";
  std::filesystem::path rootPath = testing::NativePath(drive + u"/");
  std::filesystem::create_directories(rootPath / "mod/brl.mod/standardio.mod");
  std::filesystem::copy_file(
      testing::NativePath(root / u"mod/brl.mod/standardio.mod/standardio.bmx"),
      rootPath / "mod/brl.mod/standardio.mod/standardio.bmx",
      std::filesystem::copy_options::overwrite_existing);
  std::filesystem::copy_file(testing::NativePath(work / u"src/hello.bmx"), rootPath / "hello.bmx",
                             std::filesystem::copy_options::overwrite_existing);

  RunResult run = RunCli({"--root", ToUtf8(drive) + "\\", "--html", ToUtf8(drive) + "\\r.htm",
                          ToUtf8(drive) + "\\hello.bmx"},
                         work.Path());
  std::string page = testing::ReadFileBytes(drive + u"/r.htm");
  std::error_code ec;
  for (const char* made : {"mod", "hello.bmx", "r.htm"}) {
    std::filesystem::remove_all(rootPath / made, ec);
  }

  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(Has(run.out, "Main Source: hello.bmx\nFramework BRL.StandardIO\n")) << run.out;
  // The page links the program as "R:\\hello.bmx": the root keeps one slash.
  EXPECT_TRUE(Has(page, "file://" + ToUtf8(drive) + "\\hello.bmx\"")) << page;
}

#endif

}  // namespace
}  // namespace vt
