// veltrane-cli --check, --diff and --write as a user or CI runs them.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/cli_run.h"
#include "support/test_support.h"

namespace vt {
namespace {

using testing::ReadFileBytes;
using testing::SourceFolder;
using testing::TempFolder;

class HeaderCli : public ::testing::Test {
 protected:
  RunResult Run(std::vector<std::string> args) {
    std::vector<std::string> all = {"--root", ToUtf8(SourceFolder() + u"/examples/BlitzMax")};
    all.insert(all.end(), args.begin(), args.end());
    return RunCli(all, work.Path());
  }
  bool Exists(TextView relative) { return std::filesystem::exists(ToUtf8(work / relative)); }
  TempFolder work;
};

TEST_F(HeaderCli, CheckWriteAndCheckAgainOnACopyOfTheExample) {
  std::filesystem::copy(ToUtf8(SourceFolder() + u"/examples/game"), ToUtf8(work / u"game"),
                        std::filesystem::copy_options::recursive);
  std::string original = ReadFileBytes(work / u"game/game.bmx");

  RunResult check = Run({"--check", "game/game.bmx"});
  EXPECT_EQ(check.exitCode, 1) << check.err;
  EXPECT_NE(check.out.find("game/game.bmx:4: unneeded Import BRL.LinkedList\n"), std::string::npos);
  EXPECT_FALSE(Exists(u"results.htm")) << "no page unless asked for";

  RunResult diff = Run({"--diff", "--html", "page.htm", "game/game.bmx"});
  EXPECT_EQ(diff.exitCode, 1) << diff.err;
  EXPECT_EQ(diff.out.rfind("--- game/game.bmx\n+++ game/game.bmx\n@@ ", 0), 0u) << diff.out;
  EXPECT_EQ(ReadFileBytes(work / u"game/game.bmx"), original);
  EXPECT_TRUE(Exists(u"page.htm"));

  RunResult write = Run({"--write", "--backup", "game/game.bmx"});
  EXPECT_EQ(write.exitCode, 0) << write.err;
  EXPECT_NE(write.err.find("Wrote game/game.bmx (the original is in game/game.bmx.bak)\n"),
            std::string::npos);
  EXPECT_EQ(ReadFileBytes(work / u"game/game.bmx.bak"), original);
  std::string fixed = ReadFileBytes(work / u"game/game.bmx");

  RunResult again = Run({"--write", "game/game.bmx"});
  EXPECT_EQ(again.exitCode, 0) << again.err;
  EXPECT_NE(again.err.find("Every header matches; nothing written.\n"), std::string::npos);
  EXPECT_EQ(ReadFileBytes(work / u"game/game.bmx"), fixed);

  RunResult clean = Run({"--check", "--no-html", "game/game.bmx"});
  EXPECT_EQ(clean.exitCode, 0) << clean.out;
  EXPECT_EQ(clean.out, "");
  RunResult none = Run({"--diff", "game/game.bmx"});
  EXPECT_EQ(none.exitCode, 0);
  EXPECT_EQ(none.out, "");
  EXPECT_FALSE(Exists(u"results.htm"));
}

// A folder stands for its main files: those no other file imports or
// includes. A file two of them import is looked at once, as imported, so two
// runs over the folder agree, and each backup keeps the original.
// A relative root means the same folder for the whole run: the paths given
// after it still name files from where the run started, so a program, a
// folder or a page inside the installation is refused as it is with an
// absolute root.
TEST_F(HeaderCli, ARelativeRootNeverLetsAnEditIntoTheInstallation) {
  std::filesystem::copy(ToUtf8(SourceFolder() + u"/examples/BlitzMax"), ToUtf8(work / u"BM"),
                        std::filesystem::copy_options::recursive);
  work.WriteFile(u"BM/mod/myapp/app.bmx", "SuperStrict\nPrint Upper(\"x\")\n");
  const std::string module = ReadFileBytes(work / u"BM/mod/brl.mod/retro.mod/retro.bmx");
  for (std::vector<std::string> args :
       {std::vector<std::string>{"--root", "BM", "--write", "BM/mod/myapp/app.bmx"},
        {"--root", "BM", "--write", "BM/mod"},
        {"--root", "BM", "--html", "BM/mod/brl.mod/retro.mod/retro.bmx", "BM/mod/myapp/app.bmx"}}) {
    RunResult run = RunCli(args, work.Path());
    EXPECT_NE(run.exitCode, 0) << args[3];
    // The same root named by BMXPATH.
    testing::ScopedEnvironment bmxpath("BMXPATH", "BM");
    run = RunCli(std::vector<std::string>(args.begin() + 2, args.end()), work.Path());
    EXPECT_NE(run.exitCode, 0) << args[3];
  }
  EXPECT_EQ(ReadFileBytes(work / u"BM/mod/myapp/app.bmx"), "SuperStrict\nPrint Upper(\"x\")\n");
  EXPECT_EQ(ReadFileBytes(work / u"BM/mod/brl.mod/retro.mod/retro.bmx"), module);
}

TEST_F(HeaderCli, AFolderOfProgramsSharingFilesSettlesAfterOneWrite) {
  const std::vector<std::pair<Text, std::string>> files = {
      {u"proj/a.bmx", "Import \"lib/util.bmx\"\nPrint Shout(\"x\")\n"},
      {u"proj/b.bmx", "Import \"lib/util.bmx\"\nInclude \"inc/draw.bmx\"\nPrint Shout(Hex(2))\n"},
      {u"proj/lib/util.bmx", "Function Shout:String(s:String)\nReturn Upper(s)\nEnd Function\n"},
      {u"proj/inc/draw.bmx", "Print Trim(\" y \")\n"}};
  for (const auto& [name, text] : files) work.WriteFile(name, text);

  RunResult list = Run({"--list", "proj"});
  EXPECT_EQ(list.exitCode, 1) << list.err;
  EXPECT_EQ(list.out, "proj/a.bmx\nproj/lib/util.bmx\nproj/b.bmx\n");
  // Several main files, one document.
  RunResult json = Run({"--check", "--format", "json", "proj"});
  EXPECT_EQ(json.exitCode, 1) << json.err;
  std::set<std::string> flagged;
  nlohmann::json document = nlohmann::json::parse(json.out);
  for (const auto& finding : document["findings"]) {
    flagged.insert(finding["file"].get<std::string>());
  }
  EXPECT_EQ(flagged, (std::set<std::string>{"proj/a.bmx", "proj/b.bmx", "proj/lib/util.bmx"}));

  for (int round = 0; round < 2; ++round) {
    RunResult write = Run({"--write", "--backup", "proj"});
    EXPECT_EQ(write.exitCode, 0) << write.err;
  }
  for (const auto& [name, text] : files) {
    bool edited = name != u"proj/inc/draw.bmx";
    EXPECT_EQ(Exists(name + u".bak"), edited) << ToUtf8(name);
    if (edited) {
      EXPECT_EQ(ReadFileBytes(work / (name + u".bak")), text) << ToUtf8(name);
    }
  }
  RunResult check = Run({"--check", "proj/b.bmx", "proj"});
  EXPECT_EQ(check.exitCode, 0) << check.out;
  EXPECT_EQ(Run({"--list", "proj"}).out, "");
}

// A project keeps its settings beside its sources: with no PATH, the check
// takes the project's main files, root and modules to keep from it.
TEST_F(HeaderCli, AProjectFileNamesRootMainFilesAndModulesToKeep) {
  std::string root = ToUtf8(SourceFolder() + u"/examples/BlitzMax");
  work.WriteFile(u"veltrane.toml", "# the game\nroot = \"" + root + "\"\nrules = \"classic\"\n"
                                   "main_files = [\"src/a.bmx\"]\nkeep = [\"BRL.LinkedList\"]\n");
  work.WriteFile(u"src/a.bmx", "Framework BRL.StandardIO\nImport BRL.LinkedList\nPrint 1\n");
  work.WriteFile(u"src/unused.bmx", "Print Upper(\"x\")\n");
  RunResult check = RunCli({"--check"}, work.Path());
  EXPECT_EQ(check.exitCode, 0) << check.out << check.err;
  EXPECT_EQ(check.out, "");

  work.WriteFile(u"veltrane.toml", "root = \"x\"\nmain_file = [\"a.bmx\"]\n");
  RunResult bad = RunCli({"--check", "src/a.bmx"}, work.Path());
  EXPECT_EQ(bad.exitCode, 10);
  EXPECT_NE(bad.err.find("veltrane.toml:2: unknown setting \"main_file\""), std::string::npos)
      << bad.err;

  // One that is no file is no less the project's.
  std::filesystem::remove(ToUtf8(work / u"veltrane.toml"));
  work.MakeFolder(u"veltrane.toml");
  RunResult folder = RunCli({"--check", "src/a.bmx"}, work.Path());
  EXPECT_EQ(folder.exitCode, 10);
  EXPECT_NE(folder.err.find("veltrane.toml: not a regular file"), std::string::npos) << folder.err;
}

// The diff is the edit: applied with patch it gives the very bytes --write
// writes, whatever the file holds (a byte-order mark, a NUL byte, CRLF
// endings, no last ending).
TEST_F(HeaderCli, TheDiffAppliedWithPatchGivesWhatTheWriteWrites) {
#if defined(_WIN32)
  GTEST_SKIP() << "no patch program here";
#else
  if (!std::filesystem::exists("/usr/bin/patch")) GTEST_SKIP() << "no patch program";
  const std::string files[] = {
      "\xEF\xBB\xBFPrint Upper(\"x\")\n",
      "\xEF\xBB\xBF" "Framework BRL.StandardIO\nImport BRL.Max2D\nPrint Upper(\"x\")\n",
      std::string("Import BRL.Max2D\nPrint \"a\0b\"\nPrint Upper(\"x\")\nPrint 3\n", 55),
      "Print Upper(\"x\")\r\nPrint 2\r\n",
      "Print Upper(\"x\")",
  };
  for (const std::string& bytes : files) {
    SCOPED_TRACE(testing::Show(FromUtf8(bytes)));
    work.WriteFile(u"diff/main.bmx", bytes);
    work.WriteFile(u"write/main.bmx", bytes);
    RunResult diff = RunCli({"--root", ToUtf8(SourceFolder() + u"/examples/BlitzMax"), "--diff",
                             "main.bmx"},
                            work / u"diff");
    ASSERT_EQ(diff.exitCode, 1) << diff.err;
    work.WriteFile(u"diff/edit.diff", diff.out);
    Setting patch;
    patch.program = "/usr/bin/patch";
    RunResult applied = RunCli({"-p0", "-s", "-i", "edit.diff"}, work / u"diff", patch);
    ASSERT_EQ(applied.exitCode, 0) << applied.out << applied.err << diff.out;
    RunResult write = RunCli({"--root", ToUtf8(SourceFolder() + u"/examples/BlitzMax"), "--write",
                              "main.bmx"},
                             work / u"write");
    ASSERT_EQ(write.exitCode, 0) << write.err;
    EXPECT_EQ(ReadFileBytes(work / u"diff/main.bmx"), ReadFileBytes(work / u"write/main.bmx"));
  }
#endif
}

// Under a file size limit the write fails as a write: a message, exit 8,
// the file as it was and no temporary file left beside it.
TEST_F(HeaderCli, AFileSizeLimitIsAWriteErrorNotADeath) {
#if defined(_WIN32)
  GTEST_SKIP() << "Windows has no file size limit";
#else
  std::string body = "Print Upper(\"x\")\n";
  while (body.size() < 20000) body += "Print 1\n";
  work.WriteFile(u"main.bmx", body);
  Setting limited;
  limited.fileSize = 8192;
  RunResult run = RunCli({"--root", ToUtf8(SourceFolder() + u"/examples/BlitzMax"), "--write",
                          "main.bmx"},
                         work.Path(), limited);
  EXPECT_EQ(run.exitCode, 8) << run.err;
  EXPECT_NE(run.err.find("main.bmx: left alone: cannot write it"), std::string::npos) << run.err;
  EXPECT_EQ(ReadFileBytes(work / u"main.bmx"), body);
  EXPECT_EQ(ListFolder(work.Path()), std::vector<Text>{u"main.bmx"});
#endif
}

// A name holding ESC or a line feed keeps to its line in every output, so
// that neither a terminal nor a reader of "file:line:" lines is misled.
TEST_F(HeaderCli, ControlCharactersOfNamesAreEscapedInEveryOutput) {
#if defined(_WIN32)
  GTEST_SKIP() << "Windows names hold no control characters";
#else
  work.WriteFile(u"p/e\x1b[31m.bmx", "Print Upper(\"x\")\n");
  work.WriteFile(u"p/n\nl.bmx", "Print Upper(\"x\")\n");
  RunResult json = Run({"--check", "--format", "json", "p"});
  size_t findings = nlohmann::json::parse(json.out)["findings"].size();
  ASSERT_GT(findings, 0u);
  for (const char* format : {"text", "github"}) {
    RunResult check = Run({"--check", "--format", format, "p"});
    EXPECT_EQ(check.out.find('\x1b'), std::string::npos) << check.out;
    EXPECT_EQ(static_cast<size_t>(std::count(check.out.begin(), check.out.end(), '\n')), findings)
        << check.out;
  }
  RunResult diff = Run({"--diff", "p"});
  EXPECT_NE(diff.out.find("--- p/n\\x0al.bmx\n"), std::string::npos) << diff.out;
  EXPECT_NE(diff.out.find("--- p/e\\x1b[31m.bmx\n"), std::string::npos) << diff.out;
  RunResult write = Run({"--write", "p"});
  EXPECT_EQ(write.exitCode, 0) << write.err;
  EXPECT_NE(write.err.find("Wrote p/n\\x0al.bmx\n"), std::string::npos) << write.err;
#endif
}

// A missing Include hides what that file needs: no edit is made on such a
// picture, and the check says it is incomplete.
TEST_F(HeaderCli, AnIncompletePictureIsNeverEditedAndNoPass) {
  std::string program = "Import BRL.LinkedList\nInclude \"gone.bmx\"\nPrint 1\n";
  work.WriteFile(u"main.bmx", program);
  for (const char* mode : {"--write", "--diff"}) {
    RunResult run = Run({mode, "--quiet", "main.bmx"});
    EXPECT_EQ(run.exitCode, 11) << mode;
    EXPECT_EQ(run.out, "") << mode;
    EXPECT_NE(run.err.find("main.bmx:2: warning: Include file not found: \"gone.bmx\"\n"),
              std::string::npos)
        << run.err;
  }
  EXPECT_EQ(ReadFileBytes(work / u"main.bmx"), program);
  RunResult check = Run({"--check", "main.bmx"});
  EXPECT_EQ(check.exitCode, 11);
  EXPECT_NE(check.out.find("main.bmx:1: unneeded Import BRL.LinkedList\n"), std::string::npos);
  EXPECT_NE(check.err.find("the check is incomplete"), std::string::npos) << check.err;
}

// Results come first; --quiet leaves only results and errors; a page that
// cannot be written is said after the results and is the exit code.
TEST_F(HeaderCli, ResultsComeFirstAndQuietSilencesProgress) {
  work.WriteFile(u"main.bmx", "Print Upper(\"x\")\n");
  RunResult quiet = Run({"--write", "--quiet", "--backup", "main.bmx"});
  EXPECT_EQ(quiet.exitCode, 0);
  EXPECT_EQ(quiet.err, "");
  work.WriteFile(u"main.bmx", "Print Upper(\"x\")\n");
  work.MakeFolder(u"page.htm");
  RunResult check = RunCli({"--root", ToUtf8(SourceFolder() + u"/examples/BlitzMax"), "--check",
                            "--html", "page.htm", "main.bmx"},
                           work.Path(), [] {
                             Setting merged;
                             merged.merged = true;
                             return merged;
                           }());
  EXPECT_EQ(check.exitCode, 5);
  size_t result = check.out.find("main.bmx:1: no Framework line");
  size_t failure = check.out.find("veltrane-cli: cannot write the page");
  ASSERT_NE(result, std::string::npos) << check.out;
  EXPECT_LT(result, failure);
}

// What an editor or a CI job reads: the findings with their reasons, the
// edit as line ranges, and workflow annotations.
TEST_F(HeaderCli, CheckAndDiffGiveTheirFindingsAsData) {
  work.WriteFile(u"main.bmx", "Framework BRL.StandardIO\nImport BRL.Max2D\nPrint Upper(\"x\")\n");
  RunResult check = Run({"--check", "--format", "json", "main.bmx"});
  EXPECT_EQ(check.exitCode, 1);
  nlohmann::json document = nlohmann::json::parse(check.out);
  EXPECT_EQ(document["schema"], 2);
  EXPECT_EQ(document["mode"], "check");
  ASSERT_EQ(document["findings"].size(), 2u);
  const auto& missing = document["findings"][0];
  EXPECT_EQ(missing["kind"], "missing");
  EXPECT_EQ(missing["module"], "BRL.Retro");
  EXPECT_EQ(missing["reason"]["word"], "Upper");
  EXPECT_EQ(missing["reason"]["line"], 3);
  EXPECT_EQ(document["findings"][1]["kind"], "unneeded");

  RunResult diff = Run({"--diff", "--format=json", "main.bmx"});
  EXPECT_EQ(diff.exitCode, 1);
  EXPECT_EQ(nlohmann::json::parse(diff.out)["edits"],
            nlohmann::json::parse(R"([{"file": "main.bmx", "replacements":
                [{"line": 2, "remove": 1, "insert": ["Import BRL.Retro"]}]}])"));

