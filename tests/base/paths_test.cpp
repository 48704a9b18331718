#include "base/paths.h"

#include <gtest/gtest.h>

namespace vt {
namespace {

constexpr PathStyle kPosix = PathStyle::Posix;
constexpr PathStyle kWindows = PathStyle::Windows;

TEST(Paths, RelativePathsAreAnchoredAtTheFolderAndOthersKept) {
  // A backslash separates folders under Windows rules only.
  EXPECT_EQ(AnchorPath(u"sub\\game.bmx", u"/home/me", kWindows), u"/home/me/sub/game.bmx");
  EXPECT_EQ(AnchorPath(u"sub\\game.bmx", u"/home/me", kPosix), u"/home/me/sub\\game.bmx");
  EXPECT_EQ(FileNameOf(u"/w/a\\b.bmx", kPosix), u"a\\b.bmx");
  EXPECT_EQ(SplitPath(u"a\\b/c", kPosix), (std::vector<Text>{u"a\\b", u"c"}));
  EXPECT_EQ(AnchorPath(u"game.bmx", u"/"), u"/game.bmx");
  EXPECT_EQ(AnchorPath(u"/abs/game.bmx", u"/home/me"), u"/abs/game.bmx");
  EXPECT_EQ(AnchorPath(u"C:\\Work\\game.bmx", u"D:/", kWindows), u"C:/Work/game.bmx");
  EXPECT_EQ(AnchorPath(u"", u"/home/me"), u"");
  EXPECT_FALSE(IsAbsolutePath(u"./x"));
}

// "c:" is a drive only under Windows rules; elsewhere it is an ordinary name,
// so the same text is relative and has no root.
TEST(Paths, DriveLettersCountOnlyUnderWindowsRules) {
  EXPECT_TRUE(HasDrivePrefix(u"c:x", kWindows));
  EXPECT_FALSE(HasDrivePrefix(u"c:x", kPosix));

  EXPECT_TRUE(IsAbsolutePath(u"c:x", kWindows));
  EXPECT_FALSE(IsAbsolutePath(u"c:x", kPosix));
  EXPECT_TRUE(IsAbsolutePath(u"/x", kPosix));
  EXPECT_TRUE(IsAbsolutePath(u"/x", kWindows));

  EXPECT_EQ(FolderPart(u"c:/x.bmx", kWindows), u"c:/");
  EXPECT_EQ(FolderPart(u"c:/x.bmx", kPosix), u"c:");
  EXPECT_EQ(FolderPart(u"/x.bmx", kPosix), u"/");
  EXPECT_EQ(FolderPart(u"/a/x.bmx", kWindows), u"/a");

  EXPECT_TRUE(IsRootFolder(u"C:/", kWindows));
  EXPECT_FALSE(IsRootFolder(u"C:/", kPosix));
  EXPECT_TRUE(IsRootFolder(u"/", kPosix));
  EXPECT_FALSE(IsRootFolder(u"C:", kWindows));

  EXPECT_EQ(NormalisePath(u"C:\\m\\..\\x.bmx", kWindows), u"C:/x.bmx");
  EXPECT_EQ(NormalisePath(u"C:/..", kWindows), u"C:/");
  EXPECT_EQ(NormalisePath(u"/w/C:/m/../x.bmx", kPosix), u"/w/C:/x.bmx");
  EXPECT_EQ(NormalisePath(u"/C:/..", kPosix), u"/");

  EXPECT_EQ(AnchorPath(u"c:r.htm", u"/home/me", kPosix), u"/home/me/c:r.htm");
  EXPECT_EQ(AnchorPath(u"c:r.htm", u"/home/me", kWindows), u"c:r.htm");
}

// Without a style named, the running system's rules apply.
TEST(Paths, DefaultRulesAreTheRunningSystems) {
  if (kNativePathStyle == PathStyle::Windows) {
    EXPECT_TRUE(IsAbsolutePath(u"C:/Work/game.bmx"));
    EXPECT_TRUE(IsAbsolutePath(u"d:\\game.bmx"));
    EXPECT_TRUE(IsRootFolder(u"C:/"));
    EXPECT_EQ(FolderPart(u"C:/game.bmx"), u"C:/");
    EXPECT_EQ(AnchorPath(u"C:\\Out\\r.htm", u"D:/Work"), u"C:/Out/r.htm");
    EXPECT_EQ(AnchorPath(u"out\\r.htm", u"D:/"), u"D:/out/r.htm");
    EXPECT_EQ(NormalisePath(u"D:/Work/../.."), u"D:/");
  } else {
    EXPECT_FALSE(IsAbsolutePath(u"C:/Work/game.bmx"));
    EXPECT_FALSE(IsRootFolder(u"C:/"));
    EXPECT_EQ(FolderPart(u"C:/game.bmx"), u"C:");
    EXPECT_EQ(AnchorPath(u"C:/Out/r.htm", u"/work"), u"/work/C:/Out/r.htm");
    EXPECT_EQ(NormalisePath(u"/work/../.."), u"/");
  }
  EXPECT_TRUE(IsAbsolutePath(u"/game.bmx"));
}

}  // namespace
}  // namespace vt
