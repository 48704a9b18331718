#include "analysis/command_index.h"

#include <functional>
#include <unordered_map>

namespace vt {

namespace {

size_t HashOf(TextView name) { return std::hash<TextView>{}(name); }

}  // namespace

CommandIndex::CommandIndex(const CatalogueState& catalogue) {
  std::unordered_map<TextView, uint32_t> entries;
  for (const auto& module : catalogue.ModList) {
    for (const TextList* names : {&module->commands, &module->types}) {
      for (const Text& name : *names) {
        auto [found, added] = entries.try_emplace(name, static_cast<uint32_t>(names_.size()));
        if (added) {
          names_.push_back(name);
          declaring_.emplace_back();
        }
        std::vector<modtype*>& declaring = declaring_[found->second];
        if (declaring.empty() || declaring.back() != module.get()) {
          declaring.push_back(module.get());
        }
      }
    }
  }
  // At most half full, so that probes stay short.
  size_t size = 16;
  while (size < names_.size() * 2) size *= 2;
  slots_.assign(size, Slot{});
  mask_ = size - 1;
  for (uint32_t entry = 0; entry < names_.size(); ++entry) Insert(entry, HashOf(names_[entry]));
}

void CommandIndex::Insert(uint32_t entry, size_t hash) {
  size_t at = hash & mask_;
  while (slots_[at].entry != 0) at = (at + 1) & mask_;
  slots_[at] = Slot{entry + 1, static_cast<uint32_t>(hash)};
}

std::span<modtype* const> CommandIndex::Find(TextView name) const {
  size_t hash = HashOf(name);
  for (size_t at = hash & mask_; slots_[at].entry != 0; at = (at + 1) & mask_) {
    const Slot& slot = slots_[at];
    if (slot.hash != static_cast<uint32_t>(hash)) continue;
    if (names_[slot.entry - 1] == name) return declaring_[slot.entry - 1];
  }
  return {};
}

}  // namespace vt
