// How the core says that a step failed. A Fault holds the reason, in words
// the user can act on, and is empty when the step did its work; a step that
// makes something returns a Result: the value, or the fault. The core never
// prints a fault: each front end shows it its own way.
#pragma once

#include <cassert>
#include <optional>
#include <utility>

#include "base/text.h"

namespace vt {

class [[nodiscard]] Fault {
 public:
  Fault() = default;
  explicit Fault(Text message) : message_(std::move(message)) {}

  // Whether the step failed.
  explicit operator bool() const { return !message_.empty(); }
  const Text& message() const { return message_; }

  bool operator==(const Fault&) const = default;

 private:
  Text message_;
};

template <typename T>
class [[nodiscard]] Result {
 public:
  Result(T value) : value_(std::move(value)) {}
  Result(Fault fault) : fault_(std::move(fault)) { assert(fault_); }

  // Whether the step made its value.
  explicit operator bool() const { return value_.has_value(); }
  T& operator*() { return *value_; }
  const T& operator*() const { return *value_; }
  T* operator->() { return &*value_; }
  const T* operator->() const { return &*value_; }
  // Empty when the value was made.
  const Fault& fault() const { return fault_; }

 private:
  std::optional<T> value_;
  Fault fault_;
};

}  // namespace vt
