// One program checked as --check checks it: the examination of its main
// file over the open documents, and the header plan of each unit.
#pragma once

#include <set>
#include <unordered_set>

#include "analysis/examination.h"
#include "header/header_plan.h"
#include "lsp/installations.h"

namespace vt::lsp {

struct ProgramCheck {
  Text mainPath;
  Examination examination;
  HeaderPlan plan;
  // Every file the walk reached: the main file, its Include files and the
  // files it imports.
  std::set<Text> files;
  // The units whose plans were taken from the check before: their box and
  // bytes were the same, so their diagnostics are too.
  std::unordered_set<Text> reused;
  // False once the catalogue, the rules or the project changed: no plan of
  // this check may be taken again (which modules are installed or kept may
  // differ).
  bool plansCurrent = true;

  const FilePlan* PlanOf(TextView path) const;
  // Whether the header may be written as --write would: it refuses when a
  // file named by the program could not be read.
  bool Complete() const {
    return examination.warnings.empty() && examination.filesNotRead.empty();
  }
};

// Examines `mainPath` with the installation's catalogue, rules and files,
// reading again only what changed since its last examination. The plans of
// units that `before` (the program's last check, with the same catalogue
// and rules) judged from the same box and bytes are moved from it.
ProgramCheck CheckProgram(Installation& installation, const Text& mainPath,
                          ProgramCheck* before = nullptr);

}  // namespace vt::lsp
