// Modules that no command names: loaders picked by the files a program
// loads, and stream protocols picked by the text of a URL.
#pragma once

#include "analysis/source_records.h"

namespace vt {

// Rules for a literal of `record` (its text with the opening double quote).
// These and the word rules add a module only when `catalogue` holds it.
void ApplyLiteralRules(const CatalogueState& catalogue, sourcemodtype& record,
                       TextView literal);

// Rules for a word of `record`, applied before it is looked up as a command.
void ApplyWordRules(const CatalogueState& catalogue, sourcemodtype& record, TextView word);

// What the fixed rule that made `entry` (a word, or a literal with its
// opening quote) call for `module` adds to the entry's own explanation:
// "incbin data", "http stream", or "" when the entry says it all.
Text RuleNote(TextView entry, TextView module);

// Offers the image and audio loaders that `catalogue` holds to every record
// that loads images or sounds, unless it requires them already.
void SuggestLoaders(AnalysisState& analysis, const CatalogueState& catalogue);

}  // namespace vt
