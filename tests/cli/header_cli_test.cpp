// veltrane-cli --check, --diff and --write as a user or CI runs them.
#include <gtest/gtest.h>

#include <filesystem>
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
    std::vector<std::string> all = {"--root", ToUtf8(SourceFolder() + u"/examples/BlitzMax"),
                                    "--html", "page.htm"};
    all.insert(all.end(), args.begin(), args.end());
    return RunCli(all, work.Path());
  }
  TempFolder work;
};

TEST_F(HeaderCli, CheckWriteAndCheckAgainOnACopyOfTheExample) {
  std::filesystem::copy(ToUtf8(SourceFolder() + u"/examples/game"), ToUtf8(work / u"game"),
                        std::filesystem::copy_options::recursive);
  std::string original = ReadFileBytes(work / u"game/game.bmx");

  RunResult check = Run({"--check", "game/game.bmx"});
  EXPECT_EQ(check.exitCode, 1) << check.err;
  EXPECT_NE(check.out.find("game/game.bmx:4: unneeded Import BRL.LinkedList\n"), std::string::npos);
  EXPECT_FALSE(ReadFileBytes(work / u"page.htm").empty()) << "the page is written as always";

  RunResult diff = Run({"--diff", "game/game.bmx"});
  EXPECT_EQ(diff.exitCode, 1) << diff.err;
  EXPECT_EQ(diff.out.rfind("--- game/game.bmx\n+++ game/game.bmx\n@@ ", 0), 0u) << diff.out;
  EXPECT_EQ(ReadFileBytes(work / u"game/game.bmx"), original);

  RunResult write = Run({"--write", "game/game.bmx"});
  EXPECT_EQ(write.exitCode, 0) << write.err;
  EXPECT_NE(write.err.find("Wrote game/game.bmx (the original is in game/game.bmx.bak)\n"),
            std::string::npos);
  EXPECT_EQ(ReadFileBytes(work / u"game/game.bmx.bak"), original);
  std::string fixed = ReadFileBytes(work / u"game/game.bmx");

  RunResult again = Run({"--write", "--no-backup", "game/game.bmx"});
  EXPECT_EQ(again.exitCode, 0) << again.err;
  EXPECT_NE(again.err.find("Every header matches; nothing written.\n"), std::string::npos);
  EXPECT_EQ(ReadFileBytes(work / u"game/game.bmx"), fixed);

  RunResult clean = Run({"--check", "game/game.bmx"});
  EXPECT_EQ(clean.exitCode, 0) << clean.out;
  EXPECT_EQ(clean.out, "");
  RunResult none = Run({"--diff", "game/game.bmx"});
  EXPECT_EQ(none.exitCode, 0);
  EXPECT_EQ(none.out, "");
}

TEST_F(HeaderCli, NoBackupKeepsNoCopyAndTheBlockCanBeChosen) {
  work.WriteFile(u"main.bmx", "Graphics 640, 480\r\nDrawRect 0, 0, 8, 8\r\n");
  RunResult write = Run({"--template", "2", "--write", "--no-backup", "main.bmx"});
  EXPECT_EQ(write.exitCode, 0) << write.err;
  EXPECT_FALSE(std::filesystem::exists(ToUtf8(work / u"main.bmx.bak")));
  EXPECT_EQ(ReadFileBytes(work / u"main.bmx"),
            "Framework BRL.D3D7Max2D\r\n\r\nGraphics 640, 480\r\nDrawRect 0, 0, 8, 8\r\n");
  // The main file's Framework now picks the second block by itself.
  EXPECT_EQ(Run({"--check", "main.bmx"}).exitCode, 0);
  EXPECT_EQ(Run({"--template", "1", "--check", "main.bmx"}).exitCode, 1);

  RunResult bad = Run({"--template", "3", "--diff", "main.bmx"});
  EXPECT_EQ(bad.exitCode, 2);
  EXPECT_NE(bad.err.find("there is no framework block 3; the suggestion has 2"), std::string::npos);
}

TEST_F(HeaderCli, OptionsThatDoNotFitAreBadUsage) {
  work.WriteFile(u"main.bmx", "Print 1\n");
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"--check", "--diff", "main.bmx"},
           {"--no-backup", "main.bmx"},
           {"--diff", "--no-backup", "main.bmx"},
           {"--template", "2", "main.bmx"},
           {"--template", "0", "--check", "main.bmx"},
           {"--template", "two", "--check", "main.bmx"},
           {"--check", "--template"},
           {"--check", "--modules"}}) {
    RunResult run = Run(args);
    EXPECT_EQ(run.exitCode, 2) << ::testing::PrintToString(args);
    EXPECT_NE(run.err.find("Usage: veltrane-cli"), std::string::npos);
  }
  EXPECT_EQ(ReadFileBytes(work / u"main.bmx"), "Print 1\n");
}

TEST_F(HeaderCli, AFileThatCannotBeWrittenIsExitSixAndKeepsItsBytes) {
  work.WriteFile(u"main.bmx", "Print 1\n");
  // A folder where the backup should go: the backup fails, so the file
  // must stay as it was.
  work.MakeFolder(u"main.bmx.bak");
  RunResult write = Run({"--write", "main.bmx"});
  EXPECT_EQ(write.exitCode, 8);
  EXPECT_NE(write.err.find("veltrane-cli: main.bmx: left alone: the backup main.bmx.bak cannot be "
                           "written: not a regular file\n"),
            std::string::npos)
      << write.err;
  EXPECT_EQ(ReadFileBytes(work / u"main.bmx"), "Print 1\n");
  RunResult without = Run({"--write", "--no-backup", "main.bmx"});
  EXPECT_EQ(without.exitCode, 0) << without.err;
  EXPECT_EQ(ReadFileBytes(work / u"main.bmx"), "Framework BRL.StandardIO\n\nPrint 1\n");
}

}  // namespace
}  // namespace vt
