// One examination: from the path of a BlitzMax source to its report on screen.
#pragma once

#include <vector>

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
  Analysed,           // the analysis ran; no report was asked for
};

enum class PageChoice { Write, Skip };

// Whether the suggestion carries the reason for each line. Finding them
// costs a good share of a large program's examination, so a caller that
// shows none can do without.
enum class ReasonChoice { Give, Skip };

struct Examination {
  ExamineOutcome outcome = ExamineOutcome::Ignored;
  // What the report suggests, with the reason for each line unless they
  // were skipped; empty unless the analysis ran.
  Suggestion suggestion;
  // What the walk reached, in order (for a Module entry the path is a module
  // name), and the line counts.
  std::vector<scanlisttype> walked;
  int32_t totalLines = 0;
  int32_t codeLines = 0;
  // Files named by Include or Import lines that could not be read.
  std::vector<WalkWarning> warnings;
  // The page's fate, with the reason for a refusal.
  PageWrite page;
  // Files that exist but could not be opened for lack of a file handle: the
  // report lists them, but misses what they hold.
  TextList filesNotRead;
  // The rules the suggestion follows.
  RuleSetKind ruleSet = RuleSetKind::Classic;
};

// Walks the source and what it includes and imports, matches its words
// against the catalogue, writes the report and shows it (never over a file
// it read nor inside the mod folder). An empty path, or a
// file that is empty or cannot be read, is ignored without a word. The
// current folder is the same afterwards. With PageChoice::Skip no report is
// written or shown. With ReasonChoice::Skip the suggestion has no reasons.
Examination ExamineSource(AppState& state, TextView path,
                          PageChoice page = PageChoice::Write,
                          ReasonChoice reasons = ReasonChoice::Give);

// The message that names the files an examination could not read for lack
// of a file handle.
Text FilesNotReadMessage(const TextList& files);

}  // namespace vt
