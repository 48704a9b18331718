#include "catalogue/distribution.h"

#include <gtest/gtest.h>

#include "catalogue/import_closure.h"
#include "catalogue/module_scan.h"
#include "support/test_support.h"

namespace vt {
namespace {

class Distribution : public testing::FreshState {
 protected:
  void Scan(TextView installation) {
    ASSERT_TRUE(ScanModFolder(Catalogue, testing::SourceFolder() + u"/examples/" + Text(installation)));
  }
};

// The classic example uses "enum" and "struct" only as names, if at all;
// the modern one declares structs and imports other namespaces, whose
// modules the closure must then follow.
TEST_F(Distribution, EachExampleInstallationIsRecognisedAndModernImportsReachEveryNamespace) {
  Scan(u"BlitzMax");
  EXPECT_EQ(DetectRuleSet(Catalogue), RuleSetKind::Classic);

  Catalogue.Clear();
  Scan(u"BlitzMaxModern");
  EXPECT_EQ(DetectRuleSet(Catalogue), RuleSetKind::Modern);
  const modtype* random = Catalogue.FindModule(u"brl.random");
  ASSERT_NE(random, nullptr);
  EXPECT_TRUE(random->imports.empty()) << "classic imports keep brl and pub only";
  ImportEveryNamespace(Catalogue);
  ExpandModuleImports(Catalogue);
  EXPECT_EQ(random->imports.Names(), (TextList{u"random.core", u"brl.blitz"}));
  const modtype* drivers = Catalogue.FindModule(u"maxgui.drivers");
  ASSERT_NE(drivers, nullptr);
  for (const char16_t* reached : {u"maxgui.maxgui", u"maxgui.win32maxguiex", u"maxgui.gtk3maxgui"}) {
    EXPECT_TRUE(Contains(drivers->imports.Names(), reached)) << ToUtf8(reached);
  }
}

}  // namespace
}  // namespace vt
