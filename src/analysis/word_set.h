// The repeat test of a record's words: which words the record holds already.
// Every word of every code line asks it, so it is a flat table of small
// slots (a word's position in the list and part of its hash): a question
// costs one probe and an answer no allocation.
#pragma once

#include <cstdint>
#include <vector>

#include "base/text.h"

namespace vt {

class WordSet {
 public:
  // Whether `words[p]` equals `word` for a position p the set holds.
  // `hash` is HashOf(word).
  bool Holds(const std::vector<Text>& words, TextView word, size_t hash) const;
  // Adds a position of the word list, whose word's hash is `hash`.
  void Add(size_t position, size_t hash);
  size_t size() const { return count_; }
  // Empties the set and gives back its room.
  void Clear();

  static size_t HashOf(TextView word);

 private:
  struct Slot {
    uint32_t position = 0;  // the position plus one; 0: the slot is free
    uint32_t hash = 0;
  };
  void Place(Slot slot);
  void Grow();

  std::vector<Slot> slots_;
  size_t count_ = 0;
};

}  // namespace vt
