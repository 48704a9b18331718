#include "catalogue/import_closure.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace vt {
namespace {

class ImportClosure : public testing::FreshState {
 protected:
  modtype* Module(const char16_t* name, std::initializer_list<const char16_t*> imports) {
    modtype* m = Catalogue.CreateModule(name);
    m->imports.assign(imports.begin(), imports.end());
    return m;
  }
};

TextList Names(std::initializer_list<const char16_t*> names) {
  return TextList(names.begin(), names.end());
}

TEST_F(ImportClosure, ChainsAreClosed) {
  modtype* a = Module(u"x.a", {u"x.b"});
  modtype* b = Module(u"x.b", {u"x.c"});
  modtype* c = Module(u"x.c", {});
  ExpandModuleImports(Catalogue);
  EXPECT_EQ(a->imports, Names({u"x.b", u"x.c"}));
  EXPECT_EQ(b->imports, Names({u"x.c"}));
  EXPECT_TRUE(c->imports.empty());
}

TEST_F(ImportClosure, CircularImportsEndWithTheModuleInItsOwnList) {
  modtype* a = Module(u"x.a", {u"x.b"});
  modtype* b = Module(u"x.b", {u"x.a"});
  modtype* self = Module(u"x.self", {u"x.self"});
  ExpandModuleImports(Catalogue);
  EXPECT_EQ(a->imports, Names({u"x.b", u"x.a"}));
  EXPECT_EQ(b->imports, Names({u"x.a", u"x.b"}));
  EXPECT_EQ(self->imports, Names({u"x.self"}));
}

TEST_F(ImportClosure, ALongerCycleEnds) {
  modtype* a = Module(u"x.a", {u"x.b"});
  Module(u"x.b", {u"x.c"});
  modtype* c = Module(u"x.c", {u"x.a", u"x.d"});
  Module(u"x.d", {});
  ExpandModuleImports(Catalogue);
  EXPECT_EQ(a->imports, Names({u"x.b", u"x.c", u"x.a", u"x.d"}));
  EXPECT_EQ(c->imports, Names({u"x.a", u"x.d", u"x.b", u"x.c"}));
}

TEST_F(ImportClosure, ExpansionIsDepthFirstAndAddsNoDuplicates) {
  modtype* a = Module(u"x.a", {u"x.b", u"x.c", u"x.b"});
  Module(u"x.b", {u"x.d", u"x.f"});
  Module(u"x.c", {u"x.e", u"x.d"});
  Module(u"x.d", {u"x.g"});
  Module(u"x.e", {});
  Module(u"x.f", {});
  Module(u"x.g", {});
  ExpandModuleImports(Catalogue);
  // The parser's own duplicate stays; the expansion adds none.
  EXPECT_EQ(a->imports, Names({u"x.b", u"x.c", u"x.b", u"x.d", u"x.g", u"x.f", u"x.e"}));
}

TEST_F(ImportClosure, UnknownNamesStayAndLeadNowhere) {
  modtype* a = Module(u"x.a", {u"x.unknown", u"x.b"});
  Module(u"x.b", {});
  // Found only under its lower-cased name, which FindModule never matches.
  Module(u"X.Caps", {u"x.hidden"});
  modtype* d = Module(u"x.d", {u"x.caps"});
  modtype* none = Module(u"x.none", {});
  ExpandModuleImports(Catalogue);
  EXPECT_EQ(a->imports, Names({u"x.unknown", u"x.b"}));
  EXPECT_EQ(d->imports, Names({u"x.caps"}));
  EXPECT_TRUE(none->imports.empty());
}

TEST_F(ImportClosure, LaterModulesReadEarlierListsAlreadyExtended) {
  modtype* a = Module(u"x.a", {u"x.b"});
  Module(u"x.b", {u"x.c"});
  Module(u"x.c", {u"x.d"});
  modtype* z = Module(u"x.z", {u"x.a"});
  Module(u"x.d", {});
  ExpandModuleImports(Catalogue);
  EXPECT_EQ(a->imports, Names({u"x.b", u"x.c", u"x.d"}));
  EXPECT_EQ(z->imports, Names({u"x.a", u"x.b", u"x.c", u"x.d"}));
}

TEST_F(ImportClosure, AddImportsOfWithNullOrEmptyModuleDoesNothing) {
  ImportList list(Names({u"x.a"}));
  AddImportsOf(Catalogue, list, nullptr);
  modtype* empty = Module(u"x.e", {});
  AddImportsOf(Catalogue, list, empty);
  EXPECT_EQ(list, Names({u"x.a"}));

  modtype* b = Module(u"x.b", {u"x.a", u"x.c"});
  AddImportsOf(Catalogue, list, b);
  EXPECT_EQ(list, Names({u"x.a", u"x.c"}));
}

TEST_F(ImportClosure, EmptyCatalogueIsFine) {
  ExpandModuleImports(Catalogue);
  EXPECT_TRUE(Catalogue.ModList.empty());
}

// The rule word for word, recursion and linear searches included: the oracle
// that the real closure must match on every generated installation.
template <typename List>
void LiteralAddImportsOf(const CatalogueState& catalogue, List& list, const modtype* module) {
  if (!module || module->imports.empty()) return;
  for (size_t i = 0; i < module->imports.size(); ++i) {
    Text entry = module->imports[i];
    if (std::find(list.begin(), list.end(), entry) != list.end()) continue;
    list.push_back(entry);
    LiteralAddImportsOf(catalogue, list, catalogue.FindModule(entry));
  }
}

void LiteralExpandModuleImports(CatalogueState& catalogue) {
  for (const auto& module : catalogue.ModList) {
    for (size_t i = 0; i < module->imports.size(); ++i) {
      Text entry = module->imports[i];
      LiteralAddImportsOf(catalogue, module->imports, catalogue.FindModule(entry));
    }
  }
}

// A generated installation: module names and their own imports, in
// catalogue order.
struct Installation {
  std::vector<std::pair<Text, TextList>> modules;

