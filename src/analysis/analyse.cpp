#include "analysis/analyse.h"

#include "analysis/command_matcher.h"
#include "analysis/loader_rules.h"
#include "analysis/source_walker.h"

namespace vt {

void AnalyseProgram(AnalysisState& analysis, CatalogueState& catalogue, TextView mainPath,
                    CauseNotes notes) {
  // Nothing of an earlier examination may leak into this one: an unclosed
  // Rem block would silence it.
  analysis = AnalysisState();
  analysis.Notes = notes;
  ScanFile(analysis, mainPath, u"Main");
  sourcemodtype* current = nullptr;
  for (size_t i = 0; i < analysis.ScanListList.size(); ++i) {
    const scanlisttype& entry = *analysis.ScanListList[i];
    analysis.CommandEntry = i;
    analysis.CommandLineBase = analysis.TotalLines;
    current = ScanFileCommands(analysis, entry.path, entry.kind, current);
  }
  MatchCommands(analysis, catalogue);
  SuggestLoaders(analysis);
}

}  // namespace vt
