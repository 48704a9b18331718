#include "platform/path_case.h"

#include <gtest/gtest.h>

#include "base/paths.h"
#include "platform/file_system.h"
#include "support/test_support.h"

namespace vt {
namespace {

using testing::TempFolder;

TEST(PathCase, ComponentsAreFoundIgnoringCaseWhereTheyDoNotExistAsWritten) {
  TempFolder tmp;
  tmp.WriteFile(u"Data/Level1.BMX", "x");
  tmp.WriteFile(u"MathUtil.bmx", "x");
  EXPECT_EQ(ResolvePathCase(tmp / u"data\\level1.bmx"), tmp / u"Data/Level1.BMX");
  EXPECT_EQ(ResolvePathCase(tmp / u"mathutil.bmx"), tmp / u"MathUtil.bmx");
  EXPECT_EQ(ResolvePathCase(tmp / u"MathUtil.bmx"), tmp / u"MathUtil.bmx");
  // A component with no match stays as written, and so do those after it.
  EXPECT_EQ(ResolvePathCase(tmp / u"nothing/level1.bmx"), tmp / u"nothing/level1.bmx");
  EXPECT_EQ(ResolvePathCase(tmp / u"data/../mathutil.bmx"), tmp / u"Data/../MathUtil.bmx");
}

TEST(PathCase, RelativePathsResolveAgainstTheCurrentFolder) {
  TempFolder tmp;
  tmp.WriteFile(u"Inc/A.bmx", "x");
  Text saved = CurrentFolder();
  ASSERT_TRUE(ChangeFolder(tmp.Path()));
  EXPECT_EQ(ResolvePathCase(u"inc/a.bmx"), u"Inc/A.bmx");
  EXPECT_EQ(ResolvePathCase(u"./inc/a.bmx"), u"./Inc/A.bmx");
  EXPECT_EQ(ResolvePathCase(u"a.bmx"), u"a.bmx");
  ChangeFolder(saved);
}

TEST(PathCase, WrittenCaseWinsWhenBothSpellingsExist) {
  TempFolder tmp;
  tmp.WriteFile(u"A.bmx", "1");
  tmp.WriteFile(u"a.bmx", "2");
  EXPECT_EQ(ResolvePathCase(tmp / u"a.bmx"), tmp / u"a.bmx");
  EXPECT_EQ(ResolvePathCase(tmp / u"A.bmx"), tmp / u"A.bmx");
}

// Off Windows "c:" is an ordinary folder name, found ignoring case like any
// other component.
TEST(PathCase, AColonNameIsAFolderOffWindows) {
  if (kNativePathStyle == PathStyle::Windows) GTEST_SKIP() << "\"c:\" is a drive on Windows";
  TempFolder tmp;
  tmp.WriteFile(u"C:/x.bmx", "x");
  Text saved = CurrentFolder();
  ASSERT_TRUE(ChangeFolder(tmp.Path()));
  EXPECT_EQ(ResolvePathCase(u"c:/x.bmx"), u"C:/x.bmx");
  EXPECT_EQ(ResolvePathCase(u"c:\\X.BMX"), u"C:/x.bmx");
  ChangeFolder(saved);
}

}  // namespace
}  // namespace vt