  void Fill(CatalogueState& catalogue) const {
    for (const auto& [name, imports] : modules) catalogue.CreateModule(name)->imports = imports;
  }
};

Text Numbered(TextView prefix, size_t n) {
  return Text(prefix) + Decimal(static_cast<long long>(n));
}

// m0 imports m1, m1 imports m2, ...; listed first to last, last to first,
// or shuffled.
Installation Chain(size_t length, int order, unsigned seed = 1) {
  std::vector<size_t> listing(length);
  for (size_t k = 0; k < length; ++k) listing[k] = order < 0 ? length - 1 - k : k;
  if (order == 0) std::shuffle(listing.begin(), listing.end(), std::mt19937(seed));
  Installation out;
  for (size_t k : listing) {
    TextList imports;
    if (k + 1 < length) imports.push_back(Numbered(u"x.m", k + 1));
    out.modules.emplace_back(Numbered(u"x.m", k), imports);
  }
  return out;
}

// Layers of modules where each imports two of the next layer, so that many
// paths meet (diamonds); listed from the top or from the bottom.
Installation Diamonds(size_t layers, size_t width, bool bottomFirst) {
  Installation out;
  for (size_t l = 0; l < layers; ++l) {
    size_t layer = bottomFirst ? layers - 1 - l : l;
    for (size_t w = 0; w < width; ++w) {
      TextList imports;
      if (layer + 1 < layers) {
        imports.push_back(Numbered(u"x.d", (layer + 1) * width + w));
        imports.push_back(Numbered(u"x.d", (layer + 1) * width + (w + 1) % width));
      }
      out.modules.emplace_back(Numbered(u"x.d", layer * width + w), imports);
    }
  }
  return out;
}

// Random imports: known names, names in other letter cases, unknown names,
// self-imports, repeats, cycles, and two records with the same name.
Installation Random(size_t count, unsigned seed) {
  std::mt19937 random(seed);
  auto pick = [&random](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random); };
  Installation out;
  for (size_t k = 0; k < count; ++k) {
    TextList imports;
    size_t n = pick(5);
    for (size_t i = 0; i < n; ++i) {
      switch (pick(8)) {
        case 0: imports.push_back(Numbered(u"x.unknown", pick(3))); break;
        case 1: imports.push_back(Numbered(u"X.R", pick(count))); break;
        case 2: imports.push_back(Numbered(u"x.r", k)); break;
        default: imports.push_back(Numbered(u"x.r", pick(count))); break;
      }
    }
    // Some names come twice; a few have capitals and are never found.
    Text name = pick(10) == 0 ? Numbered(u"x.r", pick(count)) : Numbered(u"x.r", k);
    if (pick(20) == 0) name = Numbered(u"X.r", k);
    out.modules.emplace_back(name, imports);
  }
  return out;
}

