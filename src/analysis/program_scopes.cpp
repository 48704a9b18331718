#include "analysis/program_scopes.h"

#include <algorithm>

#include "analysis/source_records.h"

namespace vt {

namespace {

bool IsNameStart(char16_t c) { return (c >= u'a' && c <= u'z') || c == u'_'; }
bool IsNameChar(char16_t c) { return IsNameStart(c) || (c >= u'0' && c <= u'9'); }
bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }
bool IsSigil(char16_t c) { return c == u'%' || c == u'#' || c == u'!' || c == u'$'; }

size_t SkipBlanks(TextView low, size_t at) {
  while (at < low.size() && IsBlank(low[at])) ++at;
  return at;
}

// The end of the name starting at `at`; `at` itself when none starts there.
size_t NameEnd(TextView low, size_t at) {
  if (at >= low.size() || !IsNameStart(low[at])) return at;
  while (at < low.size() && IsNameChar(low[at])) ++at;
  return at;
}

bool Holds(const NameSet& names, TextView name) {
  return !names.empty() && names.find(name) != names.end();
}

// Whether an item of a declaration list starts at `at`: a name, perhaps a
// type sigil, then what may follow a declared name. So the comma inside
// "TMap<String, Int>" starts none.
bool StartsListItem(TextView low, size_t at) {
  at = SkipBlanks(low, at);
  size_t end = NameEnd(low, at);
  if (end == at) return false;
  if (end < low.size() && IsSigil(low[end])) ++end;
  end = SkipBlanks(low, end);
  if (end == low.size()) return true;
  return TextView(u":=,;['").find(low[end]) != TextView::npos;
}

// Whether `word` ("abstract") stands as a whole word in `low` after `from`.
bool HasWord(TextView low, TextView word, size_t from) {
  for (size_t at = low.find(word, from); at != TextView::npos; at = low.find(word, at + 1)) {
    bool startsWord = at == 0 || !IsNameChar(low[at - 1]);
    size_t end = at + word.size();
    if (startsWord && (end == low.size() || !IsNameChar(low[end]))) return true;
  }
  return false;
}

// Whether the line ends the block it opens on the same line
// ("Function F() Return 1 End Function").
bool ClosesOnSameLine(TextView low, size_t from, TextView keyword) {
  TextView rest = low.substr(from);
  Text spaced = u"end " + Text(keyword);
  Text joined = u"end" + Text(keyword);
  return HasWord(rest, spaced, 0) || HasWord(rest, joined, 0);
}

}  // namespace

TextView ProgramScopes::ScopeKey(TextView word) {
  size_t dot = word.find(u'.');
  if (dot == TextView::npos) return word;
  return word.substr(0, dot);
}

void ProgramScopes::StartFile() {
  openTypes_.clear();
  inFunction_ = false;
  inExtern_ = false;
  locals_.clear();
  mainLocals_.clear();
}

void ProgramScopes::DeclareShared(TextView name) {
  if (!Kept(name)) return;
  if (inFunction_) {
    locals_.emplace(name);
  } else if (TypeBlock* type = TopType()) {
    type->members.emplace(name);
    anyMember_.emplace(name);
  } else if (globals_.emplace(name).second && notedGlobals_) {
    notedGlobals_->emplace_back(name);
  }
}

void ProgramScopes::DeclareLocal(TextView name) {
  if (!Kept(name)) return;
  if (inFunction_) {
    locals_.emplace(name);
  } else if (openTypes_.empty()) {
    mainLocals_.emplace(name);
  }
}

template <typename Declare>
void ProgramScopes::ReadNameList(TextView low, size_t at, char16_t stop, Declare&& declare) {
  while (at < low.size()) {
    at = SkipBlanks(low, at);
    size_t end = NameEnd(low, at);
    if (end > at) {
      declaredAt_.push_back(at);
      declare(low.substr(at, end - at));
    }
    // On to the comma that starts the next item, past what the item holds.
    int depth = 0;
    bool next = false;
    for (at = end; at < low.size(); ++at) {
      char16_t c = low[at];
      if (c == u'"') {
        size_t close = low.find(u'"', at + 1);
        if (close == TextView::npos) return;
        at = close;
      } else if (c == u'(' || c == u'[') {
        ++depth;
      } else if (c == u')' || c == u']') {
        if (depth == 0 && c == stop) return;
        --depth;
      } else if (depth <= 0 && (c == u';' || c == u'\'')) {
        return;
      } else if (depth <= 0 && c == u',' && StartsListItem(low, at + 1)) {
        ++at;
        next = true;
        break;
      }
    }
    if (!next) return;
  }
}

