// The command-line documents hold what the program does: every example of
// docs/cli.md and README.md written as a session runs here as it stands, and
// --help, the manual page and docs/cli.md name the same options and exit codes.
//
// An example is an indented block whose first line starts with "$ ". Each
// "$ " line is a command and the lines under it what it prints on standard
// output; "..." stands for any run of lines. The commands of a block run in
// order, in one fresh folder holding a copy of examples/, shown in the
// documents as /home/me/veltrane. Besides veltrane-cli (after NAME=VALUE
// settings of its environment, and with 2>&1 to show standard error too):
//   echo $?     its line under it is the last veltrane-cli's exit code; a
//               command without one must exit with 0
//   cat FILE    the lines under it are FILE's; a file that is not there is made
//   mkdir DIR   makes the folder
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "cli/cli_run.h"
#include "support/test_support.h"

namespace vt {
namespace {

using testing::ReadFileBytes;
using testing::SourceFolder;
using testing::TempFolder;

constexpr char kShownFolder[] = "/home/me/veltrane";

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    // Trailing blanks are invisible in a document, and editors drop them.
    line.erase(line.find_last_not_of(" \t\r") + 1);
    lines.push_back(line);
    start = end + 1;
  }
  while (!lines.empty() && lines.back().empty()) lines.pop_back();
  return lines;
}

