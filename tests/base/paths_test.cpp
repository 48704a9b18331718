#include "base/paths.h"

#include <gtest/gtest.h>

namespace vt {
namespace {

TEST(Paths, RelativePathsAreAnchoredAtTheFolderAndOthersKept) {
  EXPECT_EQ(AnchorPath(u"sub\\game.bmx", u"/home/me"), u"/home/me/sub/game.bmx");
  EXPECT_EQ(AnchorPath(u"game.bmx", u"/"), u"/game.bmx");
  EXPECT_EQ(AnchorPath(u"/abs/game.bmx", u"/home/me"), u"/abs/game.bmx");
  EXPECT_EQ(AnchorPath(u"C:\\Work\\game.bmx", u"D:/"), u"C:/Work/game.bmx");
  EXPECT_EQ(AnchorPath(u"", u"/home/me"), u"");
  EXPECT_FALSE(IsAbsolutePath(u"./x"));
  EXPECT_TRUE(IsAbsolutePath(u"c:x"));
}

}  // namespace
}  // namespace vt
