// The newer options of veltrane-cli, run as a user would: --explain,
// warnings, --format json, --version, --no-html and the option syntax.
#include <gtest/gtest.h>
#if !defined(_WIN32)
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <nlohmann/json.hpp>
#include <regex>
#include <string>
#include <vector>

#include "base/version.h"
#include "cli/cli_run.h"
#include "support/test_support.h"

namespace vt {
namespace {

using testing::TempFolder;

// Standard error where standard output goes, as with 2>&1.
Setting Merged() {
  Setting setting;
  setting.merged = true;
  return setting;
}


std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    lines.push_back(text.substr(start, end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return lines;
}

std::string ExampleRoot() { return ToUtf8(testing::SourceFolder() + u"/examples/BlitzMax"); }
Text ExampleGame() { return testing::SourceFolder() + u"/examples/game"; }

// The text output as the JSON document describes it, block by block and box
// by box; with `explain`, each module line followed by its reason.
std::string TextFromJson(const nlohmann::json& document, bool explain) {
  std::string text = "Rule set: " + document["rule_set"].get<std::string>() + "\n\n";
  bool first = true;
  for (const auto& block : document["blocks"]) {
    if (!first) text += "\n";
    first = false;
    text += block["title"].get<std::string>() + "\n";
    for (const auto& box : block["boxes"]) {
      std::string file = box["file"];
      text += "\n" + box["label"].get<std::string>() + file.substr(file.rfind('/') + 1) + "\n";
      size_t reason = 0;
      for (const auto& line : box["lines"]) {
        std::string shown = line;
        bool moduleLine = shown.rfind("Framework ", 0) == 0 || shown.rfind("Import ", 0) == 0 ||
                          shown.rfind("' Import ", 0) == 0;
        if (explain && moduleLine) shown += " ' " + box["reasons"][reason].at("text").get<std::string>();
        if (moduleLine) ++reason;
        text += shown + "\n";
      }
    }
  }
  return text;
}

TEST(CliVersion, IsTheOneSetInTheBuild) {
  TempFolder work;
  RunResult run = RunCli({"--version"}, work.Path());
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, std::string("veltrane-cli ") + kVersion + "\n");
  EXPECT_TRUE(std::regex_match(std::string(kVersion), std::regex("[0-9]+\\.[0-9]+\\.[0-9]+")));
  EXPECT_EQ(run.err, "");
}

TEST(CliOptions, HelpHasOneLinePerOptionAndErrorsNameTheArgument) {
  TempFolder work;
  RunResult help = RunCli({"--help"}, work.Path());
  ASSERT_EQ(help.exitCode, 0);
  for (const char* option : {"--modules", "--root", "--html", "--no-html", "--explain",
                             "--format", "--quiet", "--version", "--help"}) {
    int count = 0;
    for (const std::string& line : Lines(help.out)) {
      if (line.rfind(std::string("  ") + option + " ", 0) == 0) ++count;
    }
    EXPECT_EQ(count, 1) << option;
  }

  for (const auto& [args, named] : std::vector<std::pair<std::vector<std::string>, std::string>>{
           {{"--frobnicate", "a.bmx"}, "--frobnicate"},
           {{"a.bmx", "b.bmx"}, "b.bmx"},
           {{"--format", "xml", "a.bmx"}, "xml"},
           {{"--root=", "a.bmx"}, "--root="},
           {{"--html", "p.htm", "--no-html", "a.bmx"}, "--no-html"},
           {{"--modules", "a.bmx"}, "a.bmx"},
           {{"--root", "", "a.bmx"}, "--root"}}) {
    RunResult bad = RunCli(args, work.Path());
    EXPECT_EQ(bad.exitCode, 2) << named;
    ASSERT_FALSE(bad.err.empty());
    std::string first = Lines(bad.err)[0];
    EXPECT_EQ(first.rfind("veltrane-cli: ", 0), 0u) << first;
    EXPECT_TRUE(Has(first, named)) << first;
    EXPECT_EQ(bad.out, "");
  }
}

// A tiny installation and a program that includes one file that is missing.
class CliProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    root.WriteFile(u"mod/brl.mod/standardio.mod/standardio.bmx",
                   "Module BRL.StandardIO\r\nFunction Print( s$ )\r\nEnd Function\r\n");
    work.WriteFile(u"src/hello.bmx", "Include \"gone.bmx\"\r\nPrint \"hello\"\r\n");
  }
  std::string Root() const { return ToUtf8(root.Path()); }
  TempFolder root;
  TempFolder work;
};