// "..." stands for any run of lines, none included.
bool LinesMatch(const std::vector<std::string>& want,
                const std::vector<std::string>& got) {
  size_t w = 0, g = 0, star = std::string::npos, starGot = 0;
  while (g < got.size()) {
    if (w < want.size() && want[w] == "...") {
      star = w++;
      starGot = g;
    } else if (w < want.size() && want[w] == got[g]) {
      ++w;
      ++g;
    } else if (star != std::string::npos) {
      w = star + 1;
      g = ++starGot;
    } else {
      return false;
    }
  }
  while (w < want.size() && want[w] == "...") ++w;
  return w == want.size();
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false;
  char quote = 0;
  for (char c : line) {
    if (quote) {
      if (c == quote)
        quote = 0;
      else
        word += c;
    } else if (c == '\'' || c == '"') {
      quote = c;
      inWord = true;
    } else if (c == ' ') {
      if (inWord) words.push_back(word);
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (inWord) words.push_back(word);
  return words;
}

struct Command {
  size_t docLine = 0;
  std::string line;
  std::vector<std::string> shown;
};

struct Example {
  std::string where;  // "docs/cli.md:123"
  std::vector<Command> commands;
};

// The blocks that start with "$ ", each cut into its commands.
std::vector<Example> Examples(const char* document) {
  std::vector<std::string> lines =
      Lines(ReadFileBytes(SourceFolder() + u"/" + FromUtf8(document)));
  std::vector<Example> examples;
  for (size_t i = 0; i < lines.size(); ++i) {
    bool opens = lines[i].rfind("    $ ", 0) == 0 && (i == 0 || lines[i - 1].empty());
    if (!opens) continue;
    Example example{document + std::string(":") + std::to_string(i + 1), {}};
    for (; i < lines.size() && (lines[i].empty() || lines[i].rfind("    ", 0) == 0);
         ++i) {
      std::string line = lines[i].empty() ? "" : lines[i].substr(4);
      if (line.rfind("$ ", 0) == 0) {
        example.commands.push_back({i + 1, line.substr(2), {}});
      } else {
        example.commands.back().shown.push_back(line);
      }
    }
    for (Command& command : example.commands) {
      while (!command.shown.empty() && command.shown.back().empty())
        command.shown.pop_back();
    }
    examples.push_back(std::move(example));
  }
  return examples;
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); !from.empty() && at != std::string::npos;
       at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

// Runs one example in `work`; failures name the document's line.
void RunExample(const Example& example, const TempFolder& work, const Text& home) {
  std::string document = example.where.substr(0, example.where.find(':'));
  std::optional<RunResult> last;
  size_t lastLine = 0;
  bool statusShown = true;
  auto expectSuccess = [&] {
    EXPECT_TRUE(statusShown || last->exitCode == 0)
        << document << ":" << lastLine << " shows no \"$ echo $?\" but exits with "
        << last->exitCode << ":\n"
        << last->err;
  };
  for (const Command& command : example.commands) {
    SCOPED_TRACE(document + ":" + std::to_string(command.docLine) + ": $ " +
                 command.line);
    std::vector<std::string> words = Words(command.line);
    ASSERT_FALSE(words.empty());
    if (words == std::vector<std::string>{"echo", "$?"}) {
      ASSERT_TRUE(last) << "no veltrane-cli before it";
      ASSERT_EQ(command.shown.size(), 1u);
      EXPECT_EQ(std::to_string(last->exitCode), command.shown[0]) << last->err;
      statusShown = true;
      continue;
    }
    expectSuccess();
    if (words[0] == "cat" && words.size() == 2) {
      Text file = work / FromUtf8(words[1]);
      if (std::filesystem::exists(testing::NativePath(file))) {
        EXPECT_TRUE(LinesMatch(command.shown, Lines(ReadFileBytes(file))))
            << ReadFileBytes(file);
      } else {
        EXPECT_EQ(std::count(command.shown.begin(), command.shown.end(), "..."), 0)
            << "a file made by the example is shown whole";
        work.WriteFile(FromUtf8(words[1]), Joined(command.shown));
      }
      continue;
    }
    if (words[0] == "mkdir" && words.size() == 2) {
      work.MakeFolder(FromUtf8(words[1]));
      continue;
    }
    // The user's own BMXPATH never leaks in: it is empty unless the example sets it.
    std::map<std::string, std::string> variables = {{"BMXPATH", ""}};
    size_t at = 0;
    for (; at < words.size() && words[at].find('=') != std::string::npos; ++at) {
      size_t equals = words[at].find('=');
      variables[words[at].substr(0, equals)] = words[at].substr(equals + 1);
    }
    std::vector<std::unique_ptr<testing::ScopedEnvironment>> environment;
    for (const auto& [name, value] : variables) {
      environment.push_back(
          std::make_unique<testing::ScopedEnvironment>(name.c_str(), value));
    }
    ASSERT_LT(at, words.size());
    ASSERT_EQ(words[at], "veltrane-cli") << "not a command the examples may use";
    std::vector<std::string> args(words.begin() + static_cast<std::ptrdiff_t>(at) + 1,
                                  words.end());
    Setting setting;
    setting.home = home;
    if (!args.empty() && args.back() == "2>&1") {
      setting.merged = true;
      args.pop_back();
    }
    last = RunCli(args, work.Path(), setting);
    lastLine = command.docLine;
    statusShown = false;
    std::string out = ReplaceAll(last->out, ToUtf8(work.Path()), kShownFolder);
    EXPECT_TRUE(LinesMatch(command.shown, Lines(out)))
        << "shown:\n"
        << Joined(command.shown) << "printed:\n"
        << out << "standard error:\n"
        << last->err;
  }
  expectSuccess();
}

TEST(DocsExamples, RunAsWritten) {
#if defined(_WIN32)
  // The examples are written for a POSIX shell and its paths.
  GTEST_SKIP() << "the documented examples show a POSIX shell";
#endif
  size_t count = 0;
  for (const char* document : {"docs/cli.md", "README.md"}) {
    for (const Example& example : Examples(document)) {
      SCOPED_TRACE(example.where);
      TempFolder work, home;
      std::filesystem::copy(testing::NativePath(SourceFolder() + u"/examples"),
                            testing::NativePath(work / u"examples"),
                            std::filesystem::copy_options::recursive);
      RunExample(example, work, home.Path());
      ++count;
    }
  }
  EXPECT_GE(count, 20u) << "the examples were not found";
}

std::set<std::string> OptionNames(const std::string& text) {
  std::set<std::string> names;
  std::regex option("--[a-z][a-z-]*[a-z]");
  for (std::sregex_iterator it(text.begin(), text.end(), option), end; it != end; ++it) {
    names.insert(it->str());
  }
  return names;
}

// What --help names, the manual page and docs/cli.md describe.
TEST(DocsExamples, ManualPageAndGuideFollowHelp) {
  TempFolder work;
  RunResult help = RunCli({"--help"}, work.Path());
  ASSERT_EQ(help.exitCode, 0);
  std::string manual = ReadFileBytes(SourceFolder() + u"/docs/veltrane-cli.1");
  std::string guide = ReadFileBytes(SourceFolder() + u"/docs/cli.md");
  // An option of the manual has an entry: the line after a ".TP" names it.
  std::string entries;
  std::vector<std::string> manualLines = Lines(manual);
  for (size_t i = 1; i < manualLines.size(); ++i) {
    if (manualLines[i - 1] == ".TP")
      entries += ReplaceAll(manualLines[i], "\\-", "-") + "\n";
  }
  std::set<std::string> inManual = OptionNames(entries), inGuide = OptionNames(guide);
  // The options are those of the list, whose lines start "  -".
  std::string listed;
  for (const std::string& line : Lines(help.out)) {
    if (line.rfind("  -", 0) == 0) listed += line + "\n";
  }
  std::set<std::string> options = OptionNames(listed);
  EXPECT_GE(options.size(), 15u) << help.out;
  for (const std::string& name : options) {
    EXPECT_TRUE(inManual.count(name)) << name << " has no entry in docs/veltrane-cli.1";
    EXPECT_TRUE(inGuide.count(name)) << name << " is not in docs/cli.md";
  }
  std::string codes =
      help.out.substr(std::min(help.out.find("Exit codes:"), help.out.size()));
  for (int code = 0; code <= 11; ++code) {
    std::string number = std::to_string(code);
    EXPECT_TRUE(std::regex_search(codes, std::regex("\\b" + number + " [a-z]"))) << code;
    EXPECT_TRUE(Has(manual, ".TP\n.B " + number + "\n"))
        << "exit code " << code << ", manual page";
    EXPECT_TRUE(std::regex_search(
        guide, std::regex("\n\\| ([0-9]+, )*" + number + "(, [0-9]+)* \\|")))
        << "exit code " << code << ", docs/cli.md";
  }
}

}  // namespace
}  // namespace vt
