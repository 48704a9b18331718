// A file's edit as ranges of lines, for an editor to apply.
#pragma once

#include <vector>

#include "header/header_edit.h"

namespace vt {

// One change of a file's lines: `removed` lines from 1-based `line` on go,
// and `inserted` come in their place (at `line`, when none go).
struct LineReplacement {
  size_t line = 1;
  size_t removed = 0;
  std::vector<Text> inserted;
};

// The edit of one file as line ranges, the same ones its unified diff shows.
std::vector<LineReplacement> Replacements(const TextLines& before, const HeaderEdit& edit);

}  // namespace vt