void ProgramScopes::OpenType(TextView low, size_t keywordEnd, TextView keyword) {
  size_t at = SkipBlanks(low, keywordEnd);
  size_t end = NameEnd(low, at);
  // "Type" alone, or "enum.value" in old code, opens nothing.
  if (end == at || at == keywordEnd) return;
  CloseFunction();
  TextView name = low.substr(at, end - at);
  declaredAt_.push_back(at);
  DeclareShared(name);
  TypeBlock block;
  block.name = name;
  block.isInterface = keyword == u"interface";
  block.isEnum = keyword == u"enum";
  size_t extends = low.find(u"extends", end);
  if (extends != TextView::npos && HasWord(low, u"extends", end)) {
    size_t baseAt = SkipBlanks(low, extends + 7);
    block.base = low.substr(baseAt, NameEnd(low, baseAt) - baseAt);
  }
  types_.push_back(std::move(block));
  uint32_t number = static_cast<uint32_t>(types_.size());
  typeByName_.try_emplace(Text(name), number);
  openTypes_.push_back(number);
}

void ProgramScopes::OpenFunction(TextView low, size_t keywordEnd) {
  CloseFunction();
  size_t at = SkipBlanks(low, keywordEnd);
  size_t end = NameEnd(low, at);
  if (end == at) return;
  declaredAt_.push_back(at);
  DeclareShared(low.substr(at, end - at));
  const TypeBlock* type = TopType();
  bool bodiless = inExtern_ || (type && type->isInterface) || HasWord(low, u"abstract", end);
  size_t open = low.find(u'(', end);
  NameSet parameters;
  if (open != TextView::npos) {
    ReadNameList(low, open + 1, u')',
                 [&](TextView name) {
                   if (Kept(name)) parameters.emplace(name);
                 });
  }
  if (bodiless) return;
  inFunction_ = true;
  locals_ = std::move(parameters);
}

void ProgramScopes::CloseFunction() {
  inFunction_ = false;
  locals_.clear();
}

void ProgramScopes::ReadForLocal(TextView low, size_t keywordEnd) {
  size_t at = SkipBlanks(low, keywordEnd);
  if (low.substr(at, NameEnd(low, at) - at) != u"local") return;
  size_t nameAt = SkipBlanks(low, at + 5);
  size_t end = NameEnd(low, nameAt);
  if (end == nameAt) return;
  declaredAt_.push_back(nameAt);
  DeclareLocal(low.substr(nameAt, end - nameAt));
}

void ProgramScopes::ReadBlockEnd(TextView low, size_t keywordEnd, TextView keyword) {
  TextView closed = keyword == u"end" ? low.substr(SkipBlanks(low, keywordEnd))
                                      : TextView(keyword).substr(3);
  closed = closed.substr(0, NameEnd(closed, 0));
  if (closed == u"function" || closed == u"method") {
    CloseFunction();
  } else if (closed == u"type" || closed == u"struct" || closed == u"interface" ||
             closed == u"enum") {
    CloseFunction();
    if (!openTypes_.empty()) openTypes_.pop_back();
  } else if (closed == u"extern") {
    inExtern_ = false;
  }
}

bool ProgramScopes::ReadDeclarations(TextView low) {
  size_t keywordEnd = NameEnd(low, 0);
  TextView keyword = low.substr(0, keywordEnd);
  auto shared = [this](TextView name) { DeclareShared(name); };
  if (keyword == u"type" || keyword == u"struct" || keyword == u"interface" ||
      keyword == u"enum") {
    OpenType(low, keywordEnd, keyword);
  } else if (keyword == u"function" || keyword == u"method") {
    OpenFunction(low, keywordEnd);
    return inFunction_ && ClosesOnSameLine(low, keywordEnd, keyword);
  } else if (keyword == u"local") {
    ReadNameList(low, keywordEnd, 0, [this](TextView name) { DeclareLocal(name); });
  } else if (keyword == u"global" || keyword == u"const") {
    ReadNameList(low, keywordEnd, 0, shared);
  } else if (keyword == u"field") {
    // A Field stands in a type's own block: a method without a body
    // (abstract, or of an interface) opened no scope that is still open.
    CloseFunction();
    ReadNameList(low, keywordEnd, 0, shared);
  } else if (keyword == u"for") {
    ReadForLocal(low, keywordEnd);
  } else if (keyword == u"extern") {
    inExtern_ = true;
  } else if (StartsWith(keyword, u"end")) {
    ReadBlockEnd(low, keywordEnd, keyword);
  } else if (const TypeBlock* type = TopType(); type && type->isEnum && keywordEnd > 0) {
    // An enum's body lists its members.
    ReadNameList(low, 0, 0, shared);
  }
  return false;
}