TEST_F(CliProgram, WarningsAreClickableAndQuietSilencesThem) {
  RunResult run = RunCli({"--root=" + Root(), "--html=page.htm", "src/hello.bmx"}, work.Path());
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(Lines(run.err)[0], "src/hello.bmx:1: warning: Include file not found: \"gone.bmx\"");
  EXPECT_TRUE(Has(run.out, "Framework BRL.StandardIO\n"));
  std::string page = testing::ReadFileBytes(work / u"page.htm");
  EXPECT_FALSE(Has(page, "gone.bmx"));

  RunResult quiet = RunCli({"--quiet", "--root", Root(), "src/hello.bmx"}, work.Path());
  EXPECT_EQ(quiet.exitCode, 0);
  EXPECT_EQ(quiet.err, "");
  EXPECT_EQ(quiet.out, run.out);
  EXPECT_EQ(testing::ReadFileBytes(work / u"results.htm"), page);
}

TEST_F(CliProgram, QuietModulesPageSaysNothing) {
  RunResult run = RunCli({"--quiet", "--root", Root(), "--modules"}, work.Path());
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_TRUE(Has(testing::ReadFileBytes(work / u"results.htm"), "BRL.StandardIO"));
}

TEST_F(CliProgram, NoHtmlWritesNoPageAndExplainComments) {
  RunResult run = RunCli({"--no-html", "--explain", "--quiet", "--root", Root(), "src/hello.bmx"},
                         work.Path());
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out,
            "Rule set: classic\n\n"
            "Programs template:\n"
            "\n"
            "Main Source: hello.bmx\n"
            "Framework BRL.StandardIO ' Programs template: Print at hello.bmx:2\n");
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(testing::ReadFileBytes(work / u"results.htm"), "");
}

TEST_F(CliProgram, TheSuggestionComesBeforeTheClosingLineWhenMerged) {
  RunResult run = RunCli({"--root", Root(), "src/hello.bmx"}, work.Path(), Merged());
  ASSERT_EQ(run.exitCode, 0);
  size_t suggestion = run.out.find("Framework BRL.StandardIO");
  size_t closing = run.out.find("Report written to ");
  ASSERT_NE(suggestion, std::string::npos);
  ASSERT_NE(closing, std::string::npos);
  EXPECT_LT(suggestion, closing);
}

