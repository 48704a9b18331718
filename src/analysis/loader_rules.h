// Modules that no command names: loaders picked by the files a program
// loads, and stream protocols picked by the text of a URL. The rows are
// data of the rule set (LoaderRule); these apply them.
#pragma once

#include "analysis/cause_notes.h"
#include "analysis/rule_book.h"
#include "analysis/source_records.h"

namespace vt {

// Applies the stream rules and then the file-type rule (the longest type
// the literal ends in) of `rules` to a literal of `record` (its text with
// the opening double quote), noting each through `watch` with its reason.
// A rule adds its module only when `catalogue` holds it.
void ApplyLiteralRules(const CatalogueState& catalogue, const RuleSet& rules,
                       sourcemodtype& record, TextView literal, CauseWatch& watch);

// Applies one rule of `rules` to `record`: its module (renamed as `rules`
// say) when `catalogue` holds it, and
// what it notes is loaded, which stands even when the module is missing
// (the other loaders may be installed).
void ApplyLoaderRule(const CatalogueState& catalogue, const RuleSet& rules,
                     sourcemodtype& record, const LoaderRule& rule);

// Offers the image and audio loaders of `analysis.Rules` that `catalogue`
// holds to every record that loads images or sounds, unless it requires
// them already.
void SuggestLoaders(AnalysisState& analysis, const CatalogueState& catalogue);
// The same for one record, under `rules`.
void SuggestLoaders(sourcemodtype& record, const CatalogueState& catalogue, const RuleSet& rules);

}  // namespace vt
