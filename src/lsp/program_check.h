// One program checked as --check checks it: the examination of its main
// file over the open documents, and the header plan of each unit.
#pragma once

#include <set>

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

  const FilePlan* PlanOf(TextView path) const;
  // Whether the header may be written as --write would: it refuses when a
  // file named by the program could not be read.
  bool Complete() const {
    return examination.warnings.empty() && examination.filesNotRead.empty();
  }
};

// Examines `mainPath` with the installation's catalogue, rules and files,
// reading again only what changed since its last examination.
ProgramCheck CheckProgram(Installation& installation, const Text& mainPath);

}  // namespace vt::lsp
