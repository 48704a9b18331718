// One program checked as --check checks it: the examination of its main
// file over the open documents, and the header plan of each unit.
#pragma once

#include <functional>
#include <set>
#include <unordered_map>
#include <unordered_set>

#include "analysis/examination.h"
#include "header/header_plan.h"
#include "lsp/installations.h"

namespace vt::lsp {

// What a file's bytes were, for telling whether they changed once a plan
// let go of them.
struct BytesDigest {
  size_t size = 0;
  size_t hash = 0;
  bool operator==(const BytesDigest&) const = default;
};
BytesDigest DigestOf(const std::string& bytes);

// What a unit's diagnostics are made from: its bytes (their ranges) and
// its findings (the rest).
struct PlanPrint {
  BytesDigest bytes;
  size_t findings = 0;
  bool operator==(const PlanPrint&) const = default;
};

// Whether the file's findings tell the saving of a Framework line: only a
// missing Framework line's message does.
bool TellsSaving(const FilePlan& file);

// Whether a file's plan must stay whole: a file the editor has open may be
// asked for its code actions and hovers, which need its lines and edit.
using WholePlanWanted = std::function<bool(const Text& path)>;

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
  // The print of each planned file.
  std::unordered_map<Text, PlanPrint> prints;
  // The files whose plans were slimmed (see Slim).
  std::unordered_set<Text> slim;
  // False once the catalogue, the rules or the project changed: no plan of
  // this check may be taken again (which modules are installed or kept may
  // differ).
  bool plansCurrent = true;

  const FilePlan* PlanOf(TextView path) const;
  // The plan of `path` with its lines and edit; null when it was slimmed.
  const FilePlan* WholePlanOf(TextView path) const;
  // Lets go of the bytes, lines, header, edit and findings of every plan
  // but the main file's and those `whole` wants, keeping their prints: a
  // program of a thousand units holds its text several times over in them,
  // and only the files open in an editor are asked for more than whether
  // their diagnostics changed. A slimmed plan is judged again before its
  // diagnostics are made again.
  void Slim(const WholePlanWanted& whole);
  // The same for one plan.
  void SlimPlan(FilePlan& file, const WholePlanWanted& whole);
  // Whether the header may be written as --write would: it refuses when a
  // file named by the program could not be read.
  bool Complete() const {
    return examination.warnings.empty() && examination.filesNotRead.empty();
  }
};

// Told of a unit's plan as soon as it is judged, with its print noted,
// before it is slimmed; not of the main file's, nor of one whose findings
// tell the saving.
using UnitSettled = std::function<void(const ProgramCheck& check, const FilePlan& file)>;

// Examines `mainPath` with the installation's catalogue, rules and files,
// reading again only what changed since its last examination. The plans of
// units that `before` (the program's last check, with the same catalogue
// and rules) judged from the same box and bytes are moved from it, unless
// slimmed ones that `whole` now wants whole or that a walk warning names.
// Each unit judged now is slimmed as soon as `settled` was told of it.
ProgramCheck CheckProgram(Installation& installation, const Text& mainPath,
                          ProgramCheck* before = nullptr, const WholePlanWanted& whole = {},
                          const UnitSettled& settled = {});

}  // namespace vt::lsp
