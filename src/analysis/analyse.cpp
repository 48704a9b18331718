#include "analysis/analyse.h"

#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "analysis/command_matcher.h"
#include "analysis/command_pass.h"
#include "analysis/examination_memo.h"
#include "analysis/loader_rules.h"
#include "analysis/source_walker.h"

namespace vt {

void AnalyseProgram(AnalysisState& analysis, CatalogueState& catalogue, TextView mainPath,
                    CauseNotes notes, const RuleBook& rules) {
  AnalyseProgram(analysis, catalogue, DiskFileTree(), mainPath, notes, rules, nullptr);
}

namespace {

size_t BytesHash(const std::string& bytes) { return std::hash<std::string>{}(bytes); }

// The command pass and the matching, fed by the walk one file at a time.
// A record is matched as soon as the walk has left its unit: no later file
// feeds it. Without notes its words are then let go, so that a large
// program never holds the words of all its files at once. Under the modern
// rules a later file may declare a name that hides a word of an earlier one,
// so every record waits for the end of the walk.
//
// With a memo, a stretch of the walk whose files and starting state are
// the same as last time is not read again: the pass holds back while the
// files agree, and reads the stretch from its start once one differs.
class ProgramPass {
 public:
  ProgramPass(AnalysisState& analysis, CatalogueState& catalogue, const FileTree& files,
              ExaminationMemo* memo)
      : analysis_(analysis),
        catalogue_(catalogue),
        files_(files),
        matcher_(catalogue, analysis.Notes, analysis.Rules),
        scoped_(analysis.ruleSet == RuleSetKind::Modern),
        memo_(memo) {
    pass_.scopes.KeepOnly([this](TextView name) { return matcher_.Declares(name); });
    if (memo_) memo_->Fit(catalogue, analysis.ruleSet, *analysis.Rules, analysis.Notes);
  }

  // The walk lists the file of entry `i`, with the lines it read (null when
  // it found no handle: the file is tried again).
  void Scan(size_t i, const TextFileLines* lines) {
    const scanlisttype& entry = *analysis_.ScanListList[i];
    bool ownUnit = entry.kind != EntryKind::Include;
    bool continues = !ownUnit && stretch_.open && stretch_.unit == entry.unit;
    if (!continues) EndStretch();
    if (!ownUnit || i > 0) LeaveUntil(entry.unit);
    if (!continues) StartStretch(i, entry);
    AddFile(i, lines);
  }

  // After the walk: every record is matched; the matcher ends here, and
  // nothing may ask it later.
  void Finish() {
    EndStretch();
    LeaveUntil(kNone);
    if (scoped_) declaredPrint_ = pass_.scopes.Fingerprint();
    for (sourcemodtype* record : waiting_) Match(record);
    pass_.scopes.KeepOnly(nullptr);
    if (memo_) memo_->Replace(std::move(kept_), reused_);
  }

 private:
  static constexpr size_t kNone = static_cast<size_t>(-1);

  // The files of the stretch under way and what it started from.
  struct Stretch {
    bool open = false;
    size_t unit = kNone;  // whose record it feeds
    sourcemodtype* feeds = nullptr;  // the record it goes on feeding
    std::vector<FileStamp> files;
    // The last examination's stretch from the same entry, while every file
    // so far agrees with it and the pass holds back.
    std::unique_ptr<StretchMemo> candidate;
    bool read = false;      // the pass has read its files
    bool keepable = false;  // a memo may keep it
    bool remIn = false;
    size_t typesIn = 0;
    // The lines its files' command pass counted (the walk counts directive
    // lines as code too, as it goes).
    int32_t totalLines = 0;
    int32_t codeLines = 0;
    sourcemodtype* record = nullptr;
    std::vector<Text> globals;
  };
  // A record's ties to the memo.
  struct RecordTies {
    // Every stretch that fed it came from the memo.
    bool asBefore = false;
    // The memo of the last stretch that fed it, where its match is kept.
    StretchMemo* last = nullptr;
    // While it is as before: the stretch whose record it is, not yet
    // copied in.
    StretchMemo* pending = nullptr;
    // Its place in the examination's records.
    size_t index = 0;
  };

  bool UnitOpen(size_t unit) const {
    for (const auto& open : open_) {
      if (open.first == unit) return true;
    }
    return false;
  }

