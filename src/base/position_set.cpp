#include "base/position_set.h"

namespace vt {

size_t PositionSet::Hash(TextView entry) const {
  return folded_ ? FoldedHash(entry) : WordHash(entry);
}

bool PositionSet::Holds(const std::vector<Text>& list, TextView entry, size_t hash) const {
  return FindIf(hash, [&](size_t position) {
           const Text& held = list[position];
           return folded_ ? EqualFolded(held, entry) : held == entry;
         }).has_value();
}

void PositionSet::Add(size_t position, size_t hash) {
  // At most half full, so that probes stay short.
  if ((count_ + 1) * 2 > slots_.size()) Grow();
  Place(Slot{static_cast<uint32_t>(position + 1), static_cast<uint32_t>(hash)});
  ++count_;
}

void PositionSet::Clear() {
  std::vector<Slot>().swap(slots_);
  count_ = 0;
}

void PositionSet::Place(Slot slot) {
  size_t mask = slots_.size() - 1;
  size_t at = slot.hash & mask;
  while (slots_[at].position != 0) at = (at + 1) & mask;
  slots_[at] = slot;
}

void PositionSet::Grow() {
  std::vector<Slot> old;
  old.swap(slots_);
  slots_.assign(old.empty() ? 16 : old.size() * 2, Slot{});
  // The kept low bits of a hash place a slot as the whole hash would.
  for (const Slot& slot : old) {
    if (slot.position != 0) Place(slot);
  }
}

}  // namespace vt
