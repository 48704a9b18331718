// One examination: from the path of a BlitzMax source to its report on screen.
#pragma once

#include "analysis/suggestion.h"
#include "app/app_state.h"

namespace vt {

enum class ExamineOutcome {
  Ignored,            // empty path, or a file that is empty or unreadable
  RootFolderMissing,  // the check of the installation failed and said so
  ReportWritten,
  ReportNotWritten,   // the analysis ran but the report file could not be written
};

struct Examination {
  ExamineOutcome outcome = ExamineOutcome::Ignored;
  // What the report suggests; empty unless the analysis ran.
  Suggestion suggestion;
  // Files that exist but could not be opened for lack of a file handle: the
  // report lists them, but misses what they hold.
  TextList filesNotRead;
};

// Walks the source and what it includes and imports, matches its words
// against the catalogue, writes the report and shows it. An empty path, or a
// file that is empty or cannot be read, is ignored without a word. The
// current folder is the same afterwards.
Examination ExamineSource(AppState& state, TextView path);

// The message that names the files an examination could not read for lack
// of a file handle.
Text FilesNotReadMessage(const TextList& files);

}  // namespace vt
