// Command, type and constant names to the modules that declare them. Every
// word of every record is looked up here, and most words are no command: the
// table is one flat array of small slots, so that a word costs one probe
// into memory that stays in the cache rather than a walk through scattered
// nodes.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "base/position_set.h"
#include "catalogue/module_records.h"

namespace vt {

// Which names of each module an index holds.
enum class IndexedNames { CommandsAndTypes, TypesOnly };

class ConditionNumbers;

class CommandIndex {
 public:
  // Finds the same modules in the same order as walking every module's
  // command and type lists (and, under the modern rules, its constants) in
  // catalogue order; a module is listed once per name. The index reads the
  // names in `catalogue`, which must outlive it unchanged.
  //
  // Under the modern rules each (name, module) has the condition of the
  // platform sections the module declares the name in, as SimplifyCondition
  // leaves it: a declaration in a section that never holds ("?Not bmxng")
  // is no declaration, one outside any section or in one that always holds
  // makes the name unconditional, and several declarations hold when any
  // does. The classic rules declare everything unconditionally.
  explicit CommandIndex(const CatalogueState& catalogue,
                        IndexedNames which = IndexedNames::CommandsAndTypes);

  // The modules that declare a name, and under which condition each does.
  struct Declaring {
    std::span<const uint32_t> places;
    // Parallel to `places`: 0 for an unconditional declaration, else the
    // number of its condition (see Condition); empty when the whole index
    // is unconditional.
    std::span<const uint32_t> conditions;
  };
  Declaring FindDeclaring(TextView name, size_t hash) const;
  // The condition numbered `number` (from 1), such as "Win32".
  TextView Condition(uint32_t number) const { return conditionTexts_[number - 1]; }
  size_t ConditionCount() const { return conditionTexts_.size(); }

  // The modules that declare `name`, as their places in ModList, in
  // catalogue order; empty when none. Places, so that a caller keeps what it
  // needs of each module in arrays of its own rather than reading the
  // records.
  std::span<const uint32_t> Find(TextView name) const { return Find(name, Hash(name)); }
  // The same, with `hash` = Hash(name) worked out beforehand.
  std::span<const uint32_t> Find(TextView name, size_t hash) const;
  size_t Hash(TextView name) const { return entries_.Hash(name); }
  // Start loading what Find(name, hash) reads, in the order it reads it:
  // its slot, then (the slot being there) the entry's bounds, then (those
  // being there) the name and the places. A loop calls each a few words
  // ahead of the one before.
  void Prefetch(size_t hash) const { entries_.Prefetch(hash); }
  void PrefetchEntry(size_t hash) const {
    if (std::optional<size_t> entry = entries_.Likely(hash)) {
      __builtin_prefetch(&nameStart_[*entry]);
      __builtin_prefetch(&first_[*entry]);
    }
  }
  void PrefetchData(size_t hash) const {
    if (std::optional<size_t> entry = entries_.Likely(hash)) {
      __builtin_prefetch(names_.data() + nameStart_[*entry]);
      __builtin_prefetch(positions_.data() + first_[*entry]);
    }
  }

 private:
  struct Gathering;
  void Declare(Gathering& gathering, ConditionNumbers& numbers, const Text& name,
               const modtype* module, uint32_t condition);
  void LayOut(const Gathering& gathering);
  std::optional<size_t> EntryOf(TextView name, size_t hash) const;
  TextView NameOf(size_t entry) const {
    return TextView(names_).substr(nameStart_[entry], nameStart_[entry + 1] - nameStart_[entry]);
  }

  // Entry numbers, by name.
  PositionSet entries_;
  // The names one after another, entry e at nameStart_[e] .. nameStart_[e + 1]:
  // a word that hits is compared in one small block, not in strings spread
  // over the catalogue.
  Text names_;
  std::vector<uint32_t> nameStart_{0};
  // The modules of entry e are positions_[first_[e] .. first_[e + 1]): one
  // array for all, rather than one allocation per name.
  std::vector<uint32_t> first_;
  std::vector<uint32_t> positions_;
  // Parallel to positions_, when any declaration is conditional: the
  // number of its condition in conditionTexts_ (from 1), 0 for none.
  std::vector<uint32_t> conditions_;
  TextList conditionTexts_;
};

}  // namespace vt
