#include "analysis/examination_memo.h"

#include <utility>

namespace vt {

void ExaminationMemo::Forget() {
  stretches_.clear();
  reused_ = 0;
  unchanged_ = false;
  findings_.reset();
  explainedRecords_.clear();
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
  findings_ = findings;
  findingsReasons_ = reasons;
  explainedRecords_.clear();
  if (reasons != ReasonChoice::Give) return;
  explainedRecords_.assign(analysis.SourceModList.begin(), analysis.SourceModList.end());
}

std::optional<ExplainedBefore> ExaminationMemo::LastExplained() {
  if (!findings_ || findingsReasons_ != ReasonChoice::Give) return std::nullopt;
  return ExplainedBefore{*findings_, explainedRecords_};
}

const Examination* ExaminationMemo::UnchangedFindings(ReasonChoice reasons) const {
  if (!unchanged_ || !findings_ || findingsReasons_ != reasons) return nullptr;
  return &*findings_;
}

}  // namespace vt
