#include "catalogue/import_closure.h"

namespace vt {

void ExpandModuleImports() {
  for (size_t m = 0; m < Catalogue.ModList.size(); ++m) {
    Catalogue.CurrentModule = Catalogue.ModList[m].get();
    TextList& imports = Catalogue.CurrentModule->imports;
    // By index: the list grows while it is walked, and the new entries are
    // visited too.
    for (size_t i = 0; i < imports.size(); ++i) {
      Text entry = imports[i];
      AddImportsOf(imports, modtype::FindModule(entry));
    }
  }
}

void AddImportsOf(TextList& list, modtype* module) {
  if (!module || module->imports.empty()) return;
  // `list` may be `module->imports` itself (a module that reaches itself), so
  // both are walked by index and every entry is copied before the list grows.
  for (size_t i = 0; i < module->imports.size(); ++i) {
    Text entry = module->imports[i];
    if (Contains(list, entry)) continue;
    list.push_back(entry);
    AddImportsOf(list, modtype::FindModule(entry));
  }
}

}  // namespace vt