  RunResult github = Run({"--check", "--format", "github", "main.bmx"});
  EXPECT_EQ(github.exitCode, 1);
  EXPECT_EQ(github.out,
            "::error file=main.bmx,line=1,title=Veltrane::main.bmx:1: missing Import BRL.Retro "
            "(Upper at main.bmx:3)\n"
            "::error file=main.bmx,line=2,title=Veltrane::main.bmx:2: unneeded Import BRL.Max2D\n");
}

// A line of a module not installed here cannot be judged: it is kept, the
// Framework line included, and noted; a note alone is no difference.
TEST_F(HeaderCli, ALineOfAModuleNotInstalledHereIsKeptAndNoted) {
  std::string program = "Framework Bah.Window\nImport BRL.StandardIO\nImport BRL.Retro\n"
                        "Import Bah.Sound ' mine\nPrint Upper(\"x\")\n";
  work.WriteFile(u"main.bmx", program);
  RunResult check = Run({"--check", "main.bmx"});
  EXPECT_EQ(check.exitCode, 0) << check.err;
  EXPECT_EQ(check.out,
            "main.bmx:1: Framework Bah.Window: not installed here: kept\n"
            "main.bmx:4: Import Bah.Sound: not installed here: kept\n");
  RunResult json = Run({"--check", "--format", "json", "main.bmx"});
  EXPECT_EQ(json.exitCode, 0);
  nlohmann::json document = nlohmann::json::parse(json.out);
  EXPECT_EQ(document["differs"], false);
  ASSERT_EQ(document["findings"].size(), 2u);
  EXPECT_EQ(document["findings"][0]["kind"], "not_installed");
  EXPECT_EQ(document["findings"][0]["framework"], true);
  EXPECT_EQ(document["findings"][1]["module"], "Bah.Sound");
  RunResult github = Run({"--check", "--format", "github", "main.bmx"});
  EXPECT_EQ(github.exitCode, 0);
  EXPECT_EQ(github.out.rfind("::notice file=main.bmx,line=1,title=Veltrane::main.bmx:1: "
                             "Framework Bah.Window: not installed here: kept\n::notice ", 0),
            0u) << github.out;
  RunResult list = Run({"--list", "main.bmx"});
  EXPECT_EQ(list.exitCode, 0);
  EXPECT_EQ(list.out, "");

  // The Framework line stays; the module wanted there is imported instead.
  work.WriteFile(u"main.bmx", "Framework Bah.Window\nImport BRL.Retro\nImport Bah.Sound ' mine\n"
                              "Print Upper(\"x\")\n");
  RunResult write = Run({"--write", "main.bmx"});
  EXPECT_EQ(write.exitCode, 0) << write.err;
  EXPECT_EQ(ReadFileBytes(work / u"main.bmx"), program);
}

TEST_F(HeaderCli, NoBackupByDefaultAndTheBlockCanBeChosen) {
  work.WriteFile(u"main.bmx", "Graphics 640, 480\r\nDrawRect 0, 0, 8, 8\r\n");
  RunResult write = Run({"--template", "2", "--write", "main.bmx"});
  EXPECT_EQ(write.exitCode, 0) << write.err;
  EXPECT_FALSE(std::filesystem::exists(ToUtf8(work / u"main.bmx.bak")));
  EXPECT_EQ(ReadFileBytes(work / u"main.bmx"),
            "Framework BRL.D3D7Max2D\r\n\r\nGraphics 640, 480\r\nDrawRect 0, 0, 8, 8\r\n");
  // The main file's Framework now picks the second block by itself.
  EXPECT_EQ(Run({"--check", "main.bmx"}).exitCode, 0);
  EXPECT_EQ(Run({"--template", "1", "--check", "main.bmx"}).exitCode, 1);

  RunResult bad = Run({"--template", "3", "--html", "page.htm", "--diff", "main.bmx"});
  EXPECT_EQ(bad.exitCode, 2);
  EXPECT_NE(bad.err.find("there is no framework block 3; the suggestion has 2"), std::string::npos);
  EXPECT_FALSE(Exists(u"page.htm")) << "nothing is written before the usage error";
}

TEST_F(HeaderCli, OptionsThatDoNotFitAreBadUsage) {
  work.WriteFile(u"main.bmx", "Print 1\n");
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"--check", "--diff", "main.bmx"},
           {"--no-backup", "main.bmx"},
           {"--diff", "--backup", "main.bmx"},
           {"--write", "--backup", "--no-backup", "main.bmx"},
           {"--diff", "--explain", "main.bmx"},
           {"--write", "--format", "json", "main.bmx"},
           {"--format", "github", "main.bmx"},
           {"--template", "2", "main.bmx"},
           {"--template", "0", "--check", "main.bmx"},
           {"--template", "two", "--check", "main.bmx"},
           {"--check", "--template"},
           {"--check", "--modules"}}) {
    RunResult run = Run(args);
    EXPECT_EQ(run.exitCode, 2) << ::testing::PrintToString(args);
    EXPECT_NE(run.err.find("Run with --help for more information."), std::string::npos);
  }
  EXPECT_EQ(ReadFileBytes(work / u"main.bmx"), "Print 1\n");
}

TEST_F(HeaderCli, AFileThatCannotBeWrittenIsExitSixAndKeepsItsBytes) {
  work.WriteFile(u"main.bmx", "Print 1\n");
  // A folder where the backup should go: the backup fails, so the file
  // must stay as it was.
  work.MakeFolder(u"main.bmx.bak");
  RunResult write = Run({"--write", "--backup", "main.bmx"});
  EXPECT_EQ(write.exitCode, 8);
  EXPECT_NE(write.err.find("veltrane-cli: main.bmx: left alone: the backup main.bmx.bak cannot be "
                           "written: not a regular file\n"),
            std::string::npos)
      << write.err;
  EXPECT_EQ(ReadFileBytes(work / u"main.bmx"), "Print 1\n");
  RunResult without = Run({"--write", "main.bmx"});
  EXPECT_EQ(without.exitCode, 0) << without.err;
  EXPECT_EQ(ReadFileBytes(work / u"main.bmx"), "Framework BRL.StandardIO\n\nPrint 1\n");
}

}  // namespace
}  // namespace vt
