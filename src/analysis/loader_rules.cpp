#include "analysis/loader_rules.h"

namespace vt {

namespace {

// Offers each installed loader of `loaders`, noting `flag` as the cause.
void OfferInstalled(const CatalogueState& catalogue, sourcemodtype& record,
                    const TextList& loaders, CauseKind flag) {
  for (const Text& loader : loaders) {
    if (!catalogue.FindModule(loader)) continue;
    record.AddOptionalModule(loader);
    NoteOptionalCause(record, loader, flag);
  }
}

}  // namespace

void ApplyLoaderRule(const CatalogueState& catalogue, const RuleSet& rules,
                     sourcemodtype& record, const LoaderRule& rule) {
  // FindModule folds the case of the name.
  if (!rule.module.empty() && catalogue.FindModule(rule.module)) {
    record.AddModule(catalogue, rule.module, &rules);
  }
  if (rule.loads == LoadKind::Images) record.imagesUsed = 1;
  if (rule.loads == LoadKind::Audio) record.audioUsed = 1;
}

void ApplyLiteralRules(const CatalogueState& catalogue, const RuleSet& rules,
                       sourcemodtype& record, TextView literal, CauseWatch& watch) {
  const LoaderRule* fileType = nullptr;
  for (const LoaderRule& rule : rules.loaders) {
    if (rule.match == LoaderRule::Match::Stream) {
      if (literal.find(rule.text) == TextView::npos) continue;
      ApplyLoaderRule(catalogue, rules, record, rule);
      watch.Note(CauseKind::LiteralRule, rule.reason);
      continue;
    }
    // ".tif" and ".tiff" may both be rows; of equal lengths the first wins.
    if (rule.match != LoaderRule::Match::FileType || !literal.ends_with(rule.text)) continue;
    if (!fileType || rule.text.size() > fileType->text.size()) fileType = &rule;
  }
  if (!fileType) return;
  ApplyLoaderRule(catalogue, rules, record, *fileType);
  watch.Note(CauseKind::LiteralRule, fileType->reason);
}

void SuggestLoaders(AnalysisState& analysis, const CatalogueState& catalogue) {
  if (!analysis.Rules) return;
  for (const auto& owned : analysis.SourceModList) SuggestLoaders(*owned, catalogue, *analysis.Rules);
}

void SuggestLoaders(sourcemodtype& record, const CatalogueState& catalogue, const RuleSet& rules) {
  if (record.imagesUsed) {
    OfferInstalled(catalogue, record, rules.imageLoaders, CauseKind::ImagesUsed);
  }
  if (record.audioUsed) {
    OfferInstalled(catalogue, record, rules.audioLoaders, CauseKind::AudioUsed);
  }
}

}  // namespace vt
