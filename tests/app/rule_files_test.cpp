// The shipped rules come from beside the help page, else from the built-in
// copy; the user's file and one named on the command line add to them.
#include "app/rule_files.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/file_system.h"
#include "support/test_support.h"

namespace vt {
namespace {

using testing::TempFolder;

// The variable the user's data folder follows on this system.
#if defined(_WIN32)
constexpr char kDataVariable[] = "APPDATA";
#elif defined(__APPLE__)
constexpr char kDataVariable[] = "HOME";
#else
constexpr char kDataVariable[] = "XDG_DATA_HOME";
#endif

TEST(LoadRules, ShippedOrBuiltInThenTheUsersThenTheOneGiven) {
  TempFolder data, help, extra;
  testing::ScopedEnvironment dataVariable(kDataVariable, ToUtf8(data.Path()));
  Text userFile = UserDataFolder() + u"/rules.txt";
  data.WriteFile(TextView(userFile).substr(data.Path().size() + 1),
                 "[modern]\ndriver directx-max2d BRL.Mine Mine()\n");
  extra.WriteFile(u"given.txt", "[modern]\ngui BRL.Given\n");

  // Without a shipped file the built-in copy stands first.
  LoadedRules rules = LoadRules(PortableLayout(help.Path()), {extra / u"given.txt"});
  EXPECT_TRUE(rules.errors.empty());
  EXPECT_EQ(rules.files, (std::vector<Text>{userFile, extra / u"given.txt"}));
  EXPECT_EQ(rules.book.modern.families, BuiltInRules().modern.families);
  EXPECT_EQ(rules.book.modern.templates.directxMax2D.module, u"BRL.Mine");
  EXPECT_EQ(rules.book.modern.templates.guiModule, u"BRL.Given");

  // A shipped file replaces the built-in copy; faults are all collected.
  help.WriteFile(u"rules.txt", "[classic]\ngui BRL.Shipped\n");
  data.WriteFile(TextView(userFile).substr(data.Path().size() + 1), "[modern]\ngui\n");
  rules = LoadRules(PortableLayout(help.Path()), {extra / u"missing.txt"});
  EXPECT_EQ(rules.files, (std::vector<Text>{help / u"rules.txt", userFile}));
  RuleBook shipped;
  shipped.classic.templates.guiModule = u"BRL.Shipped";
  shipped.classic.templates.guiOrigin = {help / u"rules.txt", 2, true};
  EXPECT_EQ(rules.book, shipped);
  EXPECT_EQ(rules.errors,
            (std::vector<Text>{userFile + u":2: gui needs exactly one module",
                               extra / u"missing.txt" + u": no such rules file"}));
}

}  // namespace
}  // namespace vt
