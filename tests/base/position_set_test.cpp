#include "base/position_set.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vt {
namespace {

TEST(PositionSet, HoldsWhatWasAddedThroughGrowthAndSharedHashes) {
  std::vector<Text> words;
  PositionSet set;
  EXPECT_FALSE(set.Holds(words, u"cls", set.Hash(u"cls")));
  for (int i = 0; i < 1000; ++i) {
    words.push_back(FromUtf8("w" + std::to_string(i)));
    set.Add(words.size() - 1, set.Hash(words.back()));
  }
  EXPECT_EQ(set.size(), 1000u);
  for (int i = 0; i < 1000; i += 37) {
    Text word = FromUtf8("w" + std::to_string(i));
    EXPECT_TRUE(set.Holds(words, word, set.Hash(word))) << i;
  }
  EXPECT_FALSE(set.Holds(words, u"w1000", set.Hash(u"w1000")));

  // Words whose hashes agree are told apart by the words themselves.
  std::vector<Text> same = {u"alpha", u"beta", u"gamma"};
  PositionSet colliding;
  for (size_t p = 0; p < same.size(); ++p) colliding.Add(p, 42);
  EXPECT_TRUE(colliding.Holds(same, u"beta", 42));
  EXPECT_TRUE(colliding.Holds(same, u"gamma", 42));
  EXPECT_FALSE(colliding.Holds(same, u"delta", 42));
  EXPECT_FALSE(colliding.Holds(same, u"beta", 43));

  set.Clear();
  EXPECT_EQ(set.size(), 0u);
  EXPECT_FALSE(set.Holds(words, u"w0", set.Hash(u"w0")));
}

TEST(PositionSet, FoldedSetIgnoresOnlyCapitalLetters) {
  std::vector<Text> list = {u"BRL.Max2D", u"Pub.Caf\u00C9"};
  PositionSet folded(true);
  for (size_t p = 0; p < list.size(); ++p) folded.Add(p, folded.Hash(list[p]));
  EXPECT_TRUE(folded.Holds(list, u"brl.max2d", folded.Hash(u"brl.max2d")));
  EXPECT_TRUE(folded.Holds(list, u"BRL.MAX2D", folded.Hash(u"BRL.MAX2D")));
  EXPECT_TRUE(folded.Holds(list, u"pub.caf\u00C9", folded.Hash(u"pub.caf\u00C9")));
  EXPECT_FALSE(folded.Holds(list, u"pub.caf\u00E9", folded.Hash(u"pub.caf\u00E9")));
  EXPECT_EQ(folded.Hash(u"ABC"), folded.Hash(u"abc"));

  PositionSet exact;
  for (size_t p = 0; p < list.size(); ++p) exact.Add(p, exact.Hash(list[p]));
  EXPECT_FALSE(exact.Holds(list, u"brl.max2d", exact.Hash(u"brl.max2d")));
  EXPECT_TRUE(exact.Holds(list, u"BRL.Max2D", exact.Hash(u"BRL.Max2D")));
}

}  // namespace
}  // namespace vt
