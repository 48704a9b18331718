#include "analysis/program_pass.h"

#include <string>

#include "analysis/loader_rules.h"

namespace vt {

namespace {

size_t BytesHash(const std::string& bytes) { return std::hash<std::string>{}(bytes); }

}  // namespace

ProgramPass::ProgramPass(AnalysisState& analysis, const CatalogueState& catalogue,
                         const FileTree& files, ExaminationMemo* memo)
    : analysis_(analysis),
      catalogue_(catalogue),
      files_(files),
      scoped_(analysis.ruleSet == RuleSetKind::Modern),
      memo_(memo) {
  if (memo_) {
    memo_->Fit(catalogue, analysis.ruleSet, *analysis.Rules, analysis.Notes);
    previousStretches_ = memo_->StretchCount();
    matcher_ = &memo_->Matcher();
  } else {
    matcher_ = &ownMatcher_.emplace(catalogue, analysis.Notes, analysis.Rules);
  }
  pass_.scopes.KeepOnly([this](TextView name) { return matcher_->Declares(name); });
}

void ProgramPass::Scan(size_t i, TextFileLines* lines) {
  const scanlisttype& entry = analysis_.ScanListList[i];
  bool ownUnit = entry.kind != EntryKind::Include;
  bool continues = !ownUnit && stretch_.open && stretch_.unit == entry.unit;
  if (!continues) EndStretch();
  if (!ownUnit || i > 0) LeaveUntil(entry.unit);
  if (!continues) StartStretch(i, entry);
  AddFile(i, lines);
}

void ProgramPass::Finish() {
  EndStretch();
  LeaveUntil(kNone);
  if (scoped_) declaredPrint_ = pass_.scopes.Fingerprint();
  for (sourcemodtype* record : waiting_) Match(record);
  pass_.scopes.KeepOnly(nullptr);
  if (!memo_) return;
  bool unchanged = previousStretches_ > 0 && reused_ == previousStretches_ &&
                   kept_.size() == reused_ && matchedAgain_ == 0;
  memo_->Replace(std::move(kept_), reused_, unchanged);
}

bool ProgramPass::UnitOpen(size_t unit) const {
  for (const auto& open : open_) {
    if (open.first == unit) return true;
  }
  return false;
}

void ProgramPass::StartStretch(size_t i, const scanlisttype& entry) {
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

void ProgramPass::TakeCandidate(size_t i) {
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

void ProgramPass::AddFile(size_t i, TextFileLines* lines) {
  const scanlisttype& entry = analysis_.ScanListList[i];
  FileStamp stamp{i, entry.path, entry.kind};
  if (lines) {
    stamp.size = lines->bytes.size();
    stamp.hash = BytesHash(lines->bytes);
    scanlisttype& listed = analysis_.ScanListList[i];
    listed.hashed = true;
    listed.bytesSize = stamp.size;
    listed.bytesHash = stamp.hash;
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

void ProgramPass::StartReading(size_t k) {
  stretch_.read = true;
  stretch_.candidate.reset();
  if (memo_ && stretch_.feeds) {
    RecordTies& ties = ties_[stretch_.feeds];
    if (ties.pending) Restore(*stretch_.feeds, ties);
    ties = {false, nullptr, nullptr, ties.index, {}};
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

void ProgramPass::ReadFile(size_t k, TextFileLines* lines) {
  if (lines) DecodeLinesOf(*lines);
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

void ProgramPass::EndStretch() {
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

void ProgramPass::Reuse() {
  std::unique_ptr<StretchMemo> memo = std::move(stretch_.candidate);
  analysis_.TotalLines += memo->totalLines;
  analysis_.CodeLines += memo->codeLines;
  pass_.inRem = memo->remOut;
  pass_.scopes.DeclareAgain(memo->declared);
  if (memo->fedRecord) {
    size_t index = stretch_.feeds ? ties_[stretch_.feeds].index : analysis_.SourceModList.size();
    stretch_.record = stretch_.feeds ? stretch_.feeds : analysis_.NewSourceRecord();
    RecordTies& ties = ties_[stretch_.record];
    ties.asBefore = true;
    ties.last = ties.pending = memo.get();
    ties.index = index;
    ties.fed.push_back(memo.get());
  }
  ++reused_;
  kept_[stretch_.files[0].entry] = std::move(memo);
}

void ProgramPass::Keep() {
  if (!memo_) return;
  size_t index = 0;
  if (stretch_.record) {
    auto known = ties_.find(stretch_.record);
    index = known != ties_.end() ? known->second.index : analysis_.SourceModList.size() - 1;
  }
  if (!stretch_.keepable) {
    if (stretch_.record) ties_[stretch_.record] = {false, nullptr, nullptr, index, {}};
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
    memo->fedRecord = true;
    if (scoped_) memo->after = *stretch_.record;
    ties_[stretch_.record] = {false, memo.get(), nullptr, index, {}};
  }
  kept_[stretch_.files[0].entry] = std::move(memo);
}

void ProgramPass::Restore(sourcemodtype& record, const RecordTies& ties) {
  if (ties.last->after) {
    record = *ties.last->after;
    return;
  }
  AnalysisState scratch;
  scratch.ruleSet = analysis_.ruleSet;
  scratch.Rules = analysis_.Rules;
  scratch.Notes = analysis_.Notes;
  sourcemodtype* made = nullptr;
  for (StretchMemo* stretch : ties.fed) ReadAgain(*stretch, scratch, made);
  if (made) record = std::move(*made);
}

void ProgramPass::ReadAgain(StretchMemo& stretch, AnalysisState& scratch, sourcemodtype*& made) {
  CommandPassState pass;
  pass.inRem = stretch.remIn;
  for (FileStamp& stamp : stretch.files) {
    ReadTextFileLines(files_, stamp.path, reread_);
    bool same = reread_.outcome == ReadOutcome::Read && reread_.bytes.size() == stamp.size &&
                BytesHash(reread_.bytes) == stamp.hash;
    // Changed since the walk read it: what is made now is of newer bytes,
    // and the memo must not vouch for them.
    if (!same) stamp.size = static_cast<size_t>(-1);
    if (reread_.outcome != ReadOutcome::Read) continue;
    pass.entry = stamp.entry;
    pass.lineBase = scratch.TotalLines;
    sourcemodtype* feeds = ScanFileLines(scratch, pass, stamp.path, stamp.kind, made, reread_);
    if (!made) made = feeds;
  }
}

void ProgramPass::Match(sourcemodtype* record) {
  auto found = ties_.find(record);
  RecordTies ties = found == ties_.end() ? RecordTies() : found->second;
  if (ties.asBefore) {
    if (ties.last->matched && ties.last->matchedUnder == declaredPrint_) {
      analysis_.SourceModList[ties.index] = ties.last->matched;
      return;
    }
    Restore(*record, ties);
  }
  if (ties.asBefore) ++matchedAgain_;
  if (scoped_) pass_.scopes.MarkHidden(*record);
  matcher_->Match(*record);
  if (analysis_.Notes == CauseNotes::Skip) record->ReleaseWords();
  SuggestLoaders(*record, catalogue_, *analysis_.Rules);
  // The memo keeps the record matched: what is read of it from now on is
  // what explains it (a record matched again starts from the one before).
  if (memo_ && analysis_.Notes == CauseNotes::Keep) record->KeepOnlyExplainingWords();
  if (!ties.last) return;
  ties.last->matched = analysis_.SourceModList[ties.index];
  ties.last->matchedUnder = declaredPrint_;
}

void ProgramPass::Done(sourcemodtype* record) {
  if (!record) return;
  if (scoped_) {
    waiting_.push_back(record);
  } else {
    Match(record);
  }
}

void ProgramPass::LeaveUntil(size_t unit) {
  while (!open_.empty() && open_.back().first != unit) {
    Done(open_.back().second);
    open_.pop_back();
  }
}

}  // namespace vt
