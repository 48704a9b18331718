// One examination: from the path of a BlitzMax source to its report on screen.
#pragma once

#include "base/text.h"

namespace vt {

struct ExamineState {
  // The file being examined, "/"-separated.
  Text MainSourcePath;
};

extern ExamineState Examine;

// Walks the source and what it includes and imports, matches its words
// against the catalogue, writes results.htm and shows it. An empty path, or a
// file that is empty or cannot be read, is ignored.
void ExamineSource(TextView path);

}  // namespace vt
