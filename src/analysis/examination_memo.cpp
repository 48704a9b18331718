#include "analysis/examination_memo.h"

#include <utility>

namespace vt {

void ExaminationMemo::Forget() {
  stretches_.clear();
  reused_ = 0;
  unchanged_ = false;
  findings_.reset();
  kept_ = false;
  explainedRecords_.clear();
  matcher_.reset();
}

void ExaminationMemo::Fit(const CatalogueState& catalogue, RuleSetKind ruleSet,
                          const RuleSet& rules, CauseNotes notes) {
  bool fits = catalogue_ == &catalogue && moduleCount_ == catalogue.ModList.size() &&
              commandCount_ == catalogue.CommandCount && ruleSet_ == ruleSet &&
              notes_ == notes && rules_ == rules;
  if (fits) return;
  Forget();
  catalogue_ = &catalogue;
  moduleCount_ = catalogue.ModList.size();
  commandCount_ = catalogue.CommandCount;
  ruleSet_ = ruleSet;
  rules_ = rules;
  notes_ = notes;
}

CommandMatcher& ExaminationMemo::Matcher() {
  if (!matcher_) matcher_ = std::make_unique<CommandMatcher>(*catalogue_, notes_, &rules_);
  return *matcher_;
}

std::unique_ptr<StretchMemo> ExaminationMemo::Take(size_t first) {
  auto found = stretches_.find(first);
  if (found == stretches_.end()) return nullptr;
  std::unique_ptr<StretchMemo> taken = std::move(found->second);
  stretches_.erase(found);
  return taken;
}

void ExaminationMemo::Replace(std::unordered_map<size_t, std::unique_ptr<StretchMemo>> stretches,
                              size_t reused, bool unchanged) {
  stretches_ = std::move(stretches);
  reused_ = reused;
  // Findings of a changed program are no longer the answer, but their
  // reasons still serve the units that did not change.
  unchanged_ = unchanged;
}

void ExaminationMemo::KeepFindings(const Examination& findings, ReasonChoice reasons,
                                   const AnalysisState& analysis) {
  if (keeper_ == FindingsKeeper::Memo) findings_ = findings;
  kept_ = true;
  keptWalked_ = findings.walked.size();
  keptLines_ = findings.totalLines;
  findingsReasons_ = reasons;
  explainedRecords_.clear();
  if (reasons != ReasonChoice::Give) return;
  explainedRecords_.assign(analysis.SourceModList.begin(), analysis.SourceModList.end());
}

const Examination* ExaminationMemo::Kept(const Examination* lent) const {
  if (!kept_) return nullptr;
  if (keeper_ == FindingsKeeper::Memo) return findings_ ? &*findings_ : nullptr;
  // Findings of another examination would lend wrong reasons.
  if (!lent || lent->walked.size() != keptWalked_ || lent->totalLines != keptLines_) {
    return nullptr;
  }
  return lent;
}

std::optional<ExplainedBefore> ExaminationMemo::LastExplained(const Examination* lent) const {
  const Examination* kept = Kept(lent);
  if (!kept || findingsReasons_ != ReasonChoice::Give) return std::nullopt;
  return ExplainedBefore{*kept, explainedRecords_};
}

const Examination* ExaminationMemo::UnchangedFindings(ReasonChoice reasons,
                                                      const Examination* lent) const {
  if (!unchanged_ || findingsReasons_ != reasons) return nullptr;
  return Kept(lent);
}

}  // namespace vt
