// What the modern rules know of a program's platform sections: a section
// that never holds under them is neither walked nor read for words, one that
// always holds is no section, and any other stands for what is left of its
// condition.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "analysis/analyse.h"
#include "analysis/source_records.h"
#include "catalogue_fixture.h"
#include "support/test_support.h"

namespace vt {
namespace {

class PlatformSections : public testing::FreshState {
 protected:
  sourcemodtype& Main() { return *Analysis.SourceModList.at(0); }
  testing::TempFolder tmp;
};

bool Holds(const TextList& words, TextView word) {
  return std::find(words.begin(), words.end(), word) != words.end();
}

TEST_F(PlatformSections, ASectionThatNeverHoldsIsNeitherWalkedNorRead) {
  struct Case {
    RuleSetKind rules;
    const char* before;  // the lines before the Import and the word
    bool followed;
    const char16_t* section;  // where the word goes: null for nowhere, "" for the unit
  };
  const Case cases[] = {
      {RuleSetKind::Modern, "?Not bmxng\n", false, nullptr},
      {RuleSetKind::Modern, "?Win32 And Linux\n", false, nullptr},
      {RuleSetKind::Modern, "?bmxng\n", true, u""},
      {RuleSetKind::Modern, "?BMXNG and win32 ' windows\n", true, u"win32"},
      {RuleSetKind::Modern, "?Not bmxng\n?\n", true, u""},
      {RuleSetKind::Modern, "?Not bmxng\n?Linux\n", true, u"Linux"},
      {RuleSetKind::Modern, "Rem\n?Not bmxng\nEnd Rem\n", true, u""},
      {RuleSetKind::Classic, "?Not bmxng\n", true, u""},
  };
  // b.bmx, walked and read before a.bmx, ends in a section that never
  // holds: each file starts outside any section.
  tmp.WriteFile(u"b.bmx", "?Not bmxng\n");
  tmp.WriteFile(u"a.bmx", "CallTwo\n");
  for (const Case& c : cases) {
    std::string main = "Import \"b.bmx\"\n" + std::string(c.before) + "Import \"a.bmx\"\nCallOne\n";
    tmp.WriteFile(u"main.bmx", main);
    Catalogue.ruleSet = c.rules;
    AnalyseProgram(Analysis, Catalogue, tmp / u"main.bmx");
    SCOPED_TRACE(main);
    ASSERT_EQ(Analysis.ScanListList.size(), c.followed ? 3u : 2u);
    if (c.followed) {
      EXPECT_TRUE(Holds(Analysis.SourceModList.back()->words, u"calltwo"));
    }
    // Counted as before, followed or not.
    int lines = static_cast<int>(std::count(main.begin(), main.end(), '\n'));
    EXPECT_EQ(Analysis.TotalLines, lines + (c.followed ? 2 : 1));
    bool inUnit = Holds(Main().words, u"callone");
    EXPECT_EQ(inUnit, c.section && !*c.section);
    size_t inSections = 0;
    for (const sourcemodtype& section : Main().sections) {
      if (!Holds(section.words, u"callone")) continue;
      ++inSections;
      EXPECT_EQ(section.condition, Text(c.section ? c.section : u"(nowhere)"));
    }
    EXPECT_EQ(inSections, c.section && *c.section ? 1u : 0u);
  }
}

}  // namespace
}  // namespace vt
