// The module folder scan: builds ModList from the two folder levels
// under the root folder's "mod", in the file system's own listing order.
#pragma once

#include <vector>

#include "base/text.h"
#include "catalogue/module_records.h"

namespace vt {

// The full paths of the parts of the installation that a scan found but
// could not read: the mod folder, collections and module folders that could
// not be entered or listed, main sources that exist but cannot be opened.
// Each is skipped; the list lets a caller say so.
using UnreadableParts = std::vector<Text>;

// Rebuilds the catalogue: clears ModList, walks every module collection of
// `rootFolder` + "/mod" and sets CommandCount. True when at least one
// collection was found; the caller then closes the imports. Leaves the
// current folder at `rootFolder` + "/mod" (unchanged when that folder cannot
// be entered). What could not be read is added to `unreadable` when given.
bool ScanModFolder(CatalogueState& catalogue, TextView rootFolder,
                   UnreadableParts* unreadable = nullptr);

// Walks the collection folder `name` (relative to the current folder): one
// record for each module folder in it, named `collectionPrefix` + the
// folder's name without ".mod". A folder that cannot be entered is skipped;
// the current folder is the same afterwards.
void ScanModuleCollection(CatalogueState& catalogue, TextView name,
                          TextView collectionPrefix, UnreadableParts* unreadable = nullptr);

// Creates the record of the module folder `name` (relative to the current
// folder), named `collectionPrefix` + the folder's name without ".mod", and
// parses its main source into it. A folder that cannot be entered keeps its
// empty record; the current folder is the same afterwards.
void ScanModuleFolder(CatalogueState& catalogue, TextView name, TextView collectionPrefix,
                      UnreadableParts* unreadable = nullptr);

// Whether the entry `name` of the current folder is a folder that counts as a
// module collection or module folder: not "." or "..", ending in ".mod"
// (case-sensitive).
bool QualifiesAsModuleFolder(TextView name);

// The message shown when the mod folder holds no module collection.
inline constexpr TextView kNoModuleCollectionsMessage =
    u"No subdirectories to scan in MOD folder.";

}  // namespace vt
