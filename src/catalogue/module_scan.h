// The module folder scan: builds ModList from the two folder levels
// under the root folder's "mod", in the file system's own listing order.
#pragma once

#include "base/text.h"
#include "catalogue/module_records.h"

namespace vt {

// Rebuilds the catalogue: clears ModList, walks every module collection of
// `rootFolder` + "/mod" and sets CommandCount. True when at least one
// collection was found; the caller then closes the imports. Leaves the
// current folder at `rootFolder` + "/mod" (unchanged when that folder cannot
// be entered).
bool ScanModFolder(CatalogueState& catalogue, TextView rootFolder);

// Walks the collection folder `name` (relative to the current folder): one
// record for each module folder in it, named `collectionPrefix` + the
// folder's name without ".mod". A folder that cannot be entered is skipped;
// the current folder is the same afterwards.
void ScanModuleCollection(CatalogueState& catalogue, TextView name,
                          TextView collectionPrefix);

// Creates the record of the module folder `name` (relative to the current
// folder), named `collectionPrefix` + the folder's name without ".mod", and
// parses its main source into it. A folder that cannot be entered keeps its
// empty record; the current folder is the same afterwards.
void ScanModuleFolder(CatalogueState& catalogue, TextView name, TextView collectionPrefix);

// Whether the entry `name` of the current folder is a folder that counts as a
// module collection or module folder: not "." or "..", ending in ".mod"
// (case-sensitive).
bool QualifiesAsModuleFolder(TextView name);

// The message shown when the mod folder holds no module collection.
inline constexpr TextView kNoModuleCollectionsMessage =
    u"No subdirectories to scan in MOD folder.";

}  // namespace vt
