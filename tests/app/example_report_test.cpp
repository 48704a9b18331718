// The bundled example program, examined against the bundled example
// installation, must give exactly the page in expected/game_results.htm.
//
// That page was worked out by hand from the rules of the catalogue, the
// analysis, the templates and the report, not copied from a run of the tool.
// The folder of the example program appears in its links; the page holds the
// placeholder @GAME@ there, standing for that folder with every "/" turned
// into a backslash.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/catalogue_rebuild.h"
#include "app/examine.h"
#include "support/test_support.h"

namespace vt {
namespace {

using testing::ReadFileBytes;
using testing::SourceFolder;
using testing::TempFolder;

constexpr std::string_view kPlaceholder = "@GAME@";

// Data text as a page holds it: the five markup characters as references,
// code units up to 255 as one byte each, anything above as "&#N;".
std::string PageBytes(TextView text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t unit = text[i];
    switch (unit) {
      case u'&': out += "&amp;"; continue;
      case u'<': out += "&lt;"; continue;
      case u'>': out += "&gt;"; continue;
      case u'"': out += "&quot;"; continue;
      case u'\'': out += "&#39;"; continue;
      default: break;
    }
    if (unit <= 255) {
      out += static_cast<char>(unit);
      continue;
    }
    char32_t point = unit;
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() &&
        text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      point = 0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (unit >= 0xD800 && unit <= 0xDFFF) {
      point = 0xFFFD;
    }
    out += "&#" + std::to_string(static_cast<unsigned long>(point)) + ";";
  }
  return out;
}

// The example folder as the walk records it: the folder that is current
// after changing into it (links resolved), "/"-separated.
Text ExampleFolder() {
  std::string utf8 = ToUtf8(SourceFolder() + u"/examples/game");
  std::filesystem::path folder =
      std::filesystem::canonical(std::filesystem::path(std::u8string(utf8.begin(), utf8.end())));
  std::u8string found = folder.generic_u8string();
  return ForwardSlashes(FromUtf8(std::string(found.begin(), found.end())));
}

std::string Substitute(std::string text, std::string_view placeholder, const std::string& value) {
  for (size_t at = text.find(placeholder); at != std::string::npos;
       at = text.find(placeholder, at + value.size())) {
    text.replace(at, placeholder.size(), value);
  }
  return text;
}

std::vector<std::string> SplitLines(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(bytes.substr(start));
      break;
    }
    lines.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

// Names the first line where the two pages part, for a readable failure.
std::string FirstDifference(const std::string& expected, const std::string& actual) {
  std::vector<std::string> want = SplitLines(expected);
  std::vector<std::string> got = SplitLines(actual);
  size_t n = std::max(want.size(), got.size());
  for (size_t i = 0; i < n; ++i) {
    std::string w = i < want.size() ? "[" + want[i] + "]" : "(no line)";
    std::string g = i < got.size() ? "[" + got[i] + "]" : "(no line)";
    if (w != g) {
      return "first difference at line " + std::to_string(i + 1) + "\n  expected: " + w +
             "\n  actual:   " + g;
    }
  }
  return "the lines agree; the line ends differ";
}

class ExampleReport : public testing::FreshState {
 protected:
  void ExpectTheWorkedOutPage();

  TempFolder app;
};

TEST_F(ExampleReport, GamePageIsExactlyTheOneWorkedOutByHand) {
  Settings.RootFolder = SourceFolder() + u"/examples/BlitzMax";
  Settings.Layout = PortableLayout(app.Path());
  RebuildCatalogue(state);
  ASSERT_TRUE(screen.messages.empty());
  // As the window does: the later examinations take every file from the
  // memo, and give the same page.
  state.Memo = std::make_unique<ExaminationMemo>();
  for (int run = 0; run < 3; ++run) {
    SCOPED_TRACE(run);
    EXPECT_EQ(ExamineSource(state, SourceFolder() + u"/examples/game/game.bmx").outcome,
              ExamineOutcome::ReportWritten);
    EXPECT_EQ(state.Memo->LastReused(), run == 0 ? 0 : state.Memo->StretchCount());
    ExpectTheWorkedOutPage();
  }
}

void ExampleReport::ExpectTheWorkedOutPage() {

  std::string expected =
      ReadFileBytes(SourceFolder() + u"/tests/app/expected/game_results.htm");
  ASSERT_FALSE(expected.empty()) << "the expected page is missing";
  ASSERT_NE(expected.find(kPlaceholder), std::string::npos);
  // The page's links: backslashes on Windows, the path as it is elsewhere.
  if (kNativePathStyle == PathStyle::Windows) {
    expected = Substitute(expected, kPlaceholder, PageBytes(Replace(ExampleFolder(), u"/", u"\\")));
  } else {
    expected = Substitute(Substitute(expected, "\\", "/"), kPlaceholder, PageBytes(ExampleFolder()));
  }
  // Where any case finds the file, it keeps the name the source gives it.
  if (testing::FolderNamesIgnoreCase()) {
    expected = Substitute(expected, "MathUtil.bmx", "mathutil.bmx");
  }

  std::string actual = ReadFileBytes(app / u"results.htm");
  ASSERT_FALSE(actual.empty()) << "no results.htm in the application folder";
  EXPECT_TRUE(actual == expected) << FirstDifference(expected, actual);
}

// Skipping the reasons changes nothing else: the same suggestion and page.
TEST_F(ExampleReport, SkippedReasonsLeaveTheSuggestionAndPageAsTheyAre) {
  Settings.RootFolder = SourceFolder() + u"/examples/BlitzMax";
  Settings.Layout = PortableLayout(app.Path());
  RebuildCatalogue(state);
  const Text game = SourceFolder() + u"/examples/game/game.bmx";

  Examination given = ExamineSource(state, game);
  std::string givenPage = ReadFileBytes(app / u"results.htm");
  // Taking the lists of records a memo keeps would empty them for the next
  // examination.
  state.Memo = std::make_unique<ExaminationMemo>();
  Examination skipped;
  for (int run = 0; run < 2; ++run) {
    skipped = ExamineSource(state, game, PageChoice::Write, ReasonChoice::Skip);
    EXPECT_EQ(ReadFileBytes(app / u"results.htm"), givenPage);
  }

  ASSERT_EQ(skipped.suggestion.blocks.size(), given.suggestion.blocks.size());
  ASSERT_FALSE(given.suggestion.blocks.empty());
  for (size_t b = 0; b < given.suggestion.blocks.size(); ++b) {
    const auto& givenBoxes = given.suggestion.blocks[b].boxes;
    const auto& skippedBoxes = skipped.suggestion.blocks[b].boxes;
    ASSERT_EQ(skippedBoxes.size(), givenBoxes.size());
    for (size_t i = 0; i < givenBoxes.size(); ++i) {
      EXPECT_EQ(skippedBoxes[i].modules, givenBoxes[i].modules);
      EXPECT_EQ(skippedBoxes[i].optionalModules, givenBoxes[i].optionalModules);
      EXPECT_EQ(givenBoxes[i].reasons.size(), givenBoxes[i].modules.size());
      EXPECT_TRUE(skippedBoxes[i].reasons.empty());
      EXPECT_TRUE(skippedBoxes[i].optionalReasons.empty());
    }
  }
  EXPECT_EQ(skipped.totalLines, given.totalLines);
  EXPECT_EQ(skipped.codeLines, given.codeLines);
}

}  // namespace
}  // namespace vt
