#include "analysis/command_index.h"

#include <unordered_map>

#include "catalogue/platform_condition.h"

namespace vt {

namespace {

constexpr uint32_t kUnconditional = 0;
// A declaration in a section that never holds: none at all.
constexpr int64_t kNeverDeclared = -1;

}  // namespace

// The condition numbers of an index, given out as its conditions are met.
class ConditionNumbers {
 public:
  explicit ConditionNumbers(TextList& texts) : texts_(texts) {}

  // The number of `known`: kUnconditional when it always holds,
  // kNeverDeclared when it never does.
  int64_t Of(const KnownCondition& known) {
    if (known.kind == KnownCondition::Kind::Always) return kUnconditional;
    if (known.kind == KnownCondition::Kind::Never) return kNeverDeclared;
    auto [at, added] = numbers_.try_emplace(known.text, texts_.size() + 1);
    if (added) texts_.push_back(known.text);
    return at->second;
  }
  // The number of a section's condition as written, under the modern
  // rules: the same few conditions head sections in many modules.
  int64_t OfSection(const Text& condition) {
    auto [at, added] = sections_.try_emplace(condition, kUnconditional);
    if (added) at->second = Of(SimplifyCondition(condition, true));
    return at->second;
  }
  // The number of the condition under which `a` or `b` holds.
  uint32_t Either(uint32_t a, uint32_t b) {
    if (a == kUnconditional || b == kUnconditional) return kUnconditional;
    if (a == b) return a;
    return static_cast<uint32_t>(Of(EitherCondition(texts_[a - 1], texts_[b - 1])));
  }

 private:
  TextList& texts_;
  std::unordered_map<Text, uint32_t> numbers_;
  std::unordered_map<Text, int64_t> sections_;
};

namespace {

// The number of the condition of each section of `module` (modtype::sections,
// in order), under the modern rules.
std::vector<int64_t> SectionNumbers(const modtype& module, ConditionNumbers& numbers) {
  std::vector<int64_t> found;
  found.reserve(module.sections.size());
  for (const Text& condition : module.sections) {
    found.push_back(numbers.OfSection(condition));
  }
  return found;
}

// One list of names of a module, with the sections they stand in, and
// whether the index holds it.
struct NameList {
  const TextList* names;
  const std::vector<uint16_t>* sections;
  bool indexed;
};

}  // namespace

// Each name's modules in catalogue order, gathered as (entry, module) pairs
// and then laid out entry by entry.
struct CommandIndex::Gathering {
  struct Declared {
    uint32_t entry;
    const modtype* module;
    uint32_t condition;
  };
  std::vector<Declared> declared;
  // For each entry, the last module that declares it and its pair.
  std::vector<const modtype*> lastModule;
  std::vector<size_t> lastPair;
  std::vector<uint32_t> counts;
};

void CommandIndex::Declare(Gathering& gathering, ConditionNumbers& numbers, const Text& name,
                           const modtype* module, uint32_t condition) {
  size_t hash = entries_.Hash(name);
  std::optional<size_t> found = EntryOf(name, hash);
  uint32_t entry = static_cast<uint32_t>(found ? *found : gathering.lastModule.size());
  if (!found) {
    entries_.Add(entry, hash);
    names_ += name;
    nameStart_.push_back(static_cast<uint32_t>(names_.size()));
    gathering.lastModule.push_back(nullptr);
    gathering.lastPair.push_back(0);
    gathering.counts.push_back(0);
  }
  // A module that declares a name twice is listed once, under either
  // condition.
  if (gathering.lastModule[entry] == module) {
    Gathering::Declared& pair = gathering.declared[gathering.lastPair[entry]];
    pair.condition = numbers.Either(pair.condition, condition);
    return;
  }
  gathering.lastModule[entry] = module;
  gathering.lastPair[entry] = gathering.declared.size();
  ++gathering.counts[entry];
  gathering.declared.push_back({entry, module, condition});
}

void CommandIndex::LayOut(const Gathering& gathering) {
  const std::vector<uint32_t>& counts = gathering.counts;
  first_.assign(counts.size() + 1, 0);
  for (size_t entry = 0; entry < counts.size(); ++entry) {
    first_[entry + 1] = first_[entry] + counts[entry];
  }
  // The pairs are in catalogue order, so each entry's modules stay in it.
  positions_.resize(gathering.declared.size());
  bool conditional = false;
  for (const Gathering::Declared& pair : gathering.declared) {
    conditional = conditional || pair.condition != kUnconditional;
  }
  if (conditional) conditions_.resize(gathering.declared.size());
  std::vector<uint32_t> next(first_.begin(), first_.end() - 1);
  for (const Gathering::Declared& pair : gathering.declared) {
    uint32_t at = next[pair.entry]++;
    positions_[at] = pair.module->position;
    if (conditional) conditions_[at] = pair.condition;
  }
}

CommandIndex::CommandIndex(const CatalogueState& catalogue, IndexedNames which) {
  Gathering gathering;
  ConditionNumbers numbers(conditionTexts_);
  const bool modern = catalogue.ruleSet == RuleSetKind::Modern;
  for (const auto& module : catalogue.ModList) {
    std::vector<int64_t> sectionNumbers;
    if (modern) sectionNumbers = SectionNumbers(*module, numbers);
    // The modern rules match constants as they match commands: a program
    // for SDL may use nothing of a module but its constants.
    const NameList lists[] = {
        {&module->commands, &module->commandSections, which == IndexedNames::CommandsAndTypes},
        {&module->types, &module->typeSections, true},
        {&module->constants, &module->constantSections,
         modern && which == IndexedNames::CommandsAndTypes},
    };
    for (const NameList& list : lists) {
      if (!list.indexed) continue;
      const std::vector<uint16_t>& sections = *list.sections;
      for (size_t at = 0; at < list.names->size(); ++at) {
        uint16_t section = at < sections.size() ? sections[at] : 0;
        int64_t condition = kUnconditional;
        if (section > 0 && section <= sectionNumbers.size()) {
          condition = sectionNumbers[section - 1];
        }
        if (condition == kNeverDeclared) continue;
        Declare(gathering, numbers, (*list.names)[at], module.get(),
                static_cast<uint32_t>(condition));
      }
    }
  }
  LayOut(gathering);
}

CommandIndex::Declaring CommandIndex::FindDeclaring(TextView name, size_t hash) const {
  std::optional<size_t> entry = EntryOf(name, hash);
  if (!entry) return {};
  size_t start = first_[*entry];
  size_t count = first_[*entry + 1] - start;
  Declaring found{std::span<const uint32_t>(positions_.data() + start, count), {}};
  if (!conditions_.empty()) {
    found.conditions = std::span<const uint32_t>(conditions_.data() + start, count);
  }
  return found;
}

std::optional<size_t> CommandIndex::EntryOf(TextView name, size_t hash) const {
  return entries_.FindIf(hash, [&](size_t entry) { return NameOf(entry) == name; });
}

std::span<const uint32_t> CommandIndex::Find(TextView name, size_t hash) const {
  return FindDeclaring(name, hash).places;
}

}  // namespace vt
