// The module folder scan: builds ModList from the two folder levels
// under RootFolder + "/mod", in the file system's own listing order.
#pragma once

#include "base/text.h"

namespace vt {

// Rebuilds the catalogue: clears ModList, walks every module collection of
// RootFolder + "/mod", sets CommandCount, refreshes the status line, then
// either shows "No subdirectories to scan in MOD folder." (no collection
// found) or closes every module's imports. Leaves the current folder at
// RootFolder + "/mod" (unchanged when that folder cannot be entered).
void ScanModFolder();

// Walks the collection folder `name` (relative to the current folder): one
// record for each module folder in it. A folder that cannot be entered is
// skipped; the current folder is the same afterwards.
void ScanModuleCollection(TextView name);

// Creates the record of the module folder `name` (relative to the current
// folder), named CollectionPrefix + the folder's name without ".mod", and
// parses its main source into it. A folder that cannot be entered keeps its
// empty record; the current folder is the same afterwards.
void ScanModuleFolder(TextView name);

// Whether the entry `name` of the current folder is a folder that counts as a
// module collection or module folder: not "." or "..", ending in ".mod"
// (case-sensitive).
bool QualifiesAsModuleFolder(TextView name);

// The message shown when the mod folder holds no module collection.
inline constexpr TextView kNoModuleCollectionsMessage =
    u"No subdirectories to scan in MOD folder.";

}  // namespace vt
