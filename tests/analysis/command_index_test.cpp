#include "analysis/command_index.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue_fixture.h"
#include "support/test_support.h"

namespace vt {
namespace {

using testing::MakeModule;

// The records of the modules the index finds for `name`.
std::vector<modtype*> Found(const CatalogueState& catalogue, const CommandIndex& index,
                            TextView name) {
  std::vector<modtype*> found;
  for (uint32_t place : index.Find(name)) found.push_back(catalogue.ModList[place].get());
  return found;
}

TEST(CommandIndex, FindsTheDeclaringModulesInCatalogueOrder) {
  CatalogueState catalogue;
  modtype* a = MakeModule(catalogue, u"x.a", u"X.A", {u"cls", u"flip", u"cls"});
  modtype* b = MakeModule(catalogue, u"x.b", u"X.B", {u"plot"});
  modtype* c = MakeModule(catalogue, u"x.c", u"X.C", {u"flip"});
  a->types = {u"timage"};
  b->types = {u"plot", u"timage"};
  CommandIndex index(catalogue);
  // A name a module declares twice, or as a command and a type, lists it once.
  EXPECT_EQ(Found(catalogue, index, u"cls"), (std::vector<modtype*>{a}));
  EXPECT_EQ(Found(catalogue, index, u"plot"), (std::vector<modtype*>{b}));
  EXPECT_EQ(Found(catalogue, index, u"flip"), (std::vector<modtype*>{a, c}));
  EXPECT_EQ(Found(catalogue, index, u"timage"), (std::vector<modtype*>{a, b}));
  // Names are exact: no case folding, no prefixes.
  EXPECT_TRUE(index.Find(u"Cls").empty());
  EXPECT_TRUE(index.Find(u"cl").empty());
  EXPECT_TRUE(index.Find(u"").empty());

  EXPECT_TRUE(CommandIndex(CatalogueState()).Find(u"cls").empty());
}

// Under the modern rules each (name, module) has what is left of the
// conditions of the sections the module declares it in: none where one
// declaration is unconditional, either where there are several, and no
// entry where none can hold. The classic rules ignore sections.
TEST(CommandIndex, ModernDeclarationsKeepTheConditionOfTheirSections) {
  CatalogueState catalogue;
  modtype* module = MakeModule(catalogue, u"x.a", u"X.A",
                               {u"flash", u"twice", u"twice", u"old", u"mixed", u"mixed",
                                u"always", u"plain"});
  module->sections = {u"Win32", u"Linux", u"Not bmxng", u"bmxng"};
  module->commandSections = {1, 1, 2, 3, 3, 2, 4};
  auto condition = [](const CommandIndex& index, TextView name) -> std::string {
    CommandIndex::Declaring found = index.FindDeclaring(name, index.Hash(name));
    if (found.places.empty()) return "(none)";
    if (found.conditions.empty() || found.conditions[0] == 0) return "";
    return ToUtf8(index.Condition(found.conditions[0]));
  };
  catalogue.ruleSet = RuleSetKind::Modern;
  CommandIndex modern(catalogue);
  EXPECT_EQ(condition(modern, u"flash"), "Win32");
  EXPECT_EQ(condition(modern, u"twice"), "Win32 Or Linux");
  EXPECT_EQ(condition(modern, u"old"), "(none)");
  EXPECT_EQ(condition(modern, u"mixed"), "Linux");
  EXPECT_EQ(condition(modern, u"always"), "");
  EXPECT_EQ(condition(modern, u"plain"), "");
  catalogue.ruleSet = RuleSetKind::Classic;
  CommandIndex classic(catalogue);
  for (TextView name : {u"flash", u"twice", u"old", u"mixed"}) {
    EXPECT_EQ(condition(classic, name), "") << ToUtf8(name);
  }
}

// Constants are names like commands under the modern rules only, with the
// conditions of their sections; they are no type names.
TEST(CommandIndex, TheModernRulesIndexConstants) {
  CatalogueState catalogue;
  modtype* module = MakeModule(catalogue, u"x.a", u"X.A", {u"flash"});
  module->constants = {u"mb_ok", u"key_escape"};
  module->sections = {u"Win32"};
  module->constantSections = {1};
  catalogue.ruleSet = RuleSetKind::Modern;
  CommandIndex modern(catalogue);
  CommandIndex::Declaring found = modern.FindDeclaring(u"mb_ok", modern.Hash(u"mb_ok"));
  ASSERT_EQ(found.places.size(), 1u);
  ASSERT_EQ(found.conditions.size(), 1u);
  EXPECT_EQ(modern.Condition(found.conditions[0]), u"Win32");
  EXPECT_EQ(Found(catalogue, modern, u"key_escape"), (std::vector<modtype*>{module}));
  EXPECT_TRUE(CommandIndex(catalogue, IndexedNames::TypesOnly).Find(u"key_escape").empty());
  catalogue.ruleSet = RuleSetKind::Classic;
  EXPECT_TRUE(CommandIndex(catalogue).Find(u"key_escape").empty());
}

// Enough names that probes run into each other: every one is still found,
// and names that are absent are not.
TEST(CommandIndex, EveryNameOfALargeCatalogueIsFound) {
  CatalogueState catalogue;
  std::vector<modtype*> modules;
  for (int m = 0; m < 300; ++m) {
    modtype* module = catalogue.CreateModule(FromUtf8("x.m" + std::to_string(m)));
    for (int k = 0; k < 40; ++k) {
      module->commands.push_back(FromUtf8("c" + std::to_string(m * 40 + k)));
    }
    modules.push_back(module);
  }
  CommandIndex index(catalogue);
  for (int m = 0; m < 300; ++m) {
    for (int k = 0; k < 40; k += 7) {
      EXPECT_EQ(Found(catalogue, index, FromUtf8("c" + std::to_string(m * 40 + k))),
                (std::vector<modtype*>{modules[m]}));
    }
  }
  for (int n = 12000; n < 12500; ++n) {
    EXPECT_TRUE(index.Find(FromUtf8("c" + std::to_string(n))).empty());
  }
}

}  // namespace
}  // namespace vt
