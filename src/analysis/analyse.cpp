#include "analysis/analyse.h"

#include <utility>
#include <vector>

#include "analysis/command_matcher.h"
#include "analysis/loader_rules.h"
#include "analysis/source_walker.h"

namespace vt {

void AnalyseProgram(AnalysisState& analysis, CatalogueState& catalogue, TextView mainPath,
                    CauseNotes notes, const RuleBook& rules) {
  AnalyseProgram(analysis, catalogue, DiskFileTree(), mainPath, notes, rules);
}

void AnalyseProgram(AnalysisState& analysis, CatalogueState& catalogue, const FileTree& files,
                    TextView mainPath, CauseNotes notes, const RuleBook& rules) {
  // Nothing of an earlier examination may leak into this one: an unclosed
  // Rem block would silence it.
  analysis = AnalysisState();
  analysis.Notes = notes;
  analysis.ruleSet = catalogue.ruleSet;
  analysis.Rules = &rules.For(catalogue.ruleSet);
  // A record is matched as soon as the walk has left its unit: no later
  // file feeds it. Without notes its words are then let go, so that a large
  // program never holds the words of all its files at once. Under the
  // modern rules a later file may declare a name that hides a word of an
  // earlier one, so every record waits for the end of the walk.
  CommandMatcher matcher(catalogue, notes, analysis.Rules);
  bool scoped = analysis.ruleSet == RuleSetKind::Modern;
  analysis.Scopes.KeepOnly([&matcher](TextView name) { return matcher.Declares(name); });
  std::vector<sourcemodtype*> waiting;
  auto match = [&](sourcemodtype* record) {
    if (scoped) analysis.Scopes.MarkHidden(*record);
    matcher.Match(*record);
    if (notes == CauseNotes::Skip) record->ReleaseWords();
  };
  auto finish = [&](sourcemodtype* record) {
    if (!record) return;
    if (scoped) {
      waiting.push_back(record);
    } else {
      match(record);
    }
  };
  // The units whose walk is under way, outermost first: each entry's unit
  // and its record (null when its file could not be read).
  std::vector<std::pair<size_t, sourcemodtype*>> open;
  auto leaveUntil = [&](size_t unit) {
    while (!open.empty() && open.back().first != unit) {
      finish(open.back().second);
      open.pop_back();
    }
  };
  // The command pass takes each file as the walk lists it, in that order,
  // from the lines the walk has just read; a file the walk found no handle
  // for is tried again.
  TextFileLines reread;
  LineScratch scratch;
  auto scan = [&](size_t i, const TextFileLines* lines) {
    const scanlisttype& entry = *analysis.ScanListList[i];
    analysis.CommandEntry = i;
    analysis.CommandLineBase = analysis.TotalLines;
    bool ownUnit = entry.kind != EntryKind::Include;
    if (!ownUnit || i > 0) leaveUntil(entry.unit);
    sourcemodtype* feeds = open.empty() ? nullptr : open.back().second;
    if (ownUnit) feeds = nullptr;
    sourcemodtype* made =
        lines ? ScanFileLines(analysis, entry.path, entry.kind, feeds, *lines, scratch)
              : ScanFileCommands(analysis, files, entry.path, entry.kind, feeds, reread);
    if (ownUnit) open.emplace_back(i, made);
  };
  ScanFile(analysis, files, mainPath, EntryKind::Main, scan);
  leaveUntil(static_cast<size_t>(-1));
  for (sourcemodtype* record : waiting) match(record);
  // The matcher ends here; nothing may ask it later.
  analysis.Scopes.KeepOnly(nullptr);
  SuggestLoaders(analysis, catalogue);
}

}  // namespace vt
