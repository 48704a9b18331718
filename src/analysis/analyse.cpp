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
  // A record is matched as soon as the next one starts: later files never
  // feed it. Without notes its words are then let go, so that a large
  // program never holds the words of all its files at once.
  CommandMatcher matcher(catalogue, notes);
  auto finish = [&](sourcemodtype* record) {
    if (!record) return;
    matcher.Match(*record);
    if (notes == CauseNotes::Skip) record->ReleaseWords();
  };
  sourcemodtype* current = nullptr;
  TextFileLines file;
  for (size_t i = 0; i < analysis.ScanListList.size(); ++i) {
    const scanlisttype& entry = *analysis.ScanListList[i];
    analysis.CommandEntry = i;
    analysis.CommandLineBase = analysis.TotalLines;
    sourcemodtype* next = ScanFileCommands(analysis, entry.path, entry.kind, current, file);
    if (next != current) finish(current);
    current = next;
  }
  finish(current);
  SuggestLoaders(analysis);
}

}  // namespace vt
