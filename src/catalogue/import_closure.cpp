#include "catalogue/import_closure.h"

namespace vt {

void ExpandModuleImports(CatalogueState& catalogue) {
  for (const auto& module : catalogue.ModList) {
    TextList& imports = module->imports;
    // By index: the list grows while it is walked, and the new entries are
    // visited too.
    for (size_t i = 0; i < imports.size(); ++i) {
      Text entry = imports[i];
      AddImportsOf(catalogue, imports, catalogue.FindModule(entry));
    }
  }
}

void AddImportsOf(const CatalogueState& catalogue, TextList& list, const modtype* module) {
  if (!module || module->imports.empty()) return;
  // `list` may be `module->imports` itself (a module that reaches itself), so
  // both are walked by index and every entry is copied before the list grows.
  for (size_t i = 0; i < module->imports.size(); ++i) {
    Text entry = module->imports[i];
    if (Contains(list, entry)) continue;
    list.push_back(entry);
    AddImportsOf(catalogue, list, catalogue.FindModule(entry));
  }
}

}  // namespace vt
