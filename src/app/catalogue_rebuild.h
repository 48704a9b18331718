// Learning the installation: the module folder scan as the user sees it.
#pragma once

#include "app/app_state.h"
#include "catalogue/module_scan.h"

namespace vt {

// Scans the root folder's modules into the catalogue, refreshes the status
// line, then either says that the mod folder holds no module collection or
// picks the rule set (the user's choice, else the one the installation
// calls for) and closes every module's imports under it. Returns the parts of the installation that
// could not be read (the window passes over them; the command line warns).
UnreadableParts RebuildCatalogue(AppState& state);

// Whether the root folder's mod folder can be listed.
bool ModFolderReadable(const SettingsState& settings);

}  // namespace vt
