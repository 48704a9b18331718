// The records of the module catalogue and of the items an examination reaches.
#pragma once

#include <memory>
#include <set>
#include <vector>

#include "base/text.h"

namespace vt {

using TextList = std::vector<Text>;

// One installed module. Creating one appends it to ModList.
class modtype {
 public:
  static modtype* Create();
  // The record whose name equals the lower-cased argument, or null.
  static modtype* FindModule(TextView name);

  uint8_t matched = 0;
  Text name;
  Text declaredName;
  TextList imports;
  TextList commands;
  // Lower-cased names of the public types; a program that names one needs the
  // module as much as one that calls a command.
  TextList types;
};

// One item an examination reached: a source file, or a module named on an
// Import line. Creating one appends it to ScanListList.
class scanlisttype {
 public:
  static scanlisttype* Create();
  void Set(TextView newPath, TextView newKind);

  Text path;
  Text kind;
};

struct CatalogueState {
  std::vector<std::unique_ptr<modtype>> ModList;
  std::vector<std::unique_ptr<scanlisttype>> ScanListList;
  modtype* CurrentModule = nullptr;
  // The sources read into CurrentModule so far, as absolute normalised paths;
  // emptied whenever a new record becomes CurrentModule.
  std::set<Text> ParsedSources;
  scanlisttype* CurrentScanEntry = nullptr;
  Text CollectionPrefix;
  int CommandCount = 0;
};

extern CatalogueState Catalogue;

// Empties the catalogue and the scan list and clears the cursors.
void ResetCatalogueState();

// True when `list` holds exactly `entry`.
bool Contains(const TextList& list, TextView entry);

}  // namespace vt
