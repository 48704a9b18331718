#include "analysis/word_set.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vt {
namespace {

TEST(WordSet, HoldsWhatWasAddedThroughGrowthAndSharedHashes) {
  std::vector<Text> words;
  WordSet set;
  EXPECT_FALSE(set.Holds(words, u"cls", WordSet::HashOf(u"cls")));
  for (int i = 0; i < 1000; ++i) {
    words.push_back(FromUtf8("w" + std::to_string(i)));
    set.Add(words.size() - 1, WordSet::HashOf(words.back()));
  }
  EXPECT_EQ(set.size(), 1000u);
  for (int i = 0; i < 1000; i += 37) {
    Text word = FromUtf8("w" + std::to_string(i));
    EXPECT_TRUE(set.Holds(words, word, WordSet::HashOf(word))) << i;
  }
  EXPECT_FALSE(set.Holds(words, u"w1000", WordSet::HashOf(u"w1000")));

  // Words whose hashes agree are told apart by the words themselves.
  std::vector<Text> same = {u"alpha", u"beta", u"gamma"};
  WordSet colliding;
  for (size_t p = 0; p < same.size(); ++p) colliding.Add(p, 42);
  EXPECT_TRUE(colliding.Holds(same, u"beta", 42));
  EXPECT_TRUE(colliding.Holds(same, u"gamma", 42));
  EXPECT_FALSE(colliding.Holds(same, u"delta", 42));
  EXPECT_FALSE(colliding.Holds(same, u"beta", 43));

  set.Clear();
  EXPECT_EQ(set.size(), 0u);
  EXPECT_FALSE(set.Holds(words, u"w0", WordSet::HashOf(u"w0")));
}

}  // namespace
}  // namespace vt
