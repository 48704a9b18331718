// Matching the words of the records against the commands the installed
// modules declare, and the rules of the rule set.
#pragma once

#include <optional>
#include <vector>

#include "analysis/cause_notes.h"
#include "analysis/command_index.h"
#include "analysis/rule_book.h"
#include "analysis/source_records.h"
#include "analysis/word_span.h"
#include "catalogue/module_records.h"
#include "platform/text_file_reader.h"

namespace vt {

// A module that a word calls for only under a condition that its record's
// condition does not imply (a command Pub.Win32 declares under "?Win32",
// called outside any section): the unit lists it in its section for
// `condition`, where both hold.
struct GuardedMatch {
  Text condition;
  uint32_t place = 0;  // in ModList
  // The word, when notes are kept.
  std::optional<WordSite> site;
  // Why a symbol rule calls for it; empty for a module that declares the
  // word.
  Text reason;
};

// Turns the words of records into required modules, through the loader and
// stream rules and the catalogue's command lists: one record after another,
// each as soon as its words are all known.
class CommandMatcher {
 public:
  // With `rules`, a word that a symbol rule names brings in its module, and
  // a unit that lists a family's interface module but holds no member gets
  // the family's default, when installed.
  CommandMatcher(const CatalogueState& catalogue, CauseNotes notes, const RuleSet* rules = nullptr);
  // Matches the unit's words and those of its platform sections.
  void Match(sourcemodtype& record);
  // Whether a module declares `name` as a command or type.
  bool Declares(TextView name) const { return !index_.Find(name).empty(); }

 private:
  void MatchWords(sourcemodtype& record);
  // Runs after MatchWords on the same record, whose hashes it reuses.
  void AddSymbols(sourcemodtype& record);
  void AddImplementations(sourcemodtype& record);
  // Lists guarded_ in the sections of `unit`, once the unit and its
  // sections are matched.
  void AddGuardedMatches(sourcemodtype& unit);

  const CatalogueState& catalogue_;
  CauseNotes notes_;
  const RuleSet* rules_;
  const CommandIndex index_;
  // Type names alone, for the type a dotted word starts with.
  const CommandIndex types_;
  // What listing each module of the catalogue takes, by its position, and
  // the names the facts list, one after another.
  std::vector<ModuleFacts> facts_;
  Text listedNames_;
  std::vector<NameNumber> listedImports_;
  // The index's hashes of the words of the record being matched.
  std::vector<size_t> hashes_;
  // Whether each module (by its place in ModList) is matched for the record
  // being matched, and the places set, to clear them before the next.
  std::vector<uint8_t> matched_;
  std::vector<uint32_t> matchedPlaces_;
  // What the unit being matched and its sections need only under a
  // condition of their own.
  std::vector<GuardedMatch> guarded_;
  // The symbol rules whose module is installed, with the index's hash of
  // each word lower-cased, sorted, so that a word no rule names costs one
  // search of a short list.
  struct Symbol {
    size_t hash = 0;
    Text word;  // lower-cased
    uint32_t place = 0;  // of the module in ModList
    const SymbolRule* rule = nullptr;
  };
  std::vector<Symbol> symbols_;
  // The loader rules for whole words, likewise by hash.
  struct WordRule {
    size_t hash = 0;
    const LoaderRule* rule = nullptr;
  };
  std::vector<WordRule> wordRules_;
  void ApplyWordRules(sourcemodtype& record, size_t word, CauseWatch& watch);
};


}  // namespace vt
