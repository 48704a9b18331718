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

namespace {

// The command pass and the matching, fed by the walk one file at a time.
// A record is matched as soon as the walk has left its unit: no later file
// feeds it. Without notes its words are then let go, so that a large
// program never holds the words of all its files at once. Under the modern
// rules a later file may declare a name that hides a word of an earlier one,
// so every record waits for the end of the walk.
class ProgramPass {
 public:
  ProgramPass(AnalysisState& analysis, CatalogueState& catalogue, const FileTree& files)
      : analysis_(analysis),
        files_(files),
        matcher_(catalogue, analysis.Notes, analysis.Rules),
        scoped_(analysis.ruleSet == RuleSetKind::Modern) {
    analysis_.Scopes.KeepOnly([this](TextView name) { return matcher_.Declares(name); });
  }

  // The walk lists the file of entry `i`, with the lines it read (null when
  // it found no handle: the file is tried again).
  void Scan(size_t i, const TextFileLines* lines) {
    const scanlisttype& entry = *analysis_.ScanListList[i];
    analysis_.CommandEntry = i;
    analysis_.CommandLineBase = analysis_.TotalLines;
    bool ownUnit = entry.kind != EntryKind::Include;
    if (!ownUnit || i > 0) LeaveUntil(entry.unit);
    sourcemodtype* feeds = open_.empty() || ownUnit ? nullptr : open_.back().second;
    sourcemodtype* made =
        lines ? ScanFileLines(analysis_, entry.path, entry.kind, feeds, *lines, scratch_)
              : ScanFileCommands(analysis_, files_, entry.path, entry.kind, feeds, reread_);
    if (ownUnit) open_.emplace_back(i, made);
  }

  // After the walk: every record is matched; the matcher ends here, and
  // nothing may ask it later.
  void Finish() {
    LeaveUntil(static_cast<size_t>(-1));
    for (sourcemodtype* record : waiting_) Match(record);
    analysis_.Scopes.KeepOnly(nullptr);
  }

 private:
  void Match(sourcemodtype* record) {
    if (scoped_) analysis_.Scopes.MarkHidden(*record);
    matcher_.Match(*record);
    if (analysis_.Notes == CauseNotes::Skip) record->ReleaseWords();
  }
  void Done(sourcemodtype* record) {
    if (!record) return;
    if (scoped_) {
      waiting_.push_back(record);
    } else {
      Match(record);
    }
  }
  void LeaveUntil(size_t unit) {
    while (!open_.empty() && open_.back().first != unit) {
      Done(open_.back().second);
      open_.pop_back();
    }
  }

  AnalysisState& analysis_;
  const FileTree& files_;
  CommandMatcher matcher_;
  bool scoped_;
  std::vector<sourcemodtype*> waiting_;
  // The units whose walk is under way, outermost first: each entry's unit
  // and its record (null when its file could not be read).
  std::vector<std::pair<size_t, sourcemodtype*>> open_;
  // Rooms the files of the pass share.
  TextFileLines reread_;
  LineScratch scratch_;
};

}  // namespace

void AnalyseProgram(AnalysisState& analysis, CatalogueState& catalogue, const FileTree& files,
                    TextView mainPath, CauseNotes notes, const RuleBook& rules) {
  // Nothing of an earlier examination may leak into this one: an unclosed
  // Rem block would silence it.
  analysis = AnalysisState();
  analysis.Notes = notes;
  analysis.ruleSet = catalogue.ruleSet;
  analysis.Rules = &rules.For(catalogue.ruleSet);
  ProgramPass pass(analysis, catalogue, files);
  ScanFile(analysis, files, mainPath, EntryKind::Main,
           [&pass](size_t i, const TextFileLines* lines) { pass.Scan(i, lines); });
  pass.Finish();
  SuggestLoaders(analysis, catalogue);
}

}  // namespace vt
