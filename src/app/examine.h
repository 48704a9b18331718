// One examination: from the path of a BlitzMax source to its report on screen.
#pragma once

#include <vector>

#include "analysis/examination.h"
#include "app/app_state.h"
#include "app/pages.h"

namespace vt {

enum class ExamineOutcome {
  Ignored,            // empty path, or a file that is empty or unreadable
  RootFolderMissing,  // the check of the installation failed and said so
  ReportWritten,
  ReportNotWritten,   // the analysis ran but the report file could not be written
  ReportRefused,      // the report would have replaced a source or a module file
  Analysed,           // the analysis ran; no report was asked for
};

enum class PageChoice { Write, Skip };

// An examination of the user's program as the front ends run it: the
// findings, whether the installation could be used, and the page's fate.
struct ExaminedSource : Examination {
  ExamineOutcome outcome = ExamineOutcome::Ignored;
  // With the reason for a refusal.
  PageWrite page;
};

// Walks the source and what it includes and imports, matches its words
// against the catalogue, writes the report and shows it (never over a file
// it read nor inside the mod folder). An empty path, or a
// file that is empty or cannot be read, is ignored without a word. The
// current folder is the same afterwards. With PageChoice::Skip no report is
// written or shown. With ReasonChoice::Skip the suggestion has no reasons.
ExaminedSource ExamineSource(AppState& state, TextView path,
                             PageChoice page = PageChoice::Write,
                             ReasonChoice reasons = ReasonChoice::Give);

// ExamineSource in its two steps, for a front end that shows the scan while
// it runs. The first anchors `path` and makes it the program examined when
// it can be examined; `source` stays empty when not, and `refusal` says why.
struct SourceToExamine {
  Text source;
  ExamineOutcome refusal = ExamineOutcome::Ignored;
};
SourceToExamine CheckSourceToExamine(AppState& state, TextView path);
// The second examines what the first accepted, or hands on its refusal.
ExaminedSource ExamineCheckedSource(AppState& state, const SourceToExamine& checked,
                                    PageChoice page = PageChoice::Write,
                                    ReasonChoice reasons = ReasonChoice::Give);

// The message that names the files an examination could not read for lack
// of a file handle.
Text FilesNotReadMessage(const TextList& files);

}  // namespace vt
