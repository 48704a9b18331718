// One examination: from the path of a BlitzMax source to its report on screen.
#pragma once

#include "analysis/suggestion.h"
#include "app/app_state.h"
#include "app/pages.h"

namespace vt {

enum class ExamineOutcome {
  Ignored,            // empty path, or a file that is empty or unreadable
  RootFolderMissing,  // the check of the installation failed and said so
  ReportWritten,
  ReportNotWritten,   // the analysis ran but the report file could not be written
  ReportRefused,      // the report would have replaced a source or a module file
};

struct Examination {
  ExamineOutcome outcome = ExamineOutcome::Ignored;
  // What the report suggests; empty unless the analysis ran.
  Suggestion suggestion;
  // The page's fate, with the reason for a refusal.
  PageWrite page;
};

// Walks the source and what it includes and imports, matches its words
// against the catalogue, writes the report and shows it (never over a file
// it read nor inside the mod folder). An empty path, or a
// file that is empty or cannot be read, is ignored without a word. The
// current folder is the same afterwards.
Examination ExamineSource(AppState& state, TextView path);

}  // namespace vt
