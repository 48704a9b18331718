#include "analysis/command_matcher.h"

#include <algorithm>
#include <memory>
#include <span>
#include <type_traits>
#include <unordered_map>
#include <vector>

#include "analysis/cause_notes.h"
#include "analysis/loader_rules.h"
#include "analysis/present_header.h"
#include "analysis/source_walker.h"
#include "base/paths.h"
#include "catalogue/platform_condition.h"
#include "platform/text_file_reader.h"

namespace vt {

namespace {

// The word of a cause that counts no word of its record.
constexpr size_t kNoWord = SIZE_MAX;

// What the matcher keeps of each module of the catalogue, by its place in
// ModList: in arrays of their own, since every command a program calls
// lands on one and the module records lie far apart in memory.
struct MatchTables {
  const CommandIndex& index;
  const CommandIndex& types;
  const std::vector<ModuleFacts>& facts;
  // Whether the module was matched for the record being matched.
  std::vector<uint8_t>& matched;
  // The places set in `matched`, to clear them for the next record.
  std::vector<uint32_t>& matchedPlaces;
  // What matches only under a condition of its own, and whether to note the
  // word that called for each.
  std::vector<GuardedMatch>& guarded;
  bool keepNotes;
};

// Whether the module at `place`, which declares word `word` of `record`
// only under `condition`, is needed where the record's words are: where
// both conditions hold. When that is narrower than the record's own
// condition, the module is noted in `tables.guarded` instead; when they
// never both hold, it is needed nowhere.
// A symbol rule's module is needed the same way, for `reason`.
bool NeededInRecord(const MatchTables& tables, const sourcemodtype& record, size_t word,
                    uint32_t place, TextView condition, TextView reason = {}) {
  KnownCondition both = BothConditions(record.condition, condition);
  if (both.kind == KnownCondition::Kind::Never) return false;
  if (both.kind == KnownCondition::Kind::Always) return true;
  if (ConditionKey(both.text) == record.conditionKey) return true;
  GuardedMatch& match = tables.guarded.emplace_back();
  match.condition = std::move(both.text);
  match.place = place;
  match.reason = reason;
  if (!tables.keepNotes) return false;
  match.site = word < record.wordSites.size() ? record.wordSites[word]
                                               : WordSite{{}, record.words[word]};
  return false;
}

void AddDeclaring(const CatalogueState& catalogue, const MatchTables& tables,
                  sourcemodtype& record, size_t word, const CommandIndex& index,
                  CommandIndex::Declaring declaring, CauseWatch& watch) {
  for (size_t i = 0; i < declaring.places.size(); ++i) {
    uint32_t place = declaring.places[i];
    if (tables.matched[place]) continue;
    uint32_t condition = declaring.conditions.empty() ? 0 : declaring.conditions[i];
    if (condition != 0 &&
        !NeededInRecord(tables, record, word, place, index.Condition(condition))) {
      continue;
    }
    tables.matched[place] = 1;
    tables.matchedPlaces.push_back(place);
    const ModuleFacts& facts = tables.facts[place];
    record.AddModule(catalogue, facts);
    watch.Note(CauseKind::Command, facts.declaredName);
  }
}

// A word is a command or type name as a whole; a dotted word such as
// "tpath.cwd" also names the type before its first dot.
void MatchWord(const CatalogueState& catalogue, const MatchTables& tables,
               sourcemodtype& record, size_t at, size_t hash, CauseWatch& watch) {
  const Text& word = record.words[at];
  AddDeclaring(catalogue, tables, record, at, tables.index,
               tables.index.FindDeclaring(word, hash), watch);
  size_t dot = word.find(u'.');
  if (dot == Text::npos || dot == 0) return;
  TextView type = TextView(word).substr(0, dot);
  AddDeclaring(catalogue, tables, record, at, tables.types,
               tables.types.FindDeclaring(type, tables.types.Hash(type)), watch);
}

bool ListsModule(const TextList& modules, TextView name) {
  for (const Text& listed : modules) {
    if (EqualFolded(listed, name)) return true;
  }
  return false;
}

// Whether `record`, or the unit whose section it is, lists a member of
// `family` or imports one through a listed module.
bool HoldsMember(const CatalogueState& catalogue, sourcemodtype& record,
                 const ModuleFamily& family) {
  for (const Text& member : family.members) {
    if (record.ListsOrImports(catalogue, member)) return true;
    if (record.unguarded && record.unguarded->ListsOrImports(catalogue, member)) return true;
  }
  return false;
}

}  // namespace

namespace {

// Rules kept sorted by the index's hash of their word, so that a word no
// rule names costs one search of a short list.
template <typename Entry>
void SortByHash(std::vector<Entry>& entries) {
  std::stable_sort(entries.begin(), entries.end(),
                   [](const Entry& a, const Entry& b) { return a.hash < b.hash; });
}

template <typename Entry>
std::span<const Entry> WithHash(const std::vector<Entry>& entries, size_t hash) {
  auto [first, last] = std::equal_range(
      entries.begin(), entries.end(), hash, [](const auto& a, const auto& b) {
        if constexpr (std::is_same_v<std::decay_t<decltype(a)>, size_t>) {
          return a < b.hash;
        } else {
          return a.hash < b;
        }
      });
  return std::span<const Entry>(entries.data() + (first - entries.begin()),
                                static_cast<size_t>(last - first));
}

}  // namespace

CommandMatcher::CommandMatcher(const CatalogueState& catalogue, CauseNotes notes,
                               const RuleSet* rules)
    : catalogue_(catalogue),
      notes_(notes),
      rules_(rules),
      index_(catalogue),
      types_(catalogue, IndexedNames::TypesOnly) {
  facts_.reserve(catalogue.ModList.size());
  size_t namesLength = 0;
  for (const auto& module : catalogue.ModList) {
    facts_.push_back(FactsOf(catalogue, module->declaredName, rules_));
    namesLength += facts_.back().toAppend.size();
  }
  // The names listed and their imports lie in two blocks, so that listing a
  // module reads nearby memory. Reserved first: the views must not move.
  size_t importsLength = 0;
  for (const ModuleFacts& facts : facts_) importsLength += facts.listedImports.size();
  listedNames_.reserve(namesLength);
  listedImports_.reserve(importsLength);
  for (ModuleFacts& facts : facts_) {
    size_t at = listedNames_.size();
    listedNames_ += facts.toAppend;
    facts.toAppend = TextView(listedNames_).substr(at, facts.toAppend.size());
    at = listedImports_.size();
    size_t imports = facts.listedImports.size();
    listedImports_.insert(listedImports_.end(), facts.listedImports.begin(),
                          facts.listedImports.end());
    facts.listedImports = std::span<const NameNumber>(listedImports_).subspan(at, imports);
  }
  matched_.assign(catalogue.ModList.size(), 0);
  if (!rules_) return;
  for (const SymbolRule& rule : rules_->symbols) {
    const modtype* module = catalogue.FindModule(rule.module);
    auto found = std::find_if(catalogue.ModList.begin(), catalogue.ModList.end(),
                              [&](const auto& listed) { return listed.get() == module; });
    if (!module || found == catalogue.ModList.end()) continue;
    Text word = Lower(rule.word);
    size_t hash = index_.Hash(word);
    auto place = static_cast<uint32_t>(found - catalogue.ModList.begin());
    symbols_.push_back(Symbol{hash, std::move(word), place, &rule});
  }
  SortByHash(symbols_);
  for (const LoaderRule& rule : rules_->loaders) {
    if (rule.match == LoaderRule::Match::Word) {
      wordRules_.push_back(WordRule{index_.Hash(rule.text), &rule});
    }
  }
  SortByHash(wordRules_);
}

void CommandMatcher::ApplyWordRules(sourcemodtype& record, size_t word, CauseWatch& watch) {
  if (wordRules_.empty()) return;
  for (const WordRule& rule : WithHash(wordRules_, hashes_[word])) {
    if (rule.rule->text != record.words[word]) continue;
    ApplyLoaderRule(catalogue_, *rules_, record, *rule.rule);
    watch.Note(CauseKind::WordRule, rule.rule->reason);
    return;
  }
}

void CommandMatcher::Match(sourcemodtype& record) {
  guarded_.clear();
  MatchWords(record);
  AddSymbols(record);
  AddImplementations(record);
  // A section lists what the unit does not list already.
  for (sourcemodtype& section : record.sections) {
    section.unguarded = &record;
    MatchWords(section);
    AddSymbols(section);
    AddImplementations(section);
    section.unguarded = nullptr;
    // The loaders a section may need are offered as the unit's own.
    record.imagesUsed |= section.imagesUsed;
    record.audioUsed |= section.audioUsed;
  }
  // After the loop: it may add sections.
  AddGuardedMatches(record);
}

void CommandMatcher::AddGuardedMatches(sourcemodtype& unit) {
  std::vector<size_t> gained;
  for (GuardedMatch& match : guarded_) {
    const ModuleFacts& facts = facts_[match.place];
    // A section lists what the unit does not list already.
    if (facts.dropped || unit.ListsOrImports(catalogue_, facts.declaredName)) continue;
    sourcemodtype& section = unit.Section(match.condition, ConditionKey(match.condition));
    size_t at = static_cast<size_t>(&section - unit.sections.data());
    size_t listed = section.modules.size();
    section.AddModule(catalogue_, facts);
    if (section.modules.size() == listed) continue;
    if (std::find(gained.begin(), gained.end(), at) == gained.end()) gained.push_back(at);
    if (notes_ != CauseNotes::Keep) continue;
    const Text& added = section.modules.back();
    Text declaredBy = EqualFolded(facts.declaredName, added) ? Text() : Text(facts.declaredName);
    std::shared_ptr<const WordSite> site;
    if (match.site) site = std::make_shared<const WordSite>(*match.site);
    ModuleCause cause =
        match.reason.empty()
            ? ModuleCause{kNoWord, CauseKind::Command, std::move(declaredBy), std::move(site)}
            : ModuleCause{kNoWord, CauseKind::Implementation, match.reason, std::move(site)};
    section.causes.TryNote(Lower(added), std::move(cause));
  }
  for (size_t at : gained) {
    sourcemodtype& section = unit.sections[at];
    section.unguarded = &unit;
    AddImplementations(section);
    section.unguarded = nullptr;
  }
}

void CommandMatcher::AddSymbols(sourcemodtype& record) {
  if (symbols_.empty()) return;
  const MatchTables tables{index_, types_, facts_, matched_, matchedPlaces_, guarded_,
                           notes_ == CauseNotes::Keep};
  for (size_t i = 0; i < record.words.size() && i < hashes_.size(); ++i) {
    // The program's own name there, not a module's.
    if (i < record.hiddenWords.size() && record.hiddenWords[i]) continue;
    for (const Symbol& symbol : WithHash(symbols_, hashes_[i])) {
      if (symbol.word != record.words[i]) continue;
      const SymbolRule& rule = *symbol.rule;
      if (!rule.condition.empty() &&
          !NeededInRecord(tables, record, i, symbol.place, rule.condition, rule.reason)) {
        continue;
      }
      CauseWatch watch(record, i, notes_);
      record.AddModule(catalogue_, facts_[symbol.place]);
      watch.Note(CauseKind::Implementation, rule.reason);
    }
  }
}

void CommandMatcher::AddImplementations(sourcemodtype& record) {
  if (!rules_) return;
  for (const ModuleFamily& family : rules_->families) {
    if (family.interfaceModule.empty()) continue;
    if (!ListsModule(record.modules, family.interfaceModule)) continue;
    if (HoldsMember(catalogue_, record, family)) continue;
    const Text& chosen = family.members.front();
    if (!catalogue_.FindModule(chosen)) continue;
    size_t listed = record.modules.size();
    record.AddModule(catalogue_, chosen, rules_);
    if (record.modules.size() == listed || notes_ != CauseNotes::Keep) continue;
    // Explained by the word that called for the interface.
    const ModuleCause* cause = record.causes.Find(Lower(family.interfaceModule));
    size_t word = cause ? cause->word : record.words.size();
    std::shared_ptr<const WordSite> site = cause ? cause->site : nullptr;
    record.causes.TryNote(Lower(record.modules.back()),
                          ModuleCause{word, CauseKind::Implementation, family.reason, site});
  }
}

void CommandMatcher::MatchWords(sourcemodtype& record) {
  // Only the modules matched for one record need their flag reset before the
  // next; the others are still 0.
  for (uint32_t place : matchedPlaces_) matched_[place] = 0;
  matchedPlaces_.clear();
  const MatchTables tables{index_, types_, facts_, matched_, matchedPlaces_, guarded_,
                           notes_ == CauseNotes::Keep};
  // Most of the time goes in waiting for the index's memory: what a word's
  // lookup reads is asked for in stages, a few words ahead of it.
  constexpr size_t kSlotAhead = 12;
  constexpr size_t kEntryAhead = 8;
  constexpr size_t kDataAhead = 4;
  hashes_.clear();
  for (const Text& word : record.words) hashes_.push_back(index_.Hash(word));
  const size_t count = hashes_.size();
  for (size_t i = 0; i < std::min(kSlotAhead, count); ++i) index_.Prefetch(hashes_[i]);
  for (size_t i = 0; i < count; ++i) {
    if (i + kSlotAhead < count) index_.Prefetch(hashes_[i + kSlotAhead]);
    if (i + kEntryAhead < count) index_.PrefetchEntry(hashes_[i + kEntryAhead]);
    if (i + kDataAhead < count) index_.PrefetchData(hashes_[i + kDataAhead]);
    // The program's own name there, not a module's.
    if (i < record.hiddenWords.size() && record.hiddenWords[i]) continue;
    // Matching adds modules, never words, so the reference stays valid.
    const Text& word = record.words[i];
    CauseWatch watch(record, i, notes_);
    if (StartsWith(word, u"\"")) {
      if (rules_) ApplyLiteralRules(catalogue_, *rules_, record, word, watch);
      continue;
    }
    ApplyWordRules(record, i, watch);
    MatchWord(catalogue_, tables, record, i, hashes_[i], watch);
  }
}

}  // namespace vt
