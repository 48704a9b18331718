#include "analysis/source_records.h"

#include "analysis/rule_book.h"

#include "analysis/present_header.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace vt {

std::optional<size_t> WordList::Find(TextView word, size_t hash) const {
  CatchUp();
  return index_.FindIf(hash, [&](size_t at) { return words_[at] == word; });
}

void WordList::CatchUp() const {
  for (size_t at = index_.size(); at < words_.size(); ++at) index_.Add(at, Hash(words_[at]));
}

void WordList::Add(TextView word, size_t hash) {
  CatchUp();
  // A unit has hundreds of words as a rule: no need to double up to them.
  if (words_.empty()) index_.Reserve(1024);
  words_.emplace_back(word);
  index_.Add(words_.size() - 1, hash);
}

void WordList::Add(TextView word) {
  size_t hash = Hash(word);
  if (!Find(word, hash)) Add(word, hash);
}

void WordList::Clear() {
  TextList().swap(words_);
  index_.Clear();
}

void WordList::KeepOnly(const std::vector<uint8_t>& wanted) {
  TextList kept;
  kept.reserve(std::count(wanted.begin(), wanted.end(), 1));
  for (size_t i = 0; i < words_.size(); ++i) {
    if (i < wanted.size() && wanted[i]) kept.push_back(std::move(words_[i]));
  }
  Clear();
  // The index is made again only if the list is asked: the few words a
  // matched record keeps are read by their places.
  words_ = std::move(kept);
}

void scanlisttype::Set(TextView newPath, EntryKind newKind) {
  path = newPath;
  kind = newKind;
}

scanlisttype* AnalysisState::NewScanEntry(TextView path, EntryKind kind) {
  ScanListList.emplace_back().Set(path, kind);
  return &ScanListList.back();
}

sourcemodtype* AnalysisState::NewSourceRecord() {
  SourceModList.push_back(std::make_shared<sourcemodtype>());
  return SourceModList.back().get();
}

namespace {

bool IsDigit(char32_t c) { return c >= u'0' && c <= u'9'; }

// Where a number that single precision cannot hold lies: its first nonzero
// digit's decimal place (1 for units, 0 for tenths) plus its exponent. Only
// the sign matters, so the exponent saturates.
long Magnitude(std::string_view number) {
  size_t e = number.find('e');
  std::string_view mantissa = number.substr(0, e);
  long exponent = 0;
  if (e != std::string_view::npos) {
    bool negative = number[e + 1] == '-';
    for (char c : number.substr(e + 1)) {
      if (IsDigit(c) && exponent < 100000) exponent = exponent * 10 + (c - '0');
    }
    if (negative) exponent = -exponent;
  }
  size_t point = std::min(mantissa.find('.'), mantissa.size());
  size_t first = mantissa.find_first_not_of("0.");
  if (first == std::string_view::npos) return 0;
  long place = first < point ? static_cast<long>(point - first)
                             : -static_cast<long>(first - point - 1);
  return place + exponent;
}

// `word` packed five bits a letter when it is made of a..z only and short
// enough to fit; 0 otherwise.
uint64_t PackedLetters(TextView word) {
  if (word.empty() || word.size() > 12) return 0;
  uint64_t packed = 0;
  for (char16_t c : word) {
    if (c < u'a' || c > u'z') return 0;
    packed = packed << 5 | static_cast<uint64_t>(c - u'a' + 1);
  }
  return packed;
}

// Whether `word` is a piece of KeywordText. A piece without a bar lies within
// one keyword, so the pieces of the keywords alone (a few hundred, packed
// into numbers and sorted) answer for every word the cutter makes; the rare
// question with a bar searches the text itself.
bool IsKeywordFragment(TextView word) {
  static const std::vector<uint64_t> pieces = [] {
    std::vector<uint64_t> made;
    TextView keywords(KeywordText);
    size_t start = 0;
    while (start <= keywords.size()) {
      size_t bar = std::min(keywords.find(u'|', start), keywords.size());
      TextView keyword = keywords.substr(start, bar - start);
      for (size_t from = 0; from < keyword.size(); ++from) {
        for (size_t length = 1; from + length <= keyword.size(); ++length) {
          made.push_back(PackedLetters(keyword.substr(from, length)));
        }
      }
      start = bar + 1;
    }
    std::sort(made.begin(), made.end());
    made.erase(std::unique(made.begin(), made.end()), made.end());
    return made;
  }();
  if (word.empty()) return true;
  if (word.find(u'|') != TextView::npos) return TextView(KeywordText).find(word) != TextView::npos;
  // The keywords are letters only: a word with anything else is no piece.
  uint64_t packed = PackedLetters(word);
  return packed != 0 && std::binary_search(pieces.begin(), pieces.end(), packed);
}

}  // namespace

