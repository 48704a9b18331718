// Hand-made catalogue records for the analysis tests.
#pragma once

#include <initializer_list>

#include "catalogue/module_records.h"

namespace vt::testing {

// Appends a module to `catalogue` as a folder scan and its parser would leave
// it: `imports` stands for the closed import list.
inline modtype* MakeModule(CatalogueState& catalogue, TextView name, TextView declaredName,
                           std::initializer_list<const char16_t*> commands,
                           std::initializer_list<const char16_t*> imports = {}) {
  modtype* module = catalogue.CreateModule(name);
  module->declaredName = declaredName;
  for (const char16_t* command : commands) module->commands.emplace_back(command);
  for (const char16_t* import : imports) module->imports.push_back(import);
  return module;
}

}  // namespace vt::testing
