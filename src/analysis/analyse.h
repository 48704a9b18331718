// The analysis part of one examination, from the Main file to the records'
// required and optional modules.
#pragma once

#include "analysis/rule_book.h"
#include "analysis/source_records.h"
#include "base/text.h"
#include "catalogue/module_records.h"
#include "platform/file_tree.h"

namespace vt {

class ExaminationMemo;

// Starts a fresh examination (counters, Rem flags, scan list and records),
// walks `mainPath` of `files` and what it includes and imports, collects and
// matches the words of every file and suggests loaders. With
// CauseNotes::Skip the records say nothing of why (no word places, no
// causes). The catalogue's rule set picks the rules of `rules` that apply.
// With a memo, what the last examination made of the files that have not
// changed is taken from it, and what this one makes is kept in it; the
// result is the same as without.
void AnalyseProgram(AnalysisState& analysis, const CatalogueState& catalogue, const FileTree& files,
                    TextView mainPath, CauseNotes notes = CauseNotes::Keep,
                    const RuleBook& rules = BuiltInRules(), ExaminationMemo* memo = nullptr);
// The same on the disk.
void AnalyseProgram(AnalysisState& analysis, const CatalogueState& catalogue, TextView mainPath,
                    CauseNotes notes = CauseNotes::Keep,
                    const RuleBook& rules = BuiltInRules());

}  // namespace vt