  void StartStretch(size_t i, const scanlisttype& entry) {
    stretch_ = Stretch();
    stretch_.open = true;
    stretch_.keepable = memo_ != nullptr;
    stretch_.remIn = pass_.inRem;
    stretch_.typesIn = pass_.scopes.TypeCount();
    if (entry.kind != EntryKind::Include) {
      stretch_.unit = i;
      open_.emplace_back(i, nullptr);
    } else if (UnitOpen(entry.unit)) {
      stretch_.unit = entry.unit;
      stretch_.feeds = open_.back().second;
    }
    if (memo_) TakeCandidate(i);
  }

  // The memo's stretch from entry `i`, when it started as this one does.
  void TakeCandidate(size_t i) {
    std::unique_ptr<StretchMemo> candidate = memo_->Take(i);
    if (!candidate || candidate->remIn != stretch_.remIn ||
        candidate->typesIn != stretch_.typesIn) {
      return;
    }
    std::optional<size_t> record;
    if (stretch_.unit != kNone) record = stretch_.unit;
    if (candidate->recordEntry != record) return;
    // Going on with a record that changed changes what the stretch leaves.
    if (stretch_.feeds && !ties_[stretch_.feeds].asBefore) return;
    stretch_.candidate = std::move(candidate);
  }

  void AddFile(size_t i, const TextFileLines* lines) {
    const scanlisttype& entry = *analysis_.ScanListList[i];
    FileStamp stamp{i, entry.path, entry.kind};
    if (lines) {
      stamp.size = lines->bytes.size();
      stamp.hash = BytesHash(lines->bytes);
    } else {
      stretch_.keepable = false;
    }
    size_t k = stretch_.files.size();
    stretch_.files.push_back(stamp);
    if (!stretch_.read) {
      const StretchMemo* candidate = stretch_.candidate.get();
      if (lines && candidate && k < candidate->files.size() && candidate->files[k] == stamp) {
        return;
      }
      StartReading(k);
    }
    ReadFile(k, lines);
  }

  // The pass reads the stretch from its start: the first `k` files again.
  void StartReading(size_t k) {
    stretch_.read = true;
    stretch_.candidate.reset();
    if (memo_ && stretch_.feeds) {
      RecordTies& ties = ties_[stretch_.feeds];
      if (ties.pending) *stretch_.feeds = *ties.pending->after;
      ties = {false, nullptr, nullptr, ties.index};
    }
    if (stretch_.keepable) pass_.scopes.NoteGlobalsInto(&stretch_.globals);
    for (size_t j = 0; j < k; ++j) {
      ReadFile(j, nullptr);
      FileStamp& stamp = stretch_.files[j];
      if (reread_.outcome != ReadOutcome::Read) {
        stretch_.keepable = false;
        continue;
      }
      stamp.size = reread_.bytes.size();
      stamp.hash = BytesHash(reread_.bytes);
    }
  }

  // The command pass over file `k` of the stretch, with `lines` or read
  // again when null.
  void ReadFile(size_t k, const TextFileLines* lines) {
    const FileStamp& stamp = stretch_.files[k];
    pass_.entry = stamp.entry;
    pass_.lineBase = analysis_.TotalLines;
    sourcemodtype* feeds = k == 0 ? stretch_.feeds : stretch_.record;
    int32_t codeBefore = analysis_.CodeLines;
    sourcemodtype* made =
        lines ? ScanFileLines(analysis_, pass_, stamp.path, stamp.kind, feeds, *lines)
              : ScanFileCommands(analysis_, pass_, files_, stamp.path, stamp.kind, feeds, reread_);
    if (k == 0) stretch_.record = made;
    stretch_.totalLines += analysis_.TotalLines - pass_.lineBase;
    stretch_.codeLines += analysis_.CodeLines - codeBefore;
  }

  void EndStretch() {
    if (!stretch_.open) return;
    stretch_.open = false;
    if (!stretch_.read && stretch_.files.size() == stretch_.candidate->files.size()) {
      Reuse();
    } else {
      if (!stretch_.read) StartReading(stretch_.files.size());
      pass_.scopes.NoteGlobalsInto(nullptr);
      Keep();
    }
    if (stretch_.files[0].kind != EntryKind::Include) open_.back().second = stretch_.record;
  }

