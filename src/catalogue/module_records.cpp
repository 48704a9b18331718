#include "catalogue/module_records.h"

#include <algorithm>

namespace vt {

modtype* CatalogueState::CreateModule(TextView name) {
  ModList.push_back(std::make_unique<modtype>());
  modtype* module = ModList.back().get();
  module->name = name;
  // Two folders may give the same name: the first one found keeps it. Names
  // are looked up lower-cased, so a name with capitals is never found.
  byName_.try_emplace(Text(name), module);
  return module;
}

modtype* CatalogueState::FindModule(TextView name) const {
  auto found = byName_.find(Lower(name));
  return found == byName_.end() ? nullptr : found->second;
}

void CatalogueState::Clear() {
  ModList.clear();
  byName_.clear();
  CommandCount = 0;
}

bool Contains(const TextList& list, TextView entry) {
  return std::find(list.begin(), list.end(), entry) != list.end();
}

}  // namespace vt