float LeadingNumber(TextView word) {
  size_t i = 0;
  size_t digits = 0;
  while (i < word.size() && IsDigit(word[i])) ++i, ++digits;
  if (i < word.size() && word[i] == u'.') {
    ++i;
    while (i < word.size() && IsDigit(word[i])) ++i, ++digits;
  }
  if (digits == 0) return 0;
  size_t end = i;
  if (i < word.size() && (word[i] == u'e' || word[i] == u'E')) {
    size_t j = i + 1;
    if (j < word.size() && (word[j] == u'+' || word[j] == u'-')) ++j;
    if (j < word.size() && IsDigit(word[j])) {
      while (j < word.size() && IsDigit(word[j])) ++j;
      end = j;
    }
  }
  std::string ascii;
  for (size_t k = 0; k < end; ++k) ascii += word[k] == u'E' ? 'e' : static_cast<char>(word[k]);
  // from_chars, unlike strtof, ignores the locale: a desktop toolkit may set
  // one whose decimal mark is a comma.
  float value = 0;
  auto result = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    return Magnitude(ascii) > 0 ? std::numeric_limits<float>::infinity() : 0.0f;
  }
  return value;
}

void sourcemodtype::AddWord(TextView word) {
  std::optional<size_t> known;
  KeepWord(word, known);
}

bool sourcemodtype::KeepWord(TextView word, std::optional<size_t>& known) {
  if (LeadingNumber(word) > 0) return false;
  if (word.size() < 2) return false;
  size_t hash = words.Hash(word);
  known = words.Find(word, hash);
  if (known) return false;
  if (IsKeywordFragment(word)) return false;
  words.Add(word, hash);
  return true;
}

sourcemodtype::WordAdded sourcemodtype::AddScopedWord(TextView word, uint32_t context) {
  std::optional<size_t> known;
  if (KeepWord(word, known)) {
    size_t at = words.size() - 1;
    wordContexts.resize(at, 0);
    wordContexts.push_back(context);
    if (context != 0) usedContexts_.insert(uint64_t{at} << 32 | context);
    return WordAdded::New;
  }
  if (!known || *known >= wordContexts.size()) return WordAdded::Dropped;
  // Most words are used again in the block they were first used in. One
  // first used outside every type block is hidden there only by a name the
  // whole program sees, and so wherever else it is used.
  uint32_t first = wordContexts[*known];
  if (first == context || first == 0) return WordAdded::Known;
  if (!usedContexts_.insert(uint64_t{*known} << 32 | context).second) return WordAdded::Known;
  furtherUses.push_back({static_cast<uint32_t>(*known), context, {}});
  return WordAdded::NewContext;
}

void sourcemodtype::ReleaseWords() {
  words.Clear();
  std::vector<uint32_t>().swap(wordContexts);
  std::vector<FurtherUse>().swap(furtherUses);
  std::vector<uint8_t>().swap(hiddenWords);
  std::unordered_set<uint64_t>().swap(usedContexts_);
  for (sourcemodtype& section : sections) section.ReleaseWords();
}

void sourcemodtype::KeepOnlyExplainingWords() {
  for (sourcemodtype& section : sections) section.KeepOnlyExplainingWords();
  std::vector<uint8_t> wanted(words.size(), 0);
  auto mark = [&wanted](size_t word) {
    if (word < wanted.size()) wanted[word] = 1;
  };
  for (size_t i = 0; i < causes.size(); ++i) mark(causes[i].word);
  for (size_t i = 0; i < optionalCauses.size(); ++i) mark(optionalCauses[i].word);
  if (imagesWord) mark(*imagesWord);
  if (audioWord) mark(*audioWord);
  // No word stands past the end, as "no word" did.
  constexpr size_t kNoWord = static_cast<size_t>(-1);
  std::vector<size_t> renumbered(words.size(), kNoWord);
  std::vector<WordSite> sites;
  sites.reserve(std::count(wanted.begin(), wanted.begin() + std::min(wanted.size(), wordSites.size()), 1));
  size_t next = 0;
  for (size_t i = 0; i < wanted.size(); ++i) {
    if (!wanted[i]) continue;
    renumbered[i] = next++;
    // The sites run parallel to the first words only; so do those kept.
    if (i < wordSites.size()) sites.push_back(std::move(wordSites[i]));
  }
  auto renumber = [&renumbered](size_t word) {
    return word < renumbered.size() ? renumbered[word] : kNoWord;
  };
  for (size_t i = 0; i < causes.size(); ++i) causes[i].word = renumber(causes[i].word);
  for (size_t i = 0; i < optionalCauses.size(); ++i) {
    optionalCauses[i].word = renumber(optionalCauses[i].word);
  }
  causes.ShrinkToFit();
  optionalCauses.ShrinkToFit();
  if (imagesWord) imagesWord = renumber(*imagesWord);
  if (audioWord) audioWord = renumber(*audioWord);
  words.KeepOnly(wanted);
  wordSites = std::move(sites);
  std::vector<uint32_t>().swap(wordContexts);
  std::vector<FurtherUse>().swap(furtherUses);
  std::vector<uint8_t>().swap(hiddenWords);
  std::unordered_set<uint64_t>().swap(usedContexts_);
  // Made again if a module is ever listed after all.
  modulesLowered_ = ListIndex(true);
  optionalIndex_ = ListIndex();
  std::vector<bool>().swap(importedByListed_);
  gathered_ = 0;
  gatheredFrom_ = nullptr;
}

