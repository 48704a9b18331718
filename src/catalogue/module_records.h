// The records of the module catalogue.
#pragma once

#include <memory>
#include <unordered_map>
#include <vector>

#include "base/text.h"

namespace vt {

using TextList = std::vector<Text>;

// One installed module.
class modtype {
 public:
  uint8_t matched = 0;
  Text name;
  Text declaredName;
  TextList imports;
  TextList commands;
  // Lower-cased names of the public types; a program that names one needs the
  // module as much as one that calls a command.
  TextList types;
};

// The catalogue of one installation, in the order the scan found the modules.
struct CatalogueState {
  std::vector<std::unique_ptr<modtype>> ModList;
  int CommandCount = 0;

  // Appends a record named `name` (a lower-case folder name) to ModList.
  modtype* CreateModule(TextView name);
  // The first record whose name equals the lower-cased argument, or null.
  modtype* FindModule(TextView name) const;
  // Empties the catalogue.
  void Clear();

 private:
  // Name to the first record of that name in ModList order.
  std::unordered_map<Text, modtype*> byName_;
};

// True when `list` holds exactly `entry`.
bool Contains(const TextList& list, TextView entry);

}  // namespace vt
