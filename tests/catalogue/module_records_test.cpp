#include "catalogue/module_records.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace vt {
namespace {

class ModuleRecords : public testing::FreshState {};

modtype* Named(const char16_t* name) {
  modtype* m = modtype::Create();
  m->name = name;
  return m;
}

TEST_F(ModuleRecords, RecordsRegisterThemselvesInCreationOrder) {
  modtype* a = Named(u"brl.blitz");
  modtype* b = Named(u"brl.glmax2d");
  ASSERT_EQ(Catalogue.ModList.size(), 2u);
  EXPECT_EQ(Catalogue.ModList[0].get(), a);
  EXPECT_EQ(Catalogue.ModList[1].get(), b);
  EXPECT_EQ(a->matched, 0);
  EXPECT_TRUE(a->imports.empty());

  scanlisttype* entry = scanlisttype::Create();
  entry->Set(u"/p/main.bmx", u"Main");
  ASSERT_EQ(Catalogue.ScanListList.size(), 1u);
  EXPECT_EQ(Catalogue.ScanListList[0]->kind, u"Main");
  EXPECT_EQ(Catalogue.ScanListList[0]->path, u"/p/main.bmx");
}

TEST_F(ModuleRecords, FindModuleLowerCasesOnlyTheArgument) {
  Named(u"brl.glmax2d");
  Named(u"Brl.system");
  modtype* first = Named(u"brl.more");
  Named(u"brl.more");
  EXPECT_EQ(modtype::FindModule(u"BRL.GLMax2D"), Catalogue.ModList[0].get());
  EXPECT_EQ(modtype::FindModule(u"Brl.system"), nullptr);
  EXPECT_EQ(modtype::FindModule(u"brl.system"), nullptr);
  EXPECT_EQ(modtype::FindModule(u"brl.more"), first);
  EXPECT_EQ(modtype::FindModule(u""), nullptr);
  EXPECT_EQ(modtype::FindModule(u" brl.glmax2d"), nullptr);
}

TEST_F(ModuleRecords, StateStartsFreshForEveryTest) {
  EXPECT_TRUE(Catalogue.ModList.empty());
  EXPECT_TRUE(Catalogue.ScanListList.empty());
  EXPECT_EQ(Catalogue.CurrentModule, nullptr);
  EXPECT_EQ(Catalogue.CommandCount, 0);
  Named(u"x.y");
}

}  // namespace
}  // namespace vt
