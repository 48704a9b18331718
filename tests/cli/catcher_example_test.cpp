// The second modern example, a game whose own names, comments, dead
// section, third-party import and driver Framework a header must get right,
// against what examples/catcher/EXPECTED.md works out by hand.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/cli_run.h"
#include "support/test_support.h"

namespace vt {
namespace {

using testing::TempFolder;

constexpr char kBlockBody[] =
    "Import BRL.Map\n"
    "Import BRL.PolledInput\n"
    "?Win32\n"
    "Import Pub.Win32\n"
    "?\n"
    "\n"
    "\n";

std::string Suggestion() {
  return std::string("Rule set: modern\n\nMax OpenGL template:\n\nMain Source: catcher.bmx\n"
                     "Framework BRL.GLMax2D\n") +
         kBlockBody +
         "SetGraphicsDriver GLMax2DDriver()\n\nMax DirectX template:\n\n"
         "Main Source: catcher.bmx\nFramework BRL.D3D9Max2D\n" +
         kBlockBody + "SetGraphicsDriver D3D9Max2DDriver()\n";
}

TEST(CatcherExample, TheSuggestionIsTheOneWorkedOutByHandInTextJsonAndPage) {
  TempFolder work, home;
  const std::string root = ExamplePath(u"BlitzMaxModern");
  const std::string source = ExamplePath(u"catcher/catcher.bmx");
  RunResult run = RunCli({"--no-html", "--root", root, source}, work.Path(), OwnHome(home));
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, Suggestion());

  run = RunCli({"--format", "json", "--html", ToUtf8(work / u"page.htm"), "--root", root, source},
               work.Path(), OwnHome(home));
  ASSERT_EQ(run.exitCode, 0) << run.err;
  nlohmann::json document = nlohmann::json::parse(run.out);
  const auto& main = document["blocks"][0]["boxes"][0];
  EXPECT_EQ(main["framework"], "BRL.GLMax2D");
  EXPECT_EQ(main["imports"], nlohmann::json::parse(R"(["BRL.Map", "BRL.PolledInput"])"));
  EXPECT_EQ(main["guarded_imports"],
            nlohmann::json::parse(R"([{"module": "Pub.Win32", "condition": "Win32"}])"));
  // Max2D's SetColor where the program calls it, not inside TPaddle.
  EXPECT_EQ(main["reasons"][0]["word"], "SetColor");
  EXPECT_EQ(main["reasons"][0]["line"], 61);

  std::string page = testing::ReadFileBytes(work / u"page.htm");
  EXPECT_NE(page.find("Framework BRL.GLMax2D\r\nImport BRL.Map\r\nImport BRL.PolledInput\r\n"
                      "?Win32\r\nImport Pub.Win32\r\n?\r\n"),
            std::string::npos);
  for (const char* absent : {"MaxGUI", "BRL.Arrays", "BRL.Result", "maXML", "Fx.Particles"}) {
    EXPECT_EQ(page.find(absent), std::string::npos) << absent;
  }
}

// --check says what EXPECTED.md says; --write mends it so that a check is
// clean but for the note, and a second --write has nothing to do.
TEST(CatcherExample, CheckWriteAndCheckAgain) {
  TempFolder work, home;
  const std::string root = ExamplePath(u"BlitzMaxModern");
  const std::string original = testing::ReadFileBytes(testing::SourceFolder() +
                                                      u"/examples/catcher/catcher.bmx");
  work.WriteFile(u"catcher.bmx", original);
  work.WriteFile(u"oldgui.bmx", testing::ReadFileBytes(testing::SourceFolder() +
                                                       u"/examples/catcher/oldgui.bmx"));
  RunResult check = RunCli({"--check", "--root", root, "catcher.bmx"}, work.Path(), OwnHome(home));
  EXPECT_EQ(check.exitCode, 1) << check.err;
  EXPECT_EQ(check.out,
            "catcher.bmx:4: missing Import BRL.Map (TMap at catcher.bmx:81)\n"
            "catcher.bmx:4: missing Import Pub.Win32 under ?Win32 "
            "(MessageBeep at catcher.bmx:116)\n"
            "catcher.bmx:6: Import Fx.Particles: not installed here: kept\n");

  RunResult write = RunCli({"--write", "--root", root, "catcher.bmx"}, work.Path(), OwnHome(home));
  ASSERT_EQ(write.exitCode, 0) << write.err;
  std::string written = testing::ReadFileBytes(work / u"catcher.bmx");
  std::string header =
      "Framework SDL.SDLRenderMax2D\nImport BRL.Map\nImport BRL.PolledInput\n"
      "Import Fx.Particles ' sparks when a star is caught; not part of BlitzMax\n"
      "?Win32\nImport Pub.Win32\n?\n";
  size_t at = original.find("Framework");
  size_t end = original.find("\n\n?Not bmxng");
  ASSERT_NE(end, std::string::npos);
  EXPECT_EQ(written, original.substr(0, at) + header + original.substr(end + 1));

  check = RunCli({"--check", "--root", root, "catcher.bmx"}, work.Path(), OwnHome(home));
  EXPECT_EQ(check.exitCode, 0) << check.out << check.err;
  EXPECT_EQ(check.out, "catcher.bmx:7: Import Fx.Particles: not installed here: kept\n");
  write = RunCli({"--write", "--root", root, "catcher.bmx"}, work.Path(), OwnHome(home));
  EXPECT_EQ(write.exitCode, 0) << write.err;
  EXPECT_EQ(testing::ReadFileBytes(work / u"catcher.bmx"), written);
}

}  // namespace
}  // namespace vt
