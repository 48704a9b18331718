// Where a word or literal of a cut line stands in it.
#pragma once

#include <cstddef>

namespace vt {

struct WordSpan {
  size_t start = 0;
  size_t length = 0;
};

}  // namespace vt
