// The rule sets run as a user would: the modern example against the
// suggestion worked out by hand (examples/modern/EXPECTED.md), the choice
// of rule set, and rule files of the user's own.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/cli_run.h"
#include "support/test_support.h"

namespace vt {
namespace {

using testing::TempFolder;

// examples/modern/EXPECTED.md, worked out from the rules by hand.
constexpr char kModernBoxes[] =
    "Programs template:\n"
    "\n"
    "Main Source: app.bmx\n"
    "Framework MaxGUI.Drivers\n"
    "Import MaxGUI.MaxGUI\n"
    "Import BRL.Timer\n"
    "Import BRL.KeyCodes\n"
    "Import BRL.Result\n"
    "Import Image.WEBP\n"
    "Import BRL.TimerDefault\n"
    "?Win32\n"
    "Import Pub.Win32\n"
    "?\n"
    "?Linux\n"
    "Import MaxGUI.GTK3WebKit2GTK\n"
    "?\n"
    "\n"
    "' modules which may be required:\n"
    "' Import Image.PNG\n"
    "' Import Image.JPG\n"
    "\n"
    "Imported Code: util.bmx\n"
    "Import Random.Core\n"
    "Import BRL.TextStream\n"
    "Import BRL.Path\n"
    "Import BRL.System\n"
    "Import BRL.SystemDefault\n"
    "Import BRL.Random\n";

TEST(CliRules, TheModernExampleGetsTheSuggestionWorkedOutByHandInTextJsonAndPage) {
  TempFolder work, home;
  std::vector<std::string> common = {"--root", ExamplePath(u"BlitzMaxModern"),
                                     ExamplePath(u"modern/app.bmx")};
  std::vector<std::string> text = common;
  text.insert(text.begin(), "--no-html");
  RunResult run = RunCli(text, work.Path(), OwnHome(home));
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, std::string("Rule set: modern\n\n") + kModernBoxes);

  std::vector<std::string> json = common;
  json.insert(json.begin(), {"--format", "json", "--html", ToUtf8(work / u"page.htm")});
  run = RunCli(json, work.Path(), OwnHome(home));
  ASSERT_EQ(run.exitCode, 0) << run.err;
  nlohmann::json document = nlohmann::json::parse(run.out);
  EXPECT_EQ(document["rule_set"], "modern");
  const auto& main = document["blocks"][0]["boxes"][0];
  EXPECT_EQ(main["framework"], "MaxGUI.Drivers");
  EXPECT_EQ(main["guarded_imports"], nlohmann::json::parse(R"([
      {"module": "Pub.Win32", "condition": "Win32"},
      {"module": "MaxGUI.GTK3WebKit2GTK", "condition": "Linux"}])"));
  // Reasons follow the lines: the guarded imports after the plain ones,
  // then the loaders offered. Each kind of rule gives its own text.
  const auto& reasons = main["reasons"];
  ASSERT_EQ(reasons.size(), 11u);
  EXPECT_EQ(reasons[3]["word"], "KEY_ESCAPE");
  EXPECT_EQ(reasons[5]["rule"], "WebP image loader");
  EXPECT_EQ(reasons[6]["module"], "BRL.TimerDefault");
  EXPECT_EQ(reasons[6]["rule"], "implementation of BRL.Timer");
  EXPECT_EQ(reasons[6]["condition"], nullptr);
  EXPECT_EQ(reasons[7]["condition"], "Win32");
  EXPECT_EQ(reasons[7]["word"], "FlashWindow");
  EXPECT_EQ(reasons[8]["rule"], "plug-in for CreateHTMLView on Linux");
  EXPECT_EQ(reasons[9]["rule"], "images");
  const auto& util = document["blocks"][0]["boxes"][1];
  EXPECT_EQ(util["reasons"][2]["word"], "TPath.Cwd");
  EXPECT_EQ(util["reasons"][5]["rule"], "generator for Random.Core");

