// The analysis part of one examination, from the Main file to the records'
// required and optional modules.
#pragma once

#include "base/text.h"

namespace vt {

// Starts a fresh examination (counters, Rem flags, scan list and records),
// walks `mainPath` and what it includes and imports, collects and matches
// the words of every file and suggests loaders.
void AnalyseProgram(TextView mainPath);

}  // namespace vt
