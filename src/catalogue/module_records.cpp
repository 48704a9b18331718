#include "catalogue/module_records.h"

#include <algorithm>

namespace vt {

bool ListIndex::Holds(const TextList& list, TextView entry) {
  CatchUp(list);
  return entries_.count(lowered_ ? Lower(entry) : Text(entry)) > 0;
}

void ListIndex::CatchUp(const TextList& list) {
  bool refilled = list.size() < indexed_ || (indexed_ > 0 && list[indexed_ - 1] != last_);
  if (refilled) {
    entries_.clear();
    indexed_ = 0;
  }
  if (indexed_ == list.size()) return;
  for (; indexed_ < list.size(); ++indexed_) {
    entries_.insert(lowered_ ? Lower(list[indexed_]) : list[indexed_]);
  }
  last_ = list.back();
}

modtype* CatalogueState::CreateModule(TextView name) {
  ModList.push_back(std::make_unique<modtype>(importNames_));
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
  importNames_ = std::make_shared<NamePool>();
  CommandCount = 0;
}

bool Contains(const TextList& list, TextView entry) {
  return std::find(list.begin(), list.end(), entry) != list.end();
}

}  // namespace vt
