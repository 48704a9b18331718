#include "analysis/causes.h"

#include <utility>

namespace vt {

bool CauseMap::TryNote(TextView key, ModuleCause cause) {
  size_t hash = WordHash(key);
  if (index_.FindIf(hash, [&](size_t at) { return KeyAt(at) == key; })) return false;
  places_.push_back({static_cast<uint32_t>(keys_.size()), static_cast<uint32_t>(key.size())});
  keys_ += key;
  causes_.push_back(std::move(cause));
  index_.Add(causes_.size() - 1, hash);
  return true;
}

const ModuleCause* CauseMap::Find(TextView key) const {
  std::optional<size_t> at = index_.FindIf(WordHash(key), [&](size_t at) { return KeyAt(at) == key; });
  return at ? &causes_[*at] : nullptr;
}

void CauseMap::ShrinkToFit() {
  keys_.shrink_to_fit();
  places_.shrink_to_fit();
  causes_.shrink_to_fit();
}

}  // namespace vt
