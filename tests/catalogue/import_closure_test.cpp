#include "catalogue/import_closure.h"

#include <gtest/gtest.h>

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
  TextList list = Names({u"x.a"});
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

}  // namespace
}  // namespace vt
