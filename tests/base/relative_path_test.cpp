#include <gtest/gtest.h>

#include "base/paths.h"

namespace vt {
namespace {

TEST(RelativePath, ClimbsAsFarAsTheTwoPart) {
  EXPECT_EQ(RelativePath(u"/p/game/inc/a.bmx", u"/p/game"), u"inc/a.bmx");
  EXPECT_EQ(RelativePath(u"/p/game/inc/a.bmx", u"/p/game/"), u"inc/a.bmx");
  EXPECT_EQ(RelativePath(u"/p/lib/b.bmx", u"/p/game"), u"../lib/b.bmx");
  EXPECT_EQ(RelativePath(u"/a.bmx", u"/p/game"), u"../../a.bmx");
  EXPECT_EQ(RelativePath(u"/p/game/a.bmx", u"/"), u"p/game/a.bmx");
  EXPECT_EQ(RelativePath(u"/p/game", u"/p/game"), u".");
  // A part that merely starts alike is another folder.
  EXPECT_EQ(RelativePath(u"/p/gamer/a.bmx", u"/p/game"), u"../gamer/a.bmx");
}

TEST(RelativePath, DrivesShareNothingWithOtherDrives) {
  EXPECT_EQ(RelativePath(u"D:/x/a.bmx", u"C:/work"), u"D:/x/a.bmx");
  EXPECT_EQ(RelativePath(u"C:/work/a.bmx", u"C:/work"), u"a.bmx");
}

}  // namespace
}  // namespace vt
