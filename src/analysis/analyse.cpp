#include "analysis/analyse.h"

#include "analysis/program_pass.h"
#include "analysis/source_walker.h"

namespace vt {

void AnalyseProgram(AnalysisState& analysis, const CatalogueState& catalogue, TextView mainPath,
                    CauseNotes notes, const RuleBook& rules) {
  AnalyseProgram(analysis, catalogue, DiskFileTree(), mainPath, notes, rules, nullptr);
}

void AnalyseProgram(AnalysisState& analysis, const CatalogueState& catalogue, const FileTree& files,
                    TextView mainPath, CauseNotes notes, const RuleBook& rules,
                    ExaminationMemo* memo) {
  // Nothing of an earlier examination may leak into this one: an unclosed
  // Rem block would silence it.
  analysis = AnalysisState();
  analysis.Notes = notes;
  analysis.ruleSet = catalogue.ruleSet;
  analysis.Rules = &rules.For(catalogue.ruleSet);
  ProgramPass pass(analysis, catalogue, files, memo);
  ScanFile(analysis, files, mainPath, EntryKind::Main,
           [&pass](size_t i, TextFileLines* lines) { pass.Scan(i, lines); });
  pass.Finish();
}

}  // namespace vt
