// What one examination of a program found, as a value: made from a
// catalogue, rules and a file tree, and nothing else. The page, the text,
// the JSON and the header panel are renderings of it, made after it exists.
#pragma once

#include <vector>

#include "analysis/causes.h"
#include "analysis/rule_book.h"
#include "analysis/source_records.h"
#include "analysis/suggestion.h"
#include "catalogue/module_records.h"
#include "platform/file_tree.h"

namespace vt {

class ExaminationMemo;

// Whether the suggestion carries the reason for each line. Finding them
// costs a good share of a large program's examination, so a caller that
// shows none can do without.
enum class ReasonChoice { Give, Skip };

struct Examination {
  // What the report suggests, with the reason for each line unless they
  // were skipped.
  Suggestion suggestion;
  // What the walk reached, in order (for a Module entry the path is a module
  // name), and the line counts.
  std::vector<scanlisttype> walked;
  int32_t totalLines = 0;
  int32_t codeLines = 0;
  // Files named by Include or Import lines that could not be read.
  std::vector<WalkWarning> warnings;
  // Files that exist but could not be opened for lack of a file handle: the
  // report lists them, but misses what they hold.
  TextList filesNotRead;
  // The rules the suggestion follows.
  RuleSetKind ruleSet = RuleSetKind::Classic;
};

// Examines the program whose Main file is `mainPath` in `files` against
// `catalogue`, by the rules of `rules` whose modules are installed. With a
// memo (a process that examines again), only what changed is read again.
// A memo whose caller keeps the findings is lent `last`: what the last
// examination with it returned, if the caller still has it.
Examination ExamineProgram(const CatalogueState& catalogue, const RuleBook& rules,
                           const FileTree& files, TextView mainPath,
                           ReasonChoice reasons = ReasonChoice::Give,
                           ExaminationMemo* memo = nullptr, const Examination* last = nullptr);

// The findings of an analysis already made, with its suggestion.
Examination ExaminationOf(const AnalysisState& analysis, Suggestion suggestion);

}  // namespace vt
