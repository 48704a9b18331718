#include "catalogue/module_records.h"

#include <algorithm>

namespace vt {

CatalogueState Catalogue;

modtype* modtype::Create() {
  Catalogue.ModList.push_back(std::make_unique<modtype>());
  return Catalogue.ModList.back().get();
}

modtype* modtype::FindModule(TextView name) {
  Text key = Lower(name);
  for (const auto& record : Catalogue.ModList) {
    if (record->name == key) return record.get();
  }
  return nullptr;
}

scanlisttype* scanlisttype::Create() {
  Catalogue.ScanListList.push_back(std::make_unique<scanlisttype>());
  return Catalogue.ScanListList.back().get();
}

void scanlisttype::Set(TextView newPath, TextView newKind) {
  path = newPath;
  kind = newKind;
}

void ResetCatalogueState() { Catalogue = CatalogueState(); }

bool Contains(const TextList& list, TextView entry) {
  return std::find(list.begin(), list.end(), entry) != list.end();
}

}  // namespace vt
