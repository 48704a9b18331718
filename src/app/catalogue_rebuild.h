// Learning the installation: the module folder scan as the user sees it.
#pragma once

#include "app/app_state.h"

namespace vt {

// Scans the root folder's modules into the catalogue, refreshes the status
// line, then either says that the mod folder holds no module collection or
// closes every module's imports.
void RebuildCatalogue(AppState& state);

}  // namespace vt