void ExpectSameAsTheRule(const Installation& installation, const std::string& what) {
  CatalogueState literal, fast;
  installation.Fill(literal);
  installation.Fill(fast);
  LiteralExpandModuleImports(literal);
  ExpandModuleImports(fast);
  ASSERT_EQ(literal.ModList.size(), fast.ModList.size());
  for (size_t m = 0; m < fast.ModList.size(); ++m) {
    ASSERT_EQ(fast.ModList[m]->imports, literal.ModList[m]->imports)
        << what << ": module " << m << " " << testing::Show(fast.ModList[m]->name);
  }
}

TEST(ImportClosureAgainstTheRule, ChainsInEveryListingOrder) {
  for (size_t length : {1, 2, 3, 10, 70}) {
    ExpectSameAsTheRule(Chain(length, 1), "chain first to last");
    ExpectSameAsTheRule(Chain(length, -1), "chain last to first");
    for (unsigned seed = 1; seed <= 5; ++seed) ExpectSameAsTheRule(Chain(length, 0, seed), "shuffled chain");
  }
}

TEST(ImportClosureAgainstTheRule, DiamondsCyclesAndSelfImports) {
  ExpectSameAsTheRule(Diamonds(6, 4, false), "diamonds from the top");
  ExpectSameAsTheRule(Diamonds(6, 4, true), "diamonds from the bottom");

  Installation ring = Chain(30, 0, 7);
  ring.modules.front().second.push_back(Numbered(u"x.m", 0));  // closes the ring
  for (auto& [name, imports] : ring.modules) {
    if (name == u"x.m29") imports.push_back(u"x.m0");
    if (name == u"x.m12") imports.insert(imports.begin(), u"x.m12");  // a self-import
  }
  ExpectSameAsTheRule(ring, "ring");

  Installation mutual;
  mutual.modules = {{u"x.a", {u"x.b", u"x.c"}}, {u"x.b", {u"x.a"}},
                    {u"x.c", {u"x.c", u"x.a", u"x.b"}}, {u"x.d", {u"x.b", u"x.b"}}};
  ExpectSameAsTheRule(mutual, "mutual imports");
}

TEST(ImportClosureAgainstTheRule, RandomInstallationsWithDuplicateAndUnknownNames) {
  for (unsigned seed = 1; seed <= 300; ++seed) {
    ExpectSameAsTheRule(Random(3 + seed % 40, seed), "random seed " + std::to_string(seed));
  }
}

TEST(ImportClosureAgainstTheRule, AddImportsOfMatchesTheRule) {
  for (unsigned seed = 1; seed <= 100; ++seed) {
    CatalogueState catalogue;
    Random(20, seed).Fill(catalogue);
    for (const auto& module : catalogue.ModList) {
      TextList literal = {u"x.r3"};
      ImportList fast(literal);
      LiteralAddImportsOf(catalogue, literal, module.get());
      AddImportsOf(catalogue, fast, module.get());
      ASSERT_EQ(fast, literal) << "seed " << seed;
    }
    // A module's own list walked into itself.
    modtype& first = *catalogue.ModList.front();
    TextList before = first.imports.Names();
    AddImportsOf(catalogue, first.imports, &first);
    EXPECT_EQ(first.imports, before);
  }
}

// Deeper than any call stack would go: the depth costs memory only.
TEST(ImportClosureAgainstTheRule, AVeryDeepWalkEnds) {
  CatalogueState catalogue;
  constexpr size_t kDepth = 100000;
  for (size_t k = 0; k < kDepth; ++k) {
    modtype* m = catalogue.CreateModule(Numbered(u"x.m", k));
    if (k + 1 < kDepth) m->imports.push_back(Numbered(u"x.m", k + 1));
  }
  ImportList list;
  AddImportsOf(catalogue, list, catalogue.ModList.front().get());
  ASSERT_EQ(list.size(), kDepth - 1);
  EXPECT_EQ(list[0], u"x.m1");
  EXPECT_EQ(list.back(), Numbered(u"x.m", kDepth - 1));

  // The closure of a chain listed from its end follows it to the bottom
  // from every module.
  CatalogueState reversed;
  Chain(1000, -1).Fill(reversed);
  ExpandModuleImports(reversed);
  EXPECT_EQ(reversed.ModList.back()->imports.size(), 999u);
  EXPECT_EQ(reversed.ModList.back()->imports.back(), u"x.m999");
}

}  // namespace
}  // namespace vt
