#include "catalogue/module_records.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace vt {
namespace {

class ModuleRecords : public testing::FreshState {};

TEST_F(ModuleRecords, RecordsAreKeptInCreationOrder) {
  modtype* a = Catalogue.CreateModule(u"brl.blitz");
  modtype* b = Catalogue.CreateModule(u"brl.glmax2d");
  ASSERT_EQ(Catalogue.ModList.size(), 2u);
  EXPECT_EQ(Catalogue.ModList[0].get(), a);
  EXPECT_EQ(Catalogue.ModList[1].get(), b);
  EXPECT_EQ(a->name, u"brl.blitz");
  EXPECT_TRUE(a->imports.empty());
}

TEST_F(ModuleRecords, FindModuleLowerCasesOnlyTheArgument) {
  Catalogue.CreateModule(u"brl.glmax2d");
  Catalogue.CreateModule(u"Brl.system");
  modtype* first = Catalogue.CreateModule(u"brl.more");
  Catalogue.CreateModule(u"brl.more");
  EXPECT_EQ(Catalogue.FindModule(u"BRL.GLMax2D"), Catalogue.ModList[0].get());
  EXPECT_EQ(Catalogue.FindModule(u"Brl.system"), nullptr);
  EXPECT_EQ(Catalogue.FindModule(u"brl.system"), nullptr);
  EXPECT_EQ(Catalogue.FindModule(u"brl.more"), first);
  EXPECT_EQ(Catalogue.FindModule(u""), nullptr);
  EXPECT_EQ(Catalogue.FindModule(u" brl.glmax2d"), nullptr);
}

TEST_F(ModuleRecords, ClearEmptiesTheCatalogueAndItsLookup) {
  Catalogue.CreateModule(u"brl.blitz")->commands = {u"delay"};
  Catalogue.CommandCount = 1;
  Catalogue.Clear();
  EXPECT_TRUE(Catalogue.ModList.empty());
  EXPECT_EQ(Catalogue.CommandCount, 0);
  EXPECT_EQ(Catalogue.FindModule(u"brl.blitz"), nullptr);
  modtype* again = Catalogue.CreateModule(u"brl.blitz");
  EXPECT_EQ(Catalogue.FindModule(u"brl.blitz"), again);
}

TEST(ListIndex, FollowsTheListAsItGrowsEmptiesAndRefills) {
  TextList list = {u"brl.max2d"};
  ListIndex exact;
  ListIndex lowered(true);
  EXPECT_TRUE(exact.Holds(list, u"brl.max2d"));
  EXPECT_FALSE(exact.Holds(list, u"BRL.Max2D"));
  EXPECT_TRUE(lowered.Holds(list, u"BRL.Max2D"));
  list.push_back(u"BRL.GLMax2D");
  EXPECT_TRUE(exact.Holds(list, u"BRL.GLMax2D"));
  EXPECT_TRUE(lowered.Holds(list, u"brl.glmax2d"));
  // Emptied and refilled to the same length: the old entries are forgotten.
  list = {u"pub.freetype", u"brl.retro"};
  EXPECT_FALSE(exact.Holds(list, u"brl.max2d"));
  EXPECT_TRUE(exact.Holds(list, u"brl.retro"));
  EXPECT_FALSE(lowered.Holds(list, u"brl.glmax2d"));
  list.clear();
  EXPECT_FALSE(exact.Holds(list, u"brl.retro"));
  EXPECT_FALSE(lowered.Holds(list, u"pub.freetype"));

  // Asked about another list, the index follows that one; case folds only
  // A..Z, and only when lowered.
  TextList other = {u"Pub.Caf\u00C9", u"BRL.A"};
  EXPECT_TRUE(lowered.Holds(other, u"pub.caf\u00C9"));
  EXPECT_FALSE(lowered.Holds(other, u"pub.caf\u00E9"));
  EXPECT_FALSE(lowered.Holds(other, u"brl.a "));
  EXPECT_FALSE(exact.Holds(other, u"brl.a"));
  EXPECT_FALSE(lowered.Holds(list, u"brl.a"));
  list.push_back(u"X.Y");
  EXPECT_TRUE(lowered.Holds(list, u"x.y"));
}

TEST_F(ModuleRecords, StateStartsFreshForEveryTest) {
  EXPECT_TRUE(Catalogue.ModList.empty());
  EXPECT_EQ(Catalogue.CommandCount, 0);
  EXPECT_EQ(Catalogue.FindModule(u"x.y"), nullptr);
  Catalogue.CreateModule(u"x.y");
}

// Import lists keep each name once for the whole catalogue and still read
// as lists of names, whichever catalogue a list is copied from.
TEST_F(ModuleRecords, ImportListsShareTheCatalogueNamesAndReadAsNames) {
  modtype* a = Catalogue.CreateModule(u"x.a");
  modtype* b = Catalogue.CreateModule(u"x.b");
  a->imports = TextList{u"x.c", u"x.b", u"x.c"};
  b->imports.push_back(u"x.c");
  EXPECT_EQ(a->imports, (TextList{u"x.c", u"x.b", u"x.c"}));
  EXPECT_EQ(a->imports.Names(), (TextList{u"x.c", u"x.b", u"x.c"}));
  EXPECT_EQ(a->imports.Numbers()[0], a->imports.Numbers()[2]);
  EXPECT_EQ(a->imports.Numbers()[0], b->imports.Numbers()[0]);
  EXPECT_EQ(Catalogue.ImportNames().size(), 2u);
  EXPECT_EQ(a->imports.back(), u"x.c");
  EXPECT_FALSE(a->imports == b->imports);

  // A list from another catalogue is taken by name, into this one's pool.
  CatalogueState other;
  modtype* o = other.CreateModule(u"x.o");
  o->imports = TextList{u"x.z", u"x.b"};
  a->imports = o->imports;
  EXPECT_EQ(a->imports, o->imports);
  EXPECT_EQ(a->imports.Pool(), b->imports.Pool());
  EXPECT_EQ(Catalogue.ImportNames().Name(a->imports.Numbers()[0]), u"x.z");

  // A rescan starts from an empty pool.
  Catalogue.Clear();
  EXPECT_EQ(Catalogue.ImportNames().size(), 0u);
  EXPECT_EQ(o->imports, (TextList{u"x.z", u"x.b"}));
}

}  // namespace
}  // namespace vt