// The same program stored in each encoding the reader knows must read as
// the same text: the same suggestion, reasons and page, with the accented
// literal shown as it is written.
TEST_F(CliProgram, EveryEncodingOfAProgramGivesTheSameResults) {
  const Text program =
      u"' Caf\u00e9 \u00fcber alles \u00df\r\n"
      u"Rem\r\nNotes: d\u00e9j\u00e0 vu\r\nEnd Rem\r\n"
      u"Print \"gfx/f\u00e9e.png\" ' \u00e9t\u00e9\r\n";
  auto utf16 = [&](bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t unit : program) {
      char high = static_cast<char>(unit >> 8);
      char low = static_cast<char>(unit & 0xFF);
      bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
  };
  std::string latin1;
  for (char16_t unit : program) latin1 += static_cast<char>(unit);
  // The literal's loader is named only when it is installed.
  root.WriteFile(u"mod/brl.mod/pngloader.mod/pngloader.bmx", "Module BRL.PNGLoader\r\n");
  const std::vector<std::string> encodings = {latin1, "\xEF\xBB\xBF" + ToUtf8(program),
                                              utf16(false), utf16(true)};
  std::vector<std::string> outputs;
  std::vector<std::string> pages;
  for (const std::string& bytes : encodings) {
    work.WriteFile(u"prog.bmx", bytes);
    RunResult run =
        RunCli({"--explain", "--quiet", "--root", Root(), "--html", "page.htm", "prog.bmx"},
               work.Path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    outputs.push_back(run.out);
    pages.push_back(testing::ReadFileBytes(work / u"page.htm"));
  }
  EXPECT_TRUE(Has(outputs[0], "Import BRL.PNGLoader ' \"gfx/f\xC3\xA9" "e.png\" at prog.bmx:5"))
      << outputs[0];
  for (size_t i = 1; i < encodings.size(); ++i) {
    EXPECT_EQ(outputs[i], outputs[0]) << "encoding " << i;
    EXPECT_EQ(pages[i], pages[0]) << "encoding " << i;
  }
}

TEST(CliJson, ExampleProgramAgreesWithTheTextOutput) {
  TempFolder work;
  std::vector<std::string> common = {"--root", ExampleRoot(), "--no-html",
                                     ToUtf8(ExampleGame() + u"/game.bmx")};
  std::vector<std::string> explain = common;
  explain.insert(explain.begin(), "--explain");
  std::vector<std::string> json = common;
  json.insert(json.begin(), {"--format", "json"});
  RunResult text = RunCli(common, work.Path());
  RunResult explained = RunCli(explain, work.Path());
  RunResult run = RunCli(json, work.Path());
  ASSERT_EQ(run.exitCode, 0) << run.err;

  nlohmann::json document = nlohmann::json::parse(run.out);
  EXPECT_EQ(document["schema"], 2);
  EXPECT_EQ(document["page"], nullptr);
  EXPECT_EQ(document["lines"]["total"], 142);
  EXPECT_EQ(document["lines"]["code"], 108);
  EXPECT_EQ(document["files"].size(), 4u);
  EXPECT_EQ(document["files"][0]["kind"], "Main");
  EXPECT_EQ(document["named_modules"], nlohmann::json::array({"brl.linkedlist"}));
  EXPECT_EQ(TextFromJson(document, false), text.out);
  EXPECT_EQ(TextFromJson(document, true), explained.out);
  const auto& main = document["blocks"][0]["boxes"][0];
  EXPECT_EQ(main["framework"], "BRL.GLMax2D");
  EXPECT_EQ(main["reasons"][0]["template"], "Max OpenGL template");
  EXPECT_EQ(main["reasons"][1]["word"], "TSound");
  EXPECT_EQ(main["reasons"][1]["file"], "game.bmx");
  EXPECT_EQ(main["reasons"][1]["line"], 21);
}

TEST(CliJson, OddPathsStayValidUtf8AndEscaped) {
#if defined(_WIN32)
  GTEST_SKIP() << "Windows names cannot hold a quote";
#endif
  TempFolder root;
  TempFolder work;
  root.WriteFile(u"mod/brl.mod/standardio.mod/standardio.bmx",
                 "Module BRL.StandardIO\nFunction Print( s$ )\nEnd Function\n");
  // A quote and non-ASCII letters in names; a tab in a missing file's name.
  // Without a byte-order mark a source is read as Latin-1; with a UTF-8 one
  // the mark is dropped, so a directive may stand on the first line too.
  work.WriteFile(u"Spiel \u00dcbung/say \"hi\".bmx",
                 "\xEF\xBB\xBF' odd names\nImport \"\u00e4rger.bmx\"\nInclude \"tab\there.bmx\"\nPrint 1\n");
  work.WriteFile(u"Spiel \u00dcbung/\u00e4rger.bmx", "Print \"\u65e5\u672c\"\n");
  std::string source = ToUtf8(u"Spiel \u00dcbung/say \"hi\".bmx");
  RunResult run = RunCli({"--format=json", "--root", ToUtf8(root.Path()), source}, work.Path());
  ASSERT_EQ(run.exitCode, 0) << run.err;
  for (char c : run.out) EXPECT_FALSE(c != '\n' && static_cast<unsigned char>(c) < 0x20);

  nlohmann::json document = nlohmann::json::parse(run.out);
  EXPECT_EQ(document["source"], ToUtf8(work / u"Spiel \u00dcbung/say \"hi\".bmx"));
  EXPECT_EQ(document["files"][1]["path"], ToUtf8(work / u"Spiel \u00dcbung/\u00e4rger.bmx"));
  ASSERT_EQ(document["warnings"].size(), 1u);
  EXPECT_EQ(document["warnings"][0]["line"], 3);
  EXPECT_EQ(document["warnings"][0]["text"].get<std::string>() + "\n", run.err.substr(0, run.err.find('\n') + 1));
  EXPECT_TRUE(Has(document["warnings"][0]["message"], "tab\there.bmx"));

  RunResult text = RunCli({"--root", ToUtf8(root.Path()), "--quiet", source}, work.Path());
  EXPECT_EQ(TextFromJson(document, false), text.out);
  EXPECT_TRUE(Has(text.out, "Main Source: say \"hi\".bmx\n"));
  EXPECT_TRUE(Has(text.out, ToUtf8(u"Imported Code: \u00e4rger.bmx\n")));
}

}  // namespace
}  // namespace vt
