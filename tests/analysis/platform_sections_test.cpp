// What the modern rules know of a program's platform sections: a section
// that never holds under them is neither walked nor read for words, one that
// always holds is no section, and any other stands for what is left of its
// condition.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "analysis/analyse.h"
#include "analysis/suggestion.h"
#include "analysis/unit_header.h"
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

// A module whose declaration of a word stands in a platform section is
// needed where that section's condition and the word's own both hold.
TEST_F(PlatformSections, ADeclarationInASectionIsNeededOnlyUnderItsCondition) {
  using testing::MakeModule;
  modtype* win32 = MakeModule(Catalogue, u"pub.win32", u"Pub.Win32",
                              {u"flashwindow", u"winalways"});
  win32->types = {u"twin32"};
  win32->sections = {u"Win32"};
  win32->commandSections = {1};
  win32->typeSections = {1};
  modtype* both = MakeModule(Catalogue, u"brl.both", u"BRL.Both", {u"both", u"both"});
  both->sections = {u"Win32"};
  both->commandSections = {1, 0};
  modtype* old = MakeModule(Catalogue, u"brl.old", u"BRL.Old", {u"oldcall"});
  old->sections = {u"Not bmxng"};
  old->commandSections = {1};
  modtype* wide = MakeModule(Catalogue, u"pub.wide", u"Pub.Wide", {u"wide64"});
  wide->sections = {u"bmxng And Win32 And ptr64"};
  wide->commandSections = {1};

  using Sections = std::vector<std::pair<Text, TextList>>;
  struct Case {
    RuleSetKind rules;
    const char* program;
    TextList unit;
    Sections sections;  // those that list a module
  };
  const Case cases[] = {
      {RuleSetKind::Modern, "FlashWindow w\n", {}, {{u"Win32", {u"Pub.Win32"}}}},
      {RuleSetKind::Modern, "?Linux\nFlashWindow w\n", {}, {}},
      {RuleSetKind::Modern, "?win32\nFlashWindow w\n", {}, {{u"win32", {u"Pub.Win32"}}}},
      {RuleSetKind::Modern, "TWin32.Make\n", {}, {{u"Win32", {u"Pub.Win32"}}}},
      {RuleSetKind::Modern, "FlashWindow w\nWinAlways\n", {u"Pub.Win32"}, {}},
      {RuleSetKind::Modern, "Both\n", {u"BRL.Both"}, {}},
      {RuleSetKind::Modern, "OldCall\n", {}, {}},
      {RuleSetKind::Modern, "?Win32\nWide64\n", {}, {{u"Win32 And ptr64", {u"Pub.Wide"}}}},
      {RuleSetKind::Classic, "FlashWindow w\nOldCall\n", {u"Pub.Win32", u"BRL.Old"}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.program);
    tmp.WriteFile(u"main.bmx", c.program);
    Catalogue.ruleSet = c.rules;
    AnalyseProgram(Analysis, Catalogue, tmp / u"main.bmx");
    EXPECT_EQ(Main().modules, c.unit);
    Sections listing;
    for (const sourcemodtype& section : Main().sections) {
      if (!section.modules.empty()) listing.emplace_back(section.condition, section.modules);
    }
    EXPECT_EQ(listing, c.sections);
  }
}

// An Import in a header section that always holds under the modern rules
// ("?bmxng") is there on every platform: it counts as present, and its
// section stays; one the unit does not need is unneeded there.
TEST(PlatformSectionsHeader, AnImportInASectionThatAlwaysHoldsIsPresent) {
  CodeBox box;
  box.path = u"/p/a.bmx";
  box.modules = {u"BRL.Timer", u"BRL.TimerDefault"};
  std::vector<Text> lines = {u"Import BRL.Timer", u"?bmxng ' modern only",
                             u"Import BRL.TimerDefault", u"Import BRL.Map", u"?",
                             u"CreateTimer 10"};
  PresentHeader present = ReadPresentHeader(lines, SectionImports::Read);
  std::vector<HeaderDifference> differences = CompareHeader(box, present);
  ASSERT_EQ(differences.size(), 1u);
  EXPECT_EQ(differences[0].kind, HeaderDifferenceKind::Unneeded);
  EXPECT_EQ(differences[0].module, u"BRL.Map");
  EXPECT_EQ(differences[0].condition, u"bmxng");
  TextList wanted;
  for (const WantedLine& line : WantedHeader(box, present)) wanted.push_back(line.text);
  EXPECT_EQ(wanted, (TextList{u"Import BRL.Timer", u"?bmxng", u"Import BRL.TimerDefault", u"?"}));
}

}  // namespace
}  // namespace vt
