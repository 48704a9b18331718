// A list of texts whose copies share one vector until one of them is
// changed. A large program's suggestion repeats the module lists of its
// records, examination after examination, and changes few of them: shared,
// a copy costs a count, and two copies compare equal at a glance.
#pragma once

#include <initializer_list>
#include <memory>
#include <vector>

#include "base/text.h"

namespace vt {

class SharedTextList {
 public:
  using value_type = Text;
  using size_type = std::vector<Text>::size_type;
  using const_iterator = std::vector<Text>::const_iterator;
  using iterator = const_iterator;
  using const_reference = const Text&;
  using reference = const Text&;

  SharedTextList() = default;
  SharedTextList(std::vector<Text> list)  // NOLINT: a list stands for its share
      : list_(list.empty() ? nullptr : std::make_shared<std::vector<Text>>(std::move(list))) {}
  SharedTextList(std::initializer_list<Text> list) : SharedTextList(std::vector<Text>(list)) {}

  const std::vector<Text>& List() const { return list_ ? *list_ : Empty(); }
  operator const std::vector<Text>&() const { return List(); }  // NOLINT: read as a vector

  const_iterator begin() const { return List().begin(); }
  const_iterator end() const { return List().end(); }
  size_type size() const { return list_ ? list_->size() : 0; }
  bool empty() const { return size() == 0; }
  const Text& operator[](size_type i) const { return (*list_)[i]; }
  const Text& front() const { return list_->front(); }
  const Text& back() const { return list_->back(); }

  // The list to change: this copy's own, made so if others share it.
  std::vector<Text>& Edit() {
    if (!list_) {
      list_ = std::make_shared<std::vector<Text>>();
    } else if (list_.use_count() > 1) {
      list_ = std::make_shared<std::vector<Text>>(*list_);
    }
    return *list_;
  }
  void clear() { list_.reset(); }

  // Whether the two share one list: then they are equal without a look.
  bool Shares(const SharedTextList& other) const { return list_ && list_ == other.list_; }

  friend bool operator==(const SharedTextList& a, const SharedTextList& b) {
    return a.list_ == b.list_ || a.List() == b.List();
  }
  friend bool operator==(const SharedTextList& a, const std::vector<Text>& b) {
    return a.List() == b;
  }

 private:
  static const std::vector<Text>& Empty() {
    static const std::vector<Text> empty;
    return empty;
  }

  std::shared_ptr<std::vector<Text>> list_;
};

}  // namespace vt
