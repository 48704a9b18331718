#include "base/relative_path.h"

#include <gtest/gtest.h>

namespace vt {
namespace {

TEST(RelativePath, NamesAFileAsSeenFromAFolder) {
  EXPECT_EQ(RelativePath(u"/w/game/game.bmx", u"/w"), u"game/game.bmx");
  EXPECT_EQ(RelativePath(u"/w/game/game.bmx", u"/w/game"), u"game.bmx");
  EXPECT_EQ(RelativePath(u"/w/lib/a.bmx", u"/w/game/src"), u"../../lib/a.bmx");
  EXPECT_EQ(RelativePath(u"/w", u"/w/game"), u"..");
  EXPECT_EQ(RelativePath(u"/w", u"/w"), u".");
  EXPECT_EQ(RelativePath(u"/ab/x.bmx", u"/a"), u"../ab/x.bmx");
  EXPECT_EQ(RelativePath(u"rel.bmx", u"/w"), u"rel.bmx");
  EXPECT_EQ(RelativePath(u"D:/x.bmx", u"C:/w", PathStyle::Windows), u"D:/x.bmx");
  EXPECT_EQ(RelativePath(u"C:/w/x.bmx", u"C:/w", PathStyle::Windows), u"x.bmx");
}

}  // namespace
}  // namespace vt
