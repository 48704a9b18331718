// Command and type names to the modules that declare them. Every word of
// every record is looked up here, and most words are no command: the table
// is one flat array of small slots, so that a word costs one probe into
// memory that stays in the cache rather than a walk through scattered nodes.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "catalogue/module_records.h"

namespace vt {

class CommandIndex {
 public:
  // Finds the same modules in the same order as walking every module's
  // command and type lists in catalogue order; a module is listed once per
  // name.
  explicit CommandIndex(const CatalogueState& catalogue);

  // The modules that declare `name`, in catalogue order; empty when none.
  std::span<modtype* const> Find(TextView name) const;

 private:
  // A name's entry number plus one (0: the slot is free), and the low bits
  // of its hash, so that most misses never read a name.
  struct Slot {
    uint32_t entry = 0;
    uint32_t hash = 0;
  };

  void Insert(uint32_t entry, size_t hash);

  std::vector<Slot> slots_;
  size_t mask_ = 0;
  std::vector<Text> names_;
  std::vector<std::vector<modtype*>> declaring_;
};

}  // namespace vt
