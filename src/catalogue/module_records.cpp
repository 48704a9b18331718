#include "catalogue/module_records.h"

#include <algorithm>

namespace vt {

bool ListIndex::Holds(const TextList& list, TextView entry) {
  return Holds(list, entry, entries_.Hash(entry));
}

bool ListIndex::Holds(const TextList& list, TextView entry, size_t hash) {
  CatchUp(list);
  return entries_.Holds(list, entry, hash);
}

size_t CatalogueState::FoldedName::operator()(TextView name) const { return FoldedHash(name); }

bool CatalogueState::FoldedName::operator()(TextView a, TextView b) const {
  return EqualFolded(a, b);
}

void ListIndex::CatchUp(const TextList& list) {
  bool refilled = &list != list_ || list.size() < indexed_ ||
                  (indexed_ > 0 && list[indexed_ - 1] != last_);
  if (refilled) {
    entries_.Clear();
    indexed_ = 0;
    list_ = &list;
  }
  if (indexed_ == list.size()) return;
  for (; indexed_ < list.size(); ++indexed_) {
    entries_.Add(indexed_, entries_.Hash(list[indexed_]));
  }
  last_ = list.back();
}

modtype* CatalogueState::CreateModule(TextView name) {
  ModList.push_back(std::make_unique<modtype>(importNames_));
  modtype* module = ModList.back().get();
  module->position = static_cast<uint32_t>(ModList.size() - 1);
  module->name = name;
  // Two folders may give the same name: the first one found keeps it. Names
  // are looked up lower-cased, so a name with capitals is never found.
  if (!HasCapitals(name)) byName_.try_emplace(Text(name), module);
  return module;
}

modtype* CatalogueState::FindModule(TextView name) const {
  auto found = byName_.find(name);
  return found == byName_.end() ? nullptr : found->second;
}

void CatalogueState::Clear() {
  ModList.clear();
  byName_.clear();
  importNames_ = std::make_shared<NamePool>();
  CommandCount = 0;
  ruleSet = RuleSetKind::Classic;
}

bool Contains(const TextList& list, TextView entry) {
  return std::find(list.begin(), list.end(), entry) != list.end();
}

}  // namespace vt