  std::string page = testing::ReadFileBytes(work / u"page.htm");
  EXPECT_NE(page.find("<hr>\r\n<p><h4>Rule set: modern BlitzMax</h4></p>\r\n"), std::string::npos);
  EXPECT_NE(page.find("Import BRL.TimerDefault\r\n?Win32\r\nImport Pub.Win32\r\n?\r\n?Linux\r\n"),
            std::string::npos);
}

// The user's choice wins over the installation; each set keeps its own rules.
TEST(CliRules, TheRuleSetCanBeChosenWhateverTheInstallation) {
  TempFolder work, home;
  RunResult classic = RunCli({"--no-html", "--rules", "classic", "--root",
                              ExamplePath(u"BlitzMaxModern"), ExamplePath(u"modern/app.bmx")},
                             work.Path(), OwnHome(home));
  ASSERT_EQ(classic.exitCode, 0) << classic.err;
  EXPECT_EQ(classic.out.rfind("Rule set: classic\n\n", 0), 0u);
  EXPECT_EQ(classic.out.find("TimerDefault"), std::string::npos);
  EXPECT_EQ(classic.out.find("?Win32"), std::string::npos);

  RunResult modern = RunCli({"--no-html", "--rules=modern", "--root", ExamplePath(u"BlitzMax"),
                             ExamplePath(u"game/game.bmx")},
                            work.Path(), OwnHome(home));
  ASSERT_EQ(modern.exitCode, 0) << modern.err;
  EXPECT_EQ(modern.out.rfind("Rule set: modern\n\n", 0), 0u);
  // The modern DirectX driver is not installed there: its block is not offered.
  EXPECT_NE(modern.out.find("Max OpenGL template:\n"), std::string::npos);
  EXPECT_EQ(modern.out.find("DirectX"), std::string::npos);
  // No rename: the audio module is listed, and its driver by a rule.
  EXPECT_NE(modern.out.find("Import BRL.Audio\n"), std::string::npos);
  EXPECT_NE(modern.out.find("Import BRL.FreeAudioAudio\n"), std::string::npos);

  RunResult bad = RunCli({"--rules", "newest", "--root", ExamplePath(u"BlitzMax"),
                          ExamplePath(u"game/game.bmx")},
                         work.Path(), OwnHome(home));
  EXPECT_EQ(bad.exitCode, 2);
}

TEST(CliRules, RuleFilesAddRulesAndAFaultyOneStopsTheRunNamingFileAndLine) {
  TempFolder work, home;
  work.WriteFile(u"mine.txt", "[modern]\nimplementation BRL.Path BRL.Map  keeps paths in a map\n");
  std::vector<std::string> args = {"--no-html", "--explain", "--rules-file", "mine.txt",
                                   "--root", ExamplePath(u"BlitzMaxModern"),
                                   ExamplePath(u"modern/app.bmx")};
  RunResult run = RunCli(args, work.Path(), OwnHome(home));
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("Import BRL.Map ' TPath.Cwd at util.bmx:10 (keeps paths in a map)\n"),
            std::string::npos)
      << run.out;

  // A rule naming a module not installed here is said, and the run goes on.
  work.WriteFile(u"mine.txt", "[modern]\nfamily maps BRL.Map Bah.Map\ngui Bah.GUI\n");
  run = RunCli(args, work.Path(), OwnHome(home));
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.err, "veltrane-cli: warning: " + ToUtf8(work / u"mine.txt") +
                         ":3: Bah.GUI is not installed here; the rule is not used\n");
  args.insert(args.begin(), "--quiet");
  EXPECT_EQ(RunCli(args, work.Path(), OwnHome(home)).err, "");
  args.erase(args.begin());

  work.WriteFile(u"mine.txt", "[modern]\nimplementation BRL.Path\n");
  run = RunCli(args, work.Path(), OwnHome(home));
  EXPECT_EQ(run.exitCode, 10);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("mine.txt:2: "), std::string::npos) << run.err;

  args[3] = "gone.txt";
  run = RunCli(args, work.Path(), OwnHome(home));
  EXPECT_EQ(run.exitCode, 10);
  EXPECT_NE(run.err.find("gone.txt"), std::string::npos) << run.err;

  // Every file given is read, in order, not only the last.
  work.WriteFile(u"mine.txt", "[modern]\nfamily maps BRL.Map\n");
  args.insert(args.begin() + 4, {"--rules-file", "mine.txt"});
  run = RunCli(args, work.Path(), OwnHome(home));
  EXPECT_EQ(run.exitCode, 10);
  EXPECT_NE(run.err.find("gone.txt"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace vt