bool sourcemodtype::ImportedByListed(const CatalogueState& catalogue, TextView key) {
  return ImportedByListed(catalogue, catalogue.ImportNames().Find(key));
}

bool sourcemodtype::ImportedByListed(const CatalogueState& catalogue,
                                     std::optional<NameNumber> number) {
  // Gathered again when `modules` was emptied or changed by someone else, or
  // another catalogue asks.
  const NamePool& names = catalogue.ImportNames();
  bool stale = &names != gatheredFrom_ || gathered_ > modules.size() ||
               (gathered_ > 0 && modules[gathered_ - 1] != lastGathered_);
  if (stale) {
    importedByListed_.clear();
    gathered_ = 0;
    gatheredFrom_ = &names;
  }
  for (; gathered_ < modules.size(); ++gathered_) {
    const modtype* listed = catalogue.FindModule(modules[gathered_]);
    if (listed) MarkImported(names, listed->imports.Numbers());
    lastGathered_ = modules[gathered_];
  }
  return number && *number < importedByListed_.size() && importedByListed_[*number];
}

void sourcemodtype::MarkImported(const NamePool& names, std::span<const NameNumber> imports) {
  // Every module of a catalogue numbers its imports in the catalogue's pool.
  if (importedByListed_.size() < names.size()) importedByListed_.resize(names.size());
  for (NameNumber number : imports) importedByListed_[number] = true;
}

bool sourcemodtype::ListsOrImports(const CatalogueState& catalogue, TextView name) {
  Text key = Lower(name);
  return modulesLowered_.Holds(modules, key) || ImportedByListed(catalogue, key);
}

sourcemodtype& sourcemodtype::Section(TextView wanted, TextView key) {
  for (sourcemodtype& section : sections) {
    if (section.conditionKey == key) return section;
  }
  sourcemodtype& made = sections.emplace_back();
  made.condition = Trim(wanted);
  made.conditionKey = key;
  made.path = path;
  made.folder = folder;
  return made;
}

ModuleFacts FactsOf(const CatalogueState& catalogue, TextView declaredName,
                    const RuleSet* rules) {
  ModuleFacts facts;
  Text key = Lower(declaredName);
  facts.declaredName = declaredName;
  facts.toAppend = declaredName;
  // The language's own runtime: every program has it.
  facts.dropped = key == u"brl.blitz";
  if (rules) {
    for (const ModuleRename& rename : rules->renames) {
      if (Lower(rename.from) == key) facts.toAppend = rename.to;
    }
  }
  facts.keyHash = FoldedHash(key);
  facts.appendHash = FoldedHash(facts.toAppend);
  facts.number = catalogue.ImportNames().Find(key);
  if (const modtype* listed = catalogue.FindModule(facts.toAppend)) {
    facts.listedImports = listed->imports.Numbers();
  }
  return facts;
}

void sourcemodtype::AddModule(const CatalogueState& catalogue, const ModuleFacts& facts) {
  if (facts.dropped) return;
  if (unguarded && unguarded->ListsOrImports(catalogue, facts.declaredName)) return;
  // The renamed form counts too: brl.audio and brl.audiosample would
  // otherwise both list BRL.FreeAudioAudio. The list compares with case
  // folded, so the name as declared asks as its lower-cased form would.
  if (modulesLowered_.Holds(modules, facts.declaredName, facts.keyHash) ||
      modulesLowered_.Holds(modules, facts.toAppend, facts.appendHash)) {
    return;
  }
  if (ImportedByListed(catalogue, facts.number)) return;
  modules.Edit().emplace_back(facts.toAppend);
  // The gathering is up to date (just asked), so the new entry's imports are
  // marked here, without looking its record up again.
  MarkImported(catalogue.ImportNames(), facts.listedImports);
  lastGathered_ = modules.back();
  ++gathered_;
}

void sourcemodtype::AddModule(const CatalogueState& catalogue, TextView name,
                              const RuleSet* rules) {
  AddModule(catalogue, FactsOf(catalogue, name, rules));
}

void sourcemodtype::AddOptionalModule(TextView name) {
  if (optionalIndex_.Holds(optionalModules, name)) return;
  if (modulesLowered_.Holds(modules, name)) return;
  optionalModules.Edit().emplace_back(name);
}

}  // namespace vt
