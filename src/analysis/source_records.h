// The records of one examination: one per source unit (the Main file and each
// file reached through a quoted Import), with the words of its code and the
// modules they call for.
#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <span>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "analysis/causes.h"
#include "analysis/program_scopes.h"
#include "base/position_set.h"
#include "base/shared_list.h"
#include "catalogue/module_records.h"

namespace vt {

struct RuleSet;

// What AddModule works out from a module's declared name, worked out once
// per catalogue for a module that many records list: the matcher adds one
// for every command a program calls. Views into the catalogue, which must
// outlive the facts unchanged.
struct ModuleFacts {
  TextView declaredName;
  TextView toAppend;  // the name listed, after the rule set's renames
  bool dropped = false;  // never listed (BRL.Blitz)
  // Hashes of both names as the lower-cased module list hashes them.
  size_t keyHash = 0;
  size_t appendHash = 0;
  std::optional<NameNumber> number;  // of the lower-cased name among the import names
  // What the record `toAppend` finds imports, as numbers of the import
  // names; empty without one. Held here so that listing the module reads no
  // record.
  std::span<const NameNumber> listedImports;
};
// With `rules`, a module they rename is listed under its new name.
ModuleFacts FactsOf(const CatalogueState& catalogue, TextView declaredName,
                    const RuleSet* rules = nullptr);

// One item an examination reached: a source file, or a module named on an
// Import line.
class scanlisttype {
 public:
  void Set(TextView newPath, EntryKind newKind);

  Text path;
  EntryKind kind = EntryKind::Main;
  // The entry of the Main or Imported file whose walk reached this item:
  // an Include file's words feed that file's record.
  size_t unit = 0;
  // For a file whose bytes the examination read: their size and hash
  // (std::hash), so that a later step can tell whether the file is still
  // as examined without reading it again.
  bool hashed = false;
  size_t bytesSize = 0;
  size_t bytesHash = 0;
};

// A record's words, each once, in the order they were first kept: the list
// and the index that finds a word in it, kept together so that the two can
// never disagree.
class WordList {
 public:
  size_t size() const { return words_.size(); }
  bool empty() const { return words_.empty(); }
  const Text& operator[](size_t at) const { return words_[at]; }
  TextList::const_iterator begin() const { return words_.begin(); }
  TextList::const_iterator end() const { return words_.end(); }
  operator const TextList&() const { return words_; }
  friend bool operator==(const WordList& list, const TextList& words) {
    return list.words_ == words;
  }

  size_t Hash(TextView word) const { return index_.Hash(word); }
  // The place of `word`, whose Hash is `hash`, if the list holds it.
  std::optional<size_t> Find(TextView word, size_t hash) const;
  // Appends `word` (Hash `hash`), which the list does not hold.
  void Add(TextView word, size_t hash);
  // Appends `word` unless the list holds it.
  void Add(TextView word);
  // Empties the list and gives back its room.
  void Clear();
  // Keeps the words `wanted` marks, in their order.
  void KeepOnly(const std::vector<uint8_t>& wanted);

 private:
  // Indexes the words the index lacks: KeepOnly leaves it empty.
  void CatchUp() const;

  TextList words_;
  mutable PositionSet index_;
};

class sourcemodtype {
 public:
  // Keeps a word or literal of a code line unless it is a number, too short,
  // a repeat or a piece of the keyword text.
  void AddWord(TextView word);
  // What AddScopedWord did with a word.
  enum class WordAdded { Dropped, New, Known, NewContext };
  // As AddWord, for a word used inside the program's type block `context`
  // (0: outside any); a known word used in a block it was not used in
  // before has that use noted in `furtherUses`.
  WordAdded AddScopedWord(TextView word, uint32_t context);
  // Lists a required module, with the renames of `rules` and the drop rule;
  // a module that a listed one already imports (in `catalogue`) is not
  // listed.
  void AddModule(const CatalogueState& catalogue, TextView name, const RuleSet* rules = nullptr);
  // The same for a name whose facts are known (FactsOf, same catalogue).
  void AddModule(const CatalogueState& catalogue, const ModuleFacts& facts);
  // Lists a module that may be required, unless it is listed already.
  void AddOptionalModule(TextView name);
  // Lets go of the words, once they are matched and nothing will explain
  // them.
  void ReleaseWords();
  // Lets go of the words, once they are matched, but those a cause names
  // (renumbered in their order), which explanations read: a process that
  // keeps the matched records of a large program keeps a few of its words.
  void KeepOnlyExplainingWords();
  // The record of the words inside the platform sections headed
  // "?`condition`", whose ConditionKey is `key` (so that case and runs of
  // blanks do not count), made when it is new.
  sourcemodtype& Section(TextView condition, TextView key);
  // Whether `modules` lists `name` (any case) or a listed module imports it.
  bool ListsOrImports(const CatalogueState& catalogue, TextView name);

