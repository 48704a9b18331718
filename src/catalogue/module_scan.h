// The module folder scan: builds ModList from the two folder levels
// under the root folder's "mod", in the file system's own listing order.
#pragma once

#include <vector>

#include "base/text.h"
#include "catalogue/module_records.h"
#include "platform/file_tree.h"

namespace vt {

// The full paths of the parts of the installation that a scan found but
// could not read: the mod folder, collections and module folders that could
// not be entered or listed, main sources that exist but cannot be opened.
// Each is skipped; the list lets a caller say so.
using UnreadableParts = std::vector<Text>;

// Rebuilds the catalogue: clears ModList, walks every module collection of
// `rootFolder` + "/mod" (a relative root from the current folder) and sets
// CommandCount. True when at least one collection was found; the caller then
// closes the imports. What could not be read is added to `unreadable` when
// given. Each collection and module folder is one record per module folder
// in it, named by the collection's prefix and the folder's name without
// ".mod"; only folders whose names end in ".mod" count.
bool ScanModFolder(CatalogueState& catalogue, const FileTree& files, TextView rootFolder,
                   UnreadableParts* unreadable = nullptr);
// The same on the disk.
bool ScanModFolder(CatalogueState& catalogue, TextView rootFolder,
                   UnreadableParts* unreadable = nullptr);

// The message shown when the mod folder holds no module collection.
inline constexpr TextView kNoModuleCollectionsMessage =
    u"No subdirectories to scan in MOD folder.";

}  // namespace vt
