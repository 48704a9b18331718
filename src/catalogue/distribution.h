// Which BlitzMax distribution an installation is, as far as the rules care:
// the classic one, or the modern one whose sources declare structs,
// interfaces and enums and import modules of every namespace.
#pragma once

#include "catalogue/module_records.h"

namespace vt {

// Modern when any module's sources declare what only the modern
// distribution has (a Struct, Interface or Enum block, or a "?bmxng"
// section); classic otherwise.
RuleSetKind DetectRuleSet(const CatalogueState& catalogue);

// Makes every module import the modules its sources name, of every
// namespace, rather than those of brl and pub alone. Done before the
// imports are closed.
void ImportEveryNamespace(CatalogueState& catalogue);

}  // namespace vt