  // The stretch as last time: what its files add, without reading them.
  void Reuse() {
    std::unique_ptr<StretchMemo> memo = std::move(stretch_.candidate);
    analysis_.TotalLines += memo->totalLines;
    analysis_.CodeLines += memo->codeLines;
    pass_.inRem = memo->remOut;
    pass_.scopes.DeclareAgain(memo->declared);
    if (memo->after) {
      size_t index = stretch_.feeds ? ties_[stretch_.feeds].index : analysis_.SourceModList.size();
      stretch_.record = stretch_.feeds ? stretch_.feeds : analysis_.NewSourceRecord();
      ties_[stretch_.record] = {true, memo.get(), memo.get(), index};
    }
    ++reused_;
    kept_[stretch_.files[0].entry] = std::move(memo);
  }

  // The stretch as read, for the next examination.
  void Keep() {
    if (!memo_) return;
    size_t index = 0;
    if (stretch_.record) {
      auto known = ties_.find(stretch_.record);
      index = known != ties_.end() ? known->second.index : analysis_.SourceModList.size() - 1;
    }
    if (!stretch_.keepable) {
      if (stretch_.record) ties_[stretch_.record] = {false, nullptr, nullptr, index};
      return;
    }
    auto memo = std::make_unique<StretchMemo>();
    memo->files = stretch_.files;
    memo->remIn = stretch_.remIn;
    memo->typesIn = stretch_.typesIn;
    memo->remOut = pass_.inRem;
    memo->totalLines = stretch_.totalLines;
    memo->codeLines = stretch_.codeLines;
    memo->declared.types = pass_.scopes.TypesSince(stretch_.typesIn);
    memo->declared.globals = std::move(stretch_.globals);
    if (stretch_.unit != kNone) memo->recordEntry = stretch_.unit;
    if (stretch_.record) {
      memo->after = *stretch_.record;
      ties_[stretch_.record] = {false, memo.get(), nullptr, index};
    }
    kept_[stretch_.files[0].entry] = std::move(memo);
  }

  // Matches the record and offers it the loaders, or takes the memo's
  // record matched as it would be: the memo and the examination then share
  // it, with no copy.
  void Match(sourcemodtype* record) {
    auto found = ties_.find(record);
    RecordTies ties = found == ties_.end() ? RecordTies() : found->second;
    if (ties.asBefore) {
      if (ties.last->matched && ties.last->matchedUnder == declaredPrint_) {
        analysis_.SourceModList[ties.index] = ties.last->matched;
        return;
      }
      *record = *ties.last->after;
    }
    if (scoped_) pass_.scopes.MarkHidden(*record);
    matcher_.Match(*record);
    if (analysis_.Notes == CauseNotes::Skip) record->ReleaseWords();
    SuggestLoaders(*record, catalogue_, *analysis_.Rules);
    if (!ties.last) return;
    ties.last->matched = analysis_.SourceModList[ties.index];
    ties.last->matchedUnder = declaredPrint_;
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
  const CatalogueState& catalogue_;
  const FileTree& files_;
  CommandMatcher matcher_;
  bool scoped_;
  std::vector<sourcemodtype*> waiting_;
  // The units whose walk is under way, outermost first: each entry's unit
  // and its record (null when its file could not be read, or until its
  // first stretch ends).
  std::vector<std::pair<size_t, sourcemodtype*>> open_;
  CommandPassState pass_;
  // The room of the files read again.
  TextFileLines reread_;

  ExaminationMemo* memo_;
  Stretch stretch_;
  std::unordered_map<size_t, std::unique_ptr<StretchMemo>> kept_;
  std::unordered_map<const sourcemodtype*, RecordTies> ties_;
  size_t reused_ = 0;
  // The fingerprint of what the whole program declares, once it is read
  // (under the modern rules; nothing hides a word under the classic ones).
  uint64_t declaredPrint_ = 0;
};

}  // namespace

void AnalyseProgram(AnalysisState& analysis, CatalogueState& catalogue, const FileTree& files,
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
           [&pass](size_t i, const TextFileLines* lines) { pass.Scan(i, lines); });
  pass.Finish();
}

}  // namespace vt
