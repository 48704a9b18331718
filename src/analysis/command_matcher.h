// The command pass: cutting the code lines of the walked files into words
// and literals, one record per Main or Imported file, and matching the words
// against the commands the installed modules declare.
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

// Reads the walked file `path` of `kind`, counting its lines and collecting
// its words. Main and Imported files get a record of their own; an Include
// file feeds `current`, the record of the unit it belongs to (null before
// any). Module entries are no files. Returns the record that the
// files after this one feed.
sourcemodtype* ScanFileCommands(AnalysisState& analysis, TextView path, EntryKind kind,
                                sourcemodtype* current);
// The same, reading into `file`, whose room a pass over many files reuses.
sourcemodtype* ScanFileCommands(AnalysisState& analysis, TextView path, EntryKind kind,
                                sourcemodtype* current, TextFileLines& file);
// The same from `files`.
sourcemodtype* ScanFileCommands(AnalysisState& analysis, const FileTree& files, TextView path,
                                EntryKind kind, sourcemodtype* current, TextFileLines& file);


// Counts one line and, for a code line, hands its words and literals to
// `record` (if there is one).
void ScanCommandLine(AnalysisState& analysis, sourcemodtype* record, TextView line);

// The condition of a trimmed line "?Win32 ' comment" as written ("Win32");
// empty for a line that ends a platform section.
Text SectionCondition(TextView trimmed);

// Cuts a trimmed, lower-cased code line into words and literals, in order.
TextList CutWords(TextView low);

// The same cut, as places in the line, so that a word can be found again as
// it is written.
std::vector<WordSpan> CutWordSpans(TextView low);
// The same into `words`, emptied first.
void CutWordSpans(TextView low, std::vector<WordSpan>& words);

// The room the cut of one line needs, kept for the next: a large program has
// hundreds of thousands of lines.
struct LineScratch {
  Text low;
  std::vector<WordSpan> spans;
  // How each span stands in the program's scopes (modern rules).
  std::vector<uint32_t> uses;
};
void ScanCommandLine(AnalysisState& analysis, sourcemodtype* record, TextView line,
                     LineScratch& scratch);

// The same as ScanFileCommands for the walked file's `lines`, already read;
// with `scratch`, whose room the files of a pass share.
sourcemodtype* ScanFileLines(AnalysisState& analysis, TextView path, EntryKind kind,
                             sourcemodtype* current, const TextFileLines& lines);
sourcemodtype* ScanFileLines(AnalysisState& analysis, TextView path, EntryKind kind,
                             sourcemodtype* current, const TextFileLines& lines,
                             LineScratch& scratch);

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
  CommandMatcher(CatalogueState& catalogue, CauseNotes notes, const RuleSet* rules = nullptr);
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

  CatalogueState& catalogue_;
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

// Matches every record's words, by the rules of `analysis.Rules` when set.
void MatchCommands(AnalysisState& analysis, CatalogueState& catalogue);

}  // namespace vt
