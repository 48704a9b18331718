#include "catalogue/distribution.h"

namespace vt {

RuleSetKind DetectRuleSet(const CatalogueState& catalogue) {
  for (const auto& module : catalogue.ModList) {
    if (module->modernSource) return RuleSetKind::Modern;
  }
  return RuleSetKind::Classic;
}

void ImportEveryNamespace(CatalogueState& catalogue) {
  for (const auto& module : catalogue.ModList) {
    module->imports.clear();
    for (const Text& name : module->namedImports) module->imports.push_back(name);
  }
}

}  // namespace vt
