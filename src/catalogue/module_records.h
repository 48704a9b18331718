// The records of the module catalogue.
#pragma once

#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "base/position_set.h"
#include "base/text.h"
#include "catalogue/import_list.h"

namespace vt {

// Membership of an ordered list in constant time: a set kept beside the list
// and brought up to date with the entries appended since the last question.
// The list stays the one that keeps the order. A list that was emptied or
// refilled is indexed again; only an entry changed in place would go unseen.
class ListIndex {
 public:
  // With `lowered`, entries are compared lower-cased (A..Z only), and so is
  // the question.
  explicit ListIndex(bool lowered = false) : entries_(lowered) {}

  // Whether `list` holds `entry` (exactly, or lower-cased).
  bool Holds(const TextList& list, TextView entry);
  // The same, with `hash` the index's Hash(entry) worked out beforehand.
  bool Holds(const TextList& list, TextView entry, size_t hash);
  size_t Hash(TextView entry) const { return entries_.Hash(entry); }

 private:
  void CatchUp(const TextList& list);

  // The positions of the list last asked about that are indexed.
  PositionSet entries_;
  const TextList* list_ = nullptr;
  size_t indexed_ = 0;
  // The last entry indexed, to notice a list that was emptied and refilled.
  Text last_;
};

// One installed module.
class modtype {
 public:
  modtype() = default;
  // The module's imports number their names in `names`.
  explicit modtype(std::shared_ptr<NamePool> names) : imports(std::move(names)) {}

  // Its place in ModList.
  uint32_t position = 0;
  Text name;
  Text declaredName;
  ImportList imports;
  TextList commands;
  // Lower-cased names of the public types; a program that names one needs the
  // module as much as one that calls a command.
  TextList types;
  // Lower-cased names of the public constants, declared where functions
  // count as commands. Only the modern rules match them: programs for SDL
  // use its constants alone.
  TextList constants;
  // The modules the sources import without quotes, of every namespace, in
  // source order; `imports` keeps only those of brl and pub, as the classic
  // distribution's rules have it.
  TextList namedImports;
  // Whether a source declares what only the modern distribution has: a
  // Struct, Interface or Enum block, or a "?bmxng" section.
  bool modernSource = false;
  // Where a command, type or constant is declared only inside a platform
  // section: the section's condition as written ("Win32"), each once.
  // commandSections, typeSections and constantSections run parallel to
  // `commands`, `types` and `constants` as far as they reach; an entry
  // n > 0 is sections[n - 1], 0 or no entry is none, so a module with no
  // declarations inside sections keeps them empty.
  TextList sections;
  std::vector<uint16_t> commandSections;
  std::vector<uint16_t> typeSections;
  std::vector<uint16_t> constantSections;
  // The condition of the section numbered `section` as above; empty for 0.
  TextView SectionCondition(uint16_t section) const {
    return section == 0 || section > sections.size() ? TextView() : TextView(sections[section - 1]);
  }
};

// The rules a catalogue is read and used with: those of the classic BlitzMax
// distribution or those of the modern one.
enum class RuleSetKind { Classic, Modern };

// The catalogue of one installation, in the order the scan found the modules.
struct CatalogueState {
  std::vector<std::unique_ptr<modtype>> ModList;
  int CommandCount = 0;
  // The rules its imports were closed under and its matches follow.
  RuleSetKind ruleSet = RuleSetKind::Classic;

  // Appends a record named `name` (a lower-case folder name) to ModList.
  modtype* CreateModule(TextView name);
  // The first record whose name equals the lower-cased argument, or null.
  modtype* FindModule(TextView name) const;
  // Empties the catalogue.
  void Clear();
  // The pool every module's imports number their names in.
  const NamePool& ImportNames() const { return *importNames_; }

 private:
  std::shared_ptr<NamePool> importNames_ = std::make_shared<NamePool>();
  // Hashes and compares names with A..Z folded, so that a question needs no
  // lower-cased copy.
  struct FoldedName {
    using is_transparent = void;
    size_t operator()(TextView name) const;
    bool operator()(TextView a, TextView b) const;
  };
  // Name to the first record of that name in ModList order. Names with
  // capitals are left out: a lower-cased question never finds them.
  std::unordered_map<Text, modtype*, FoldedName, FoldedName> byName_;
};

// True when `list` holds exactly `entry`. A linear search: for lists that
// are asked once, not inside a loop.
bool Contains(const TextList& list, TextView entry);

}  // namespace vt
