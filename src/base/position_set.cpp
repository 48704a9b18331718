#include "base/position_set.h"

namespace vt {

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

void PositionSet::Reserve(size_t count) {
  if (count * 2 <= slots_.size()) return;
  size_t size = slots_.empty() ? 64 : slots_.size();
  while (size < count * 2) size *= 2;
  Rehash(size);
}

void PositionSet::Grow() { Rehash(slots_.empty() ? 64 : slots_.size() * 2); }

void PositionSet::Rehash(size_t size) {
  std::vector<Slot> old;
  old.swap(slots_);
  slots_.assign(size, Slot{});
  // The kept low bits of a hash place a slot as the whole hash would.
  for (const Slot& slot : old) {
    if (slot.position != 0) Place(slot);
  }
}

}  // namespace vt