void ProgramScopes::ReadLine(TextView low, std::span<const WordSpan> spans,
                             std::vector<uint32_t>& uses) {
  declaredAt_.clear();
  bool closeAfter = ReadDeclarations(low);
  uint32_t context = CurrentType();
  bool inMain = !inFunction_ && openTypes_.empty();
  uses.assign(spans.size(), context);
  for (size_t i = 0; i < spans.size(); ++i) {
    const WordSpan& span = spans[i];
    if (std::find(declaredAt_.begin(), declaredAt_.end(), span.start) != declaredAt_.end()) {
      uses[i] = kDeclaredHere;
      continue;
    }
    TextView key = ScopeKey(low.substr(span.start, span.length));
    if (key.empty()) continue;
    if ((inFunction_ && Holds(locals_, key)) || (inMain && Holds(mainLocals_, key))) {
      uses[i] = kHiddenHere;
    }
  }
  if (closeAfter) CloseFunction();
}

std::vector<ProgramScopes::TypeBlock> ProgramScopes::TypesSince(size_t count) const {
  if (count >= types_.size()) return {};
  return std::vector<TypeBlock>(types_.begin() + static_cast<ptrdiff_t>(count), types_.end());
}

void ProgramScopes::DeclareAgain(const Declarations& declared) {
  for (const TypeBlock& type : declared.types) {
    types_.push_back(type);
    typeByName_.try_emplace(type.name, static_cast<uint32_t>(types_.size()));
    anyMember_.insert(type.members.begin(), type.members.end());
  }
  globals_.insert(declared.globals.begin(), declared.globals.end());
}

namespace {

// A set's hash that does not depend on the order it was filled in.
uint64_t SetHash(const std::unordered_set<Text>& names) {
  uint64_t sum = names.size();
  for (const Text& name : names) sum += std::hash<Text>{}(name) * 0x9E3779B97F4A7C15ull + 1;
  return sum;
}

uint64_t Mix(uint64_t seed, uint64_t value) {
  return (seed ^ value) * 0x100000001B3ull + (seed >> 29);
}

}  // namespace

uint64_t ProgramScopes::Fingerprint() const {
  uint64_t print = Mix(SetHash(globals_), types_.size());
  for (const TypeBlock& type : types_) {
    print = Mix(print, std::hash<Text>{}(type.name));
    print = Mix(print, std::hash<Text>{}(type.base));
    print = Mix(print, SetHash(type.members));
  }
  return print;
}

bool ProgramScopes::Hides(const Text& key, uint32_t context) const {
  if (globals_.count(key)) return true;
  // A chain of bases longer than this is a cycle in a broken program.
  for (int depth = 0; context != 0 && depth < 64; ++depth) {
    const TypeBlock& type = types_[context - 1];
    if (type.members.count(key)) return true;
    auto base = type.base.empty() ? typeByName_.end() : typeByName_.find(type.base);
    context = base == typeByName_.end() ? 0 : base->second;
  }
  return false;
}

void ProgramScopes::MarkHidden(sourcemodtype& record) const {
  for (sourcemodtype& section : record.sections) MarkHidden(section);
  record.hiddenWords.assign(record.words.size(), 0);
  if (record.wordContexts.size() != record.words.size()) return;
  for (size_t i = 0; i < record.words.size(); ++i) {
    Text key(ScopeKey(record.words[i]));
    if (key.empty() || key[0] == u'"') continue;
    if (!globals_.count(key) && !anyMember_.count(key)) continue;
    record.hiddenWords[i] = Hides(key, record.wordContexts[i]);
  }
  // A word hidden where it first stands may be used elsewhere in the open:
  // the first such use is where it is explained.
  for (const sourcemodtype::FurtherUse& use : record.furtherUses) {
    if (!record.hiddenWords[use.word]) continue;
    Text key(ScopeKey(record.words[use.word]));
    if (Hides(key, use.context)) continue;
    record.hiddenWords[use.word] = 0;
    if (use.word < record.wordSites.size() && !use.site.spelling.empty()) {
      record.wordSites[use.word] = use.site;
    }
  }
}

}  // namespace vt
