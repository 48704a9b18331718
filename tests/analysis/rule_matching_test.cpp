// What the modern rules add to a unit beyond the modules its words name:
// the module a symbol rule registers for a word, and the default member of
// a family whose interface module the unit lists.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "analysis/analyse.h"
#include "analysis/rule_book.h"
#include "analysis/source_records.h"
#include "catalogue_fixture.h"
#include "support/test_support.h"

namespace vt {
namespace {

using testing::MakeModule;
using Sections = std::vector<std::pair<Text, TextList>>;

class RuleMatching : public testing::FreshState {
 protected:
  void SetUp() override {
    Catalogue.ruleSet = RuleSetKind::Modern;
    MakeModule(Catalogue, u"maxgui.maxgui", u"MaxGUI.MaxGUI", {u"createhtmlview"});
    MakeModule(Catalogue, u"maxgui.gtk3webkit2gtk", u"MaxGUI.GTK3WebKit2GTK", {},
               {u"maxgui.maxgui"});
    MakeModule(Catalogue, u"maxgui.drivers", u"MaxGUI.Drivers", {}, {u"maxgui.maxgui"});
    MakeModule(Catalogue, u"archive.core", u"Archive.Core", {})->types = {u"earchiveformat"};
    MakeModule(Catalogue, u"archive.zip", u"Archive.ZIP", {}, {u"archive.core"});
    MakeModule(Catalogue, u"random.core", u"Random.Core", {u"rnd"});
    MakeModule(Catalogue, u"brl.random", u"BRL.Random", {u"seedrnd"}, {u"random.core"});
    MakeModule(Catalogue, u"random.xoshiro", u"Random.Xoshiro", {}, {u"random.core"})->types = {
        u"txoshiro"};
    EXPECT_EQ(ReadRules("[modern]\n"
                        "symbol CreateHTMLView MaxGUI.GTK3WebKit2GTK ?Linux\n"
                        "symbol EArchiveFormat.ZIP Archive.ZIP format for ZIP\n"
                        "symbol Missing Archive.None\n"
                        "family random for Random.Core BRL.Random Random.Xoshiro "
                        "-- generator for Random.Core\n",
                        u"r.txt", rules).message(),
              u"");
  }

  sourcemodtype& Main() { return *Analysis.SourceModList.at(0); }

  testing::MemoryFolder tmp;
  RuleBook rules;
};

TEST_F(RuleMatching, SymbolRulesAndFamilyDefaultsAddTheirModulesWithTheirReasons) {
  struct Case {
    const char* program;
    TextList unit;
    Sections sections;
    const char16_t* module;  // whose reason is checked, in the unit or its one section
    const char16_t* reason;
  };
  const Case cases[] = {
      // A symbol with a condition goes to the unit's section for it.
      {"CreateHTMLView(a)\n", {u"MaxGUI.MaxGUI"},
       {{u"Linux", {u"MaxGUI.GTK3WebKit2GTK"}}}, u"MaxGUI.GTK3WebKit2GTK",
       u"plug-in for CreateHTMLView on Linux"},
      {"?linux\ncreatehtmlview(a)\n", {}, {{u"linux", {u"MaxGUI.MaxGUI", u"MaxGUI.GTK3WebKit2GTK"}}},
       u"MaxGUI.GTK3WebKit2GTK", u"plug-in for CreateHTMLView on Linux"},
      {"?Win32\nCreateHTMLView(a)\n", {}, {{u"Win32", {u"MaxGUI.MaxGUI"}}}, nullptr, nullptr},
      // A dotted enum member, without condition.
      {"a = EArchiveFormat.ZIP\n", {u"Archive.Core", u"Archive.ZIP"}, {}, u"Archive.ZIP",
       u"format for ZIP"},
      {"a = EArchiveFormat.TAR\n", {u"Archive.Core"}, {}, nullptr, nullptr},
      // A rule whose module is not installed does nothing.
      {"Missing\n", {}, {}, nullptr, nullptr},
      // The program's own name hides the word from the rule.
      {"Function CreateHTMLView()\nEnd Function\nCreateHTMLView()\n", {}, {}, nullptr, nullptr},
      // The family's default for its interface module...
      {"Rnd 1\n", {u"Random.Core", u"BRL.Random"}, {}, u"BRL.Random",
       u"generator for Random.Core"},
      // ...but the author's member, listed or imported, serves already.
      {"Rnd 1\nTXoshiro.Seed\n", {u"Random.Core", u"Random.Xoshiro"}, {}, nullptr, nullptr},
      {"SeedRnd 1\nRnd 1\n", {u"BRL.Random"}, {}, nullptr, nullptr},
      {"Rnd 1\n?Win32\nTXoshiro.Seed\n", {u"Random.Core", u"BRL.Random"},
       {{u"Win32", {u"Random.Xoshiro"}}}, nullptr, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.program);
    tmp.WriteFile(u"main.bmx", c.program);
    AnalyseProgram(Analysis, Catalogue, tmp.Files(), tmp / u"main.bmx", CauseNotes::Keep, rules);
    EXPECT_EQ(Main().modules, c.unit);
    Sections sections;
    for (const sourcemodtype& section : Main().sections) {
      if (!section.modules.empty()) sections.emplace_back(section.condition, section.modules);
    }
    EXPECT_EQ(sections, c.sections);
    if (!c.module) continue;
    const sourcemodtype& holder = c.sections.empty() ? Main() : Main().sections.at(0);
    const ModuleCause* cause = holder.causes.Find(Lower(c.module));
    ASSERT_NE(cause, nullptr);
    EXPECT_EQ(cause->kind, CauseKind::Implementation);
    EXPECT_EQ(cause->declaredBy, c.reason);
  }
}

}  // namespace
}  // namespace vt
