#include "analysis/examination.h"

#include <iterator>
#include <utility>

#include "analysis/analyse.h"
#include "analysis/examination_memo.h"
#include "analysis/reasons.h"

namespace vt {

namespace {

// The examination of `analysis`, all but the files walked.
Examination UnwalkedOf(const AnalysisState& analysis, Suggestion suggestion) {
  Examination result;
  result.suggestion = std::move(suggestion);
  result.totalLines = analysis.TotalLines;
  result.codeLines = analysis.CodeLines;
  result.warnings = analysis.Warnings;
  result.filesNotRead = analysis.FilesNotRead;
  result.ruleSet = analysis.ruleSet;
  return result;
}

}  // namespace

Examination ExaminationOf(const AnalysisState& analysis, Suggestion suggestion) {
  Examination result = UnwalkedOf(analysis, std::move(suggestion));
  result.walked.assign(analysis.ScanListList.begin(), analysis.ScanListList.end());
  return result;
}

Examination ExamineProgram(const CatalogueState& catalogue, const RuleBook& rules,
                           const FileTree& files, TextView mainPath, ReasonChoice reasons,
                           ExaminationMemo* memo, const Examination* last) {
  bool explain = reasons == ReasonChoice::Give;
  // Only the rules whose modules are installed act; the analysis points
  // into these while it lasts.
  RuleBook installed = InstalledRules(rules, catalogue);
  AnalysisState analysis;
  AnalyseProgram(analysis, catalogue, files, mainPath,
                 explain ? CauseNotes::Keep : CauseNotes::Skip, installed, memo);
  // Nothing changed since the findings were made: they stand, as long as
  // the walk met the same unreadable files.
  if (const Examination* same = memo ? memo->UnchangedFindings(reasons, last) : nullptr) {
    if (same->warnings == analysis.Warnings && same->filesNotRead == analysis.FilesNotRead) {
      return *same;
    }
  }
  // Without an explanation nothing reads the records' lists again.
  Suggestion suggestion = explain ? SuggestFrameworks(analysis) : TakeFrameworks(analysis);
  if (explain) {
    std::optional<ExplainedBefore> before = memo ? memo->LastExplained(last) : std::nullopt;
    ExplainSuggestion(analysis, suggestion, before ? &*before : nullptr);
  }
  // The entries move rather than copy: a program with many Import lines
  // walks a hundred thousand, and nothing reads them here again.
  Examination result = UnwalkedOf(analysis, std::move(suggestion));
  result.walked.assign(std::make_move_iterator(analysis.ScanListList.begin()),
                       std::make_move_iterator(analysis.ScanListList.end()));
  analysis.ScanListList.clear();
  if (memo) memo->KeepFindings(result, reasons, analysis);
  return result;
}

}  // namespace vt
