// The programs the window examined last, newest first, kept in a file of the
// tool's own beside vt.ini (whose one-line format stays as it is).
#pragma once

#include <vector>

#include "base/text.h"

namespace vt {

inline constexpr size_t kMostRecentPrograms = 8;

// recent.txt in `settingsFolder`.
Text RecentProgramsFile(TextView settingsFolder);

// The paths the file lists, one a line in UTF-8; none when it is missing.
std::vector<Text> ReadRecentPrograms(TextView file);

// Writes `programs` in one step; false when the file could not be written.
bool WriteRecentPrograms(TextView file, const std::vector<Text>& programs);

// Puts `program` first, once, keeping at most kMostRecentPrograms.
void RememberProgram(std::vector<Text>& programs, const Text& program);

}  // namespace vt
