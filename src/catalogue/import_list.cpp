#include "catalogue/import_list.h"

#include <algorithm>

namespace vt {

NameNumber NamePool::Number(TextView name) {
  size_t hash = numbers_.Hash(name);
  if (std::optional<NameNumber> found = Find(name, hash)) return *found;
  NameNumber number = static_cast<NameNumber>(names_.size());
  names_.emplace_back(name);
  numbers_.Add(number, hash);
  return number;
}

std::optional<NameNumber> NamePool::Find(TextView name) const {
  return Find(name, numbers_.Hash(name));
}

std::optional<NameNumber> NamePool::Find(TextView name, size_t hash) const {
  std::optional<size_t> at =
      numbers_.FindIf(hash, [&](size_t position) { return names_[position] == name; });
  if (!at) return std::nullopt;
  return static_cast<NameNumber>(*at);
}

ImportList& ImportList::operator=(const ImportList& other) {
  if (this == &other) return *this;
  if (pool_ == other.pool_) {
    numbers_ = other.numbers_;
    return *this;
  }
  assign(other.begin(), other.end());
  return *this;
}

ImportList& ImportList::operator=(const TextList& names) {
  assign(names.begin(), names.end());
  return *this;
}

bool operator==(const ImportList& list, const TextList& names) {
  return list.size() == names.size() && std::equal(list.begin(), list.end(), names.begin());
}

bool operator==(const ImportList& a, const ImportList& b) {
  if (a.Pool() == b.Pool()) return a.Numbers() == b.Numbers();
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin());
}

}  // namespace vt
