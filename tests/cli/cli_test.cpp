// Runs the built veltrane-cli as a user would and checks its contract.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "platform/file_system.h"
#include "support/test_support.h"

namespace vt {
namespace {

using testing::TempFolder;

struct RunResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

#if defined(_WIN32)

// One argument as the C runtime's parser reads it back: quoted, with the
// backslashes before a quote (or before the closing quote) doubled.
std::wstring QuoteArgument(const std::wstring& arg) {
  std::wstring quoted = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    size_t repeat = c == L'"' ? backslashes * 2 + 1 : backslashes;
    quoted.append(repeat, L'\\');
    quoted += c;
    backslashes = 0;
  }
  quoted.append(backslashes * 2, L'\\');
  return quoted + L"\"";
}

std::wstring Wide(const std::string& utf8) {
  Text text = FromUtf8(utf8);
  return std::wstring(text.begin(), text.end());
}

HANDLE CreateCaptureFile(const Text& path) {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  std::wstring wide(path.begin(), path.end());
  return CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Console text on Windows ends its lines with CR LF; the checks below are
// written with LF alone, so every line end must be a CR LF.
std::string UnixLineEnds(const std::string& text) {
  std::string result;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    if (text[i] == '\n') {
      EXPECT_TRUE(i > 0 && text[i - 1] == '\r') << "bare LF in: " << text;
    }
    result += text[i];
  }
  return result;
}

// Starts the .exe itself, as a Windows shell would, with UTF-16 arguments.
RunResult RunCli(const std::vector<std::string>& args, const Text& folder) {
  TempFolder capture;
  std::wstring commandLine = QuoteArgument(Wide(VELTRANE_CLI_PATH));
  for (const std::string& a : args) commandLine += L" " + QuoteArgument(Wide(a));
  std::wstring startIn(folder.begin(), folder.end());

  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = INVALID_HANDLE_VALUE;
  startup.hStdOutput = CreateCaptureFile(capture / u"out");
  startup.hStdError = CreateCaptureFile(capture / u"err");
  PROCESS_INFORMATION info{};
  BOOL started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0,
                                nullptr, startIn.c_str(), &startup, &info);
  CloseHandle(startup.hStdOutput);
  CloseHandle(startup.hStdError);
  RunResult result;
  if (!started) {
    ADD_FAILURE() << "cannot start " << VELTRANE_CLI_PATH << ": error " << GetLastError();
    return result;
  }
  WaitForSingleObject(info.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(info.hProcess, &code);
  CloseHandle(info.hProcess);
  CloseHandle(info.hThread);
  result.exitCode = static_cast<int>(code);
  result.out = UnixLineEnds(testing::ReadFileBytes(capture / u"out"));
  result.err = UnixLineEnds(testing::ReadFileBytes(capture / u"err"));
  return result;
}

#else

RunResult RunCli(const std::vector<std::string>& args, const Text& folder) {
  TempFolder capture;
  std::string outPath = ToUtf8(capture / u"out");
  std::string errPath = ToUtf8(capture / u"err");
  pid_t pid = fork();
  if (pid == 0) {
    if (chdir(ToUtf8(folder).c_str()) != 0) _exit(127);
    if (!freopen(outPath.c_str(), "w", stdout) || !freopen(errPath.c_str(), "w", stderr)) {
      _exit(127);
    }
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

#endif

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

// Backslashes are separators on every system, as in BlitzMax sources.
TEST_F(CliRun, BackslashedRelativePathsCountFromTheStartingFolder) {
  work.MakeFolder(u"out");
  RunResult run = RunCli({"--root", Root(), "--html", "out\\page.htm", "src\\hello.bmx"},
                         work.Path());
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(Has(run.out, "Main Source: hello.bmx\n"));
  EXPECT_TRUE(Has(testing::ReadFileBytes(work / u"out/page.htm"), "Framework BRL.StandardIO"));
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
