// Which entries a list holds, as positions in that list: a flat table of
// small slots (a position and part of the entry's hash), so that asking
// costs one probe and adding no allocation. The repeat test of a record's
// words and the index of its module list ask it for every word and module.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "base/text.h"

namespace vt {

class PositionSet {
 public:
  // With `folded`, entries compare and hash with A..Z folded to a..z.
  explicit PositionSet(bool folded = false) : folded_(folded) {}

  // Whether `list[p]` equals `entry` for a position p the set holds.
  // `hash` is Hash(entry).
  bool Holds(const std::vector<Text>& list, TextView entry, size_t hash) const;
  // The first position added with `hash` for which `isEntry(position)` holds:
  // for lists that are no vector of Text, or entries that are no text.
  template <typename IsEntry>
  std::optional<size_t> FindIf(size_t hash, IsEntry&& isEntry) const {
    if (slots_.empty()) return std::nullopt;
    size_t mask = slots_.size() - 1;
    for (size_t at = hash & mask; slots_[at].position != 0; at = (at + 1) & mask) {
      const Slot& slot = slots_[at];
      if (slot.hash == static_cast<uint32_t>(hash) && isEntry(slot.position - 1)) {
        return slot.position - 1;
      }
    }
    return std::nullopt;
  }
  // Asks the memory for the slot where a search for `hash` starts, so that
  // a loop can start the next searches' loads before it needs them.
  void Prefetch(size_t hash) const {
    if (!slots_.empty()) __builtin_prefetch(&slots_[hash & (slots_.size() - 1)]);
  }
  // The position in the slot where a search for `hash` starts, when that
  // slot holds one with the same kept hash bits: most likely the entry a
  // search will find, for loading what it needs ahead. Not compared.
  std::optional<size_t> Likely(size_t hash) const {
    if (slots_.empty()) return std::nullopt;
    const Slot& slot = slots_[hash & (slots_.size() - 1)];
    if (slot.position == 0 || slot.hash != static_cast<uint32_t>(hash)) return std::nullopt;
    return slot.position - 1;
  }
  // Adds a position of the list, whose entry's hash is `hash`.
  void Add(size_t position, size_t hash);
  size_t size() const { return count_; }
  // Empties the set and gives back its room.
  void Clear();

  size_t Hash(TextView entry) const { return folded_ ? FoldedHash(entry) : WordHash(entry); }
  // Makes room for `count` positions at once, so that a set known to grow
  // large does not grow by doubling from nothing.
  void Reserve(size_t count);

 private:
  struct Slot {
    uint32_t position = 0;  // the position plus one; 0: the slot is free
    uint32_t hash = 0;
  };
  void Place(Slot slot);
  void Grow();
  // Places every slot again in a table of `size` slots (a power of two).
  void Rehash(size_t size);

  bool folded_;
  std::vector<Slot> slots_;
  size_t count_ = 0;
};

}  // namespace vt
