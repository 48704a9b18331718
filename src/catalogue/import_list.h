// A module's import list, held compactly. After the closure a module lists
// every module it reaches, so a long import chain makes lists whose total
// length is the square of the chain's: with one small number per entry,
// standing for a name kept once for the whole catalogue, that still fits in
// memory where a string per entry would not.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <iterator>
#include <memory>
#include <optional>
#include <vector>

#include "base/position_set.h"
#include "base/text.h"

namespace vt {

using TextList = std::vector<Text>;
using NameNumber = uint32_t;

// Names numbered in the order they are first seen.
class NamePool {
 public:
  // The number of `name`, which is added when it is new.
  NameNumber Number(TextView name);
  const Text& Name(NameNumber number) const { return names_[number]; }
  // The number of `name`, if it has one.
  std::optional<NameNumber> Find(TextView name) const;
  size_t size() const { return names_.size(); }

 private:
  std::optional<NameNumber> Find(TextView name, size_t hash) const;

  // A deque, so that the names handed out stay in place as it grows.
  std::deque<Text> names_;
  PositionSet numbers_;
};

// An ordered list of names that reads like a list of Text.
class ImportList {
 public:
  class const_iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = Text;
    using difference_type = std::ptrdiff_t;
    using pointer = const Text*;
    using reference = const Text&;

    const_iterator() = default;
    const_iterator(const NamePool* pool, const NameNumber* at) : pool_(pool), at_(at) {}
    reference operator*() const { return pool_->Name(*at_); }
    pointer operator->() const { return &**this; }
    const_iterator& operator++() {
      ++at_;
      return *this;
    }
    const_iterator operator++(int) {
      const_iterator before = *this;
      ++at_;
      return before;
    }
    bool operator==(const const_iterator& other) const { return at_ == other.at_; }

   private:
    const NamePool* pool_ = nullptr;
    const NameNumber* at_ = nullptr;
  };
  using iterator = const_iterator;
  using value_type = Text;

  // A list with a pool of its own; a catalogue gives all its lists one pool.
  ImportList() : pool_(std::make_shared<NamePool>()) {}
  explicit ImportList(std::shared_ptr<NamePool> pool) : pool_(std::move(pool)) {}
  explicit ImportList(const TextList& names) : ImportList() { *this = names; }
  ImportList(const ImportList&) = default;
  // Takes the names of `other` into this list's own pool, so that every list
  // of a catalogue keeps numbering names alike.
  ImportList& operator=(const ImportList& other);
  ImportList& operator=(const TextList& names);

  size_t size() const { return numbers_.size(); }
  bool empty() const { return numbers_.empty(); }
  const Text& operator[](size_t i) const { return pool_->Name(numbers_[i]); }
  const Text& back() const { return pool_->Name(numbers_.back()); }
  const_iterator begin() const { return {pool_.get(), numbers_.data()}; }
  const_iterator end() const { return {pool_.get(), numbers_.data() + numbers_.size()}; }

  void push_back(TextView name) { numbers_.push_back(pool_->Number(name)); }
  void clear() { numbers_.clear(); }
  template <typename It>
  void assign(It first, It last) {
    clear();
    for (; first != last; ++first) push_back(*first);
  }
  TextList Names() const { return TextList(begin(), end()); }

  // The entries as the numbers of their names in Pool().
  const std::vector<NameNumber>& Numbers() const { return numbers_; }
  void PushNumber(NameNumber number) { numbers_.push_back(number); }
  // Gives back the room kept for growth, once the list is complete.
  void ShrinkToFit() { numbers_.shrink_to_fit(); }
  const std::shared_ptr<NamePool>& Pool() const { return pool_; }

 private:
  std::shared_ptr<NamePool> pool_;
  std::vector<NameNumber> numbers_;
};

bool operator==(const ImportList& list, const TextList& names);
bool operator==(const ImportList& a, const ImportList& b);

}  // namespace vt
