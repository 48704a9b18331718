// Which rule files a run reads, and in what order: the shipped rules, the
// user's own, then one named on the command line, each adding to the last.
#pragma once

#include <optional>
#include <vector>

#include "analysis/rule_book.h"
#include "app/program_layout.h"
#include "base/fault.h"
#include "base/text.h"

namespace vt {

struct LoadedRules {
  RuleBook book;
  // The faults' messages, each naming the file, and the line where there
  // is one: every file is read, so there may be several.
  std::vector<Text> errors;
  // The files read, in order; the built-in copy is none.
  std::vector<Text> files;
};

// The shipped rules: HelpFolder + "/rules.txt" of `layout` when that file
// exists (so an installation's copy can be read and edited), else the
// built-in copy; then the per-user file UserDataFolder() + "/rules.txt" when
// it exists; then each of `extraFiles`, which must exist and be readable.
// A faulty file adds nothing but does not stop the later ones: every error
// is collected, and the caller decides what to do.
LoadedRules LoadRules(const ProgramLayout& layout, const std::vector<Text>& extraFiles = {});

}  // namespace vt
