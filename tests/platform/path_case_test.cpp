#include "platform/path_case.h"

#include <gtest/gtest.h>

#include "base/paths.h"
#include "platform/file_system.h"
#include "support/test_support.h"

namespace vt {
namespace {

using testing::AsRecorded;
using testing::TempFolder;

TEST(PathCase, ComponentsAreFoundIgnoringCaseWhereTheyDoNotExistAsWritten) {
  TempFolder tmp;
  tmp.WriteFile(u"Data/Level1.BMX", "x");
  tmp.WriteFile(u"MathUtil.bmx", "x");
  EXPECT_EQ(ResolvePathCase(tmp / u"data/level1.bmx"),
            tmp / AsRecorded(u"Data/Level1.BMX", u"data/level1.bmx"));
  EXPECT_EQ(ResolvePathCase(tmp / u"mathutil.bmx"),
            tmp / AsRecorded(u"MathUtil.bmx", u"mathutil.bmx"));
  EXPECT_EQ(ResolvePathCase(tmp / u"MathUtil.bmx"), tmp / u"MathUtil.bmx");
  // A component with no match stays as written, and so do those after it.
  EXPECT_EQ(ResolvePathCase(tmp / u"nothing/level1.bmx"), tmp / u"nothing/level1.bmx");
  EXPECT_EQ(ResolvePathCase(tmp / u"data/../mathutil.bmx"),
            tmp / AsRecorded(u"Data/../MathUtil.bmx", u"data/../mathutil.bmx"));
}

TEST(PathCase, RelativePathsResolveAgainstTheCurrentFolder) {
  TempFolder tmp;
  tmp.WriteFile(u"Inc/A.bmx", "x");
  Text saved = CurrentFolder();
  ASSERT_TRUE(testing::EnterFolder(tmp.Path()));
  EXPECT_EQ(ResolvePathCase(u"inc/a.bmx"), AsRecorded(u"Inc/A.bmx", u"inc/a.bmx"));
  EXPECT_EQ(ResolvePathCase(u"./inc/a.bmx"), AsRecorded(u"./Inc/A.bmx", u"./inc/a.bmx"));
  EXPECT_EQ(ResolvePathCase(u"a.bmx"), u"a.bmx");
  testing::EnterFolder(saved);
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
  ASSERT_TRUE(testing::EnterFolder(tmp.Path()));
  EXPECT_EQ(ResolvePathCase(u"c:/x.bmx"), u"C:/x.bmx");
  EXPECT_EQ(ResolvePathCase(u"c:/X.BMX"), u"C:/x.bmx");
  testing::EnterFolder(saved);
}

// On Windows the first component of "c:\\..." is the drive: kept as written,
// with the rest taken "/"-separated.
TEST(PathCase, DriveLetterIsKeptOnWindows) {
  if (kNativePathStyle != PathStyle::Windows) GTEST_SKIP() << "drive letters are Windows only";
  TempFolder tmp;
  tmp.WriteFile(u"Inc/A.bmx", "x");
  ASSERT_TRUE(HasDrivePrefix(tmp.Path()));
  Text lowerDrive = Lower(tmp.Path().substr(0, 2));
  Text backslashed = lowerDrive + Replace(tmp.Path().substr(2), u"/", u"\\") + u"\\Inc\\A.bmx";
  EXPECT_EQ(ResolvePathCase(backslashed), lowerDrive + tmp.Path().substr(2) + u"/Inc/A.bmx");
  EXPECT_EQ(ResolvePathCase(lowerDrive + u"/"), lowerDrive + u"/");
}

}  // namespace
}  // namespace vt