  uint8_t imagesUsed = 0;
  uint8_t audioUsed = 0;
  Text path;
  Text folder;
  TextList extraLines;
  SharedTextList modules;
  SharedTextList optionalModules;
  WordList words;
  // For the record of a platform section: its condition as the program
  // first writes it ("Win32"), and that condition's key; empty for a unit's
  // own record.
  Text condition;
  Text conditionKey;
  // The unit's words that stand only inside platform sections, one record
  // per condition in order of first appearance. Their modules are needed
  // under that condition alone.
  std::vector<sourcemodtype> sections;
  // While a section is matched: the unit's own record, whose modules the
  // section needs not list again.
  sourcemodtype* unguarded = nullptr;

  // Why, for explanations. `wordSites` runs parallel to `words` as far as
  // the command pass filled it; `causes` and `optionalCauses` are keyed by
  // the lower-cased module name as listed; the two words are the first that
  // set `imagesUsed` and `audioUsed`.
  std::vector<WordSite> wordSites;
  CauseMap causes;
  CauseMap optionalCauses;
  std::optional<size_t> imagesWord;
  std::optional<size_t> audioWord;

  // Under the modern rules, where the words are used: parallel to `words`,
  // the program type block of each word's first use (0: outside any); then
  // each later use in another block; and, once the whole program is read,
  // which words the program's own declarations hide wherever they are used.
  struct FurtherUse {
    uint32_t word = 0;
    uint32_t context = 0;
    WordSite site;  // empty when no notes are kept
  };
  std::vector<uint32_t> wordContexts;
  std::vector<FurtherUse> furtherUses;
  std::vector<uint8_t> hiddenWords;

 private:
  // AddWord, telling whether the word was added, and otherwise where
  // `words` holds it already (nowhere when it was dropped).
  bool KeepWord(TextView word, std::optional<size_t>& known);
  // The (word, context) pairs of `wordContexts` and `furtherUses`.
  std::unordered_set<uint64_t> usedContexts_;
  // Whether a module of `modules` imports `key`: the names that the listed
  // modules import are gathered once per module listed, not searched again
  // for every module added.
  bool ImportedByListed(const CatalogueState& catalogue, TextView key);
  bool ImportedByListed(const CatalogueState& catalogue, std::optional<NameNumber> number);
  // Marks the names of `imports` in importedByListed_.
  void MarkImported(const NamePool& names, std::span<const NameNumber> imports);

  // The entries of `modules`, lower-cased, and of `optionalModules`.
  ListIndex modulesLowered_{true};
  ListIndex optionalIndex_;
  // The names imported by the first `gathered_` entries of `modules`, the
  // last of which is `lastGathered_`, marked by their numbers in the import
  // names of `gatheredFrom_`.
  std::vector<bool> importedByListed_;
  size_t gathered_ = 0;
  Text lastGathered_;
  const NamePool* gatheredFrom_ = nullptr;
};

// Keywords and their fragments never count as words.
inline constexpr char16_t KeywordText[] =
    u"if|then|else|elseif|endif|while|wend|repeat|until|forever|select|case|"
    u"default|for|to|next|step|true|false|null|byte|int|float|string|ptr|var|"
    u"varptr|const|global|local|and|or|not|function|type|field|method|return|"
    u"end|new";

inline constexpr char16_t WordChars[] = u"abcdefghijklmnopqrstuvwxyz01234567890._";

// One examination: what the walk reached, the records of its source units
// and the line counts. Where the walk and the command pass stand while they
// read is their own business, not kept here.
struct AnalysisState {
  // A deque: an entry stays where it is while the walk adds more.
  std::deque<scanlisttype> ScanListList;
  // Shared with the memo of a process that examines again, which keeps the
  // matched records: nothing changes a record once the examination is over.
  std::vector<std::shared_ptr<sourcemodtype>> SourceModList;
  int32_t TotalLines = 0;
  int32_t CodeLines = 0;
  // The rules the examination follows: set from the catalogue it matches
  // against. Under the modern ones, "?condition" lines of the program open
  // platform sections.
  RuleSetKind ruleSet = RuleSetKind::Classic;
  // The rules of that set, which the templates read; null for the built-in
  // classic ones.
  const RuleSet* Rules = nullptr;
  // Files that exist but could not be opened, for lack of a file handle: they
  // are listed, but what they hold is missing from the examination.
  TextList FilesNotRead;

  // Files named by Include or Import lines that could not be read.
  std::vector<WalkWarning> Warnings;
  // Whether the command pass and the matching note down why.
  CauseNotes Notes = CauseNotes::Keep;

  // Appends a new entry to ScanListList.
  scanlisttype* NewScanEntry(TextView path, EntryKind kind);
  // Appends a new record with four empty lists to SourceModList.
  sourcemodtype* NewSourceRecord();
};

// Leading decimal number of `word` (digits, optional point, fraction and
// exponent) in single precision; 0 when it does not start with one.
float LeadingNumber(TextView word);

}  // namespace vt
