// One examination: from the path of a BlitzMax source to its report on screen.
#pragma once

#include "base/text.h"

namespace vt {

struct ExamineState {
  // The file being examined, "/"-separated.
  Text MainSourcePath;
};

extern ExamineState Examine;

enum class ExamineOutcome {
  Ignored,            // empty path, or a file that is empty or unreadable
  RootFolderMissing,  // the check of the installation failed and said so
  ReportWritten,
  ReportNotWritten,   // the analysis ran but the report file could not be written
};

// Walks the source and what it includes and imports, matches its words
// against the catalogue, writes the report and shows it. An empty path, or a
// file that is empty or cannot be read, is ignored without a word.
ExamineOutcome ExamineSource(TextView path);

// Empties every per-run list and flag of an examination.
void ResetExamineRun();

}  // namespace vt
