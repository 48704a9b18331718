#include "analysis/command_index.h"

namespace vt {

CommandIndex::CommandIndex(const CatalogueState& catalogue, IndexedNames which) {
  // Each name's modules in catalogue order, gathered as (entry, module)
  // pairs and then laid out entry by entry.
  struct Declared {
    uint32_t entry;
    modtype* module;
  };
  std::vector<Declared> declared;
  std::vector<modtype*> lastModule;
  std::vector<uint32_t> counts;
  for (const auto& module : catalogue.ModList) {
    for (const TextList* names : {&module->commands, &module->types}) {
      if (which == IndexedNames::TypesOnly && names == &module->commands) continue;
      for (const Text& name : *names) {
        size_t hash = entries_.Hash(name);
        std::optional<size_t> found = EntryOf(name, hash);
        uint32_t entry = static_cast<uint32_t>(found ? *found : lastModule.size());
        if (!found) {
          entries_.Add(entry, hash);
          names_ += name;
          nameStart_.push_back(static_cast<uint32_t>(names_.size()));
          lastModule.push_back(nullptr);
          counts.push_back(0);
        }
        // A module that declares a name twice is listed once.
        if (lastModule[entry] == module.get()) continue;
        lastModule[entry] = module.get();
        ++counts[entry];
        declared.push_back({entry, module.get()});
      }
    }
  }
  first_.assign(counts.size() + 1, 0);
  for (size_t entry = 0; entry < counts.size(); ++entry) {
    first_[entry + 1] = first_[entry] + counts[entry];
  }
  // The pairs are in catalogue order, so each entry's modules stay in it.
  positions_.resize(declared.size());
  std::vector<uint32_t> next(first_.begin(), first_.end() - 1);
  for (const Declared& pair : declared) positions_[next[pair.entry]++] = pair.module->position;
}

std::optional<size_t> CommandIndex::EntryOf(TextView name, size_t hash) const {
  return entries_.FindIf(hash, [&](size_t entry) { return NameOf(entry) == name; });
}

std::span<const uint32_t> CommandIndex::Find(TextView name, size_t hash) const {
  std::optional<size_t> entry = EntryOf(name, hash);
  if (!entry) return {};
  return std::span<const uint32_t>(positions_.data() + first_[*entry],
                                   first_[*entry + 1] - first_[*entry]);
}

}  // namespace vt
