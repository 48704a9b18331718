// The module import closure: extends every module's `imports`, in
// place, to all the modules it reaches through imports.
#pragma once

#include "catalogue/module_records.h"

namespace vt {

// For each module of ModList, in catalogue order, adds the imports of every
// entry of its own `imports`, including the entries appended while the loop
// runs. The lists come out exactly as that rule makes them; the cost is that
// of the lists it makes, and the depth of the imports is bounded by memory,
// not by the call stack.
void ExpandModuleImports(CatalogueState& catalogue);

// Appends to `list`, depth first, every entry of `module`'s imports (and,
// recursively, of theirs) that `list` does not hold yet. `module` may be null.
void AddImportsOf(const CatalogueState& catalogue, ImportList& list, const modtype* module);

}  // namespace vt
