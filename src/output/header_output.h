// What --check and --diff report, as data for editors and CI: one JSON
// document, or GitHub workflow annotations.
#pragma once

#include <string>
#include <vector>

#include "header/header_plan.h"

namespace vt {

// The findings of a plan as a JSON document (the schema of
// docs/cli-json-schema.md), ending with a line feed. `mode` is "check" or
// "diff"; a diff adds the edits, the files left alone and the files whose
// encoding cannot hold their new lines.
std::string HeaderPlanJson(const HeaderPlan& plan, TextView mode, TextView ruleSet);
// The same for the plans of several main files of one run, as one document.
std::string HeaderPlansJson(const std::vector<const HeaderPlan*>& plans, TextView mode,
                            TextView ruleSet);

// One "::error file=...,line=...::text" line per difference, and a
// "::notice ..." line per note, as GitHub Actions shows them on the changed
// files.
std::string GithubAnnotations(const HeaderPlan& plan);

}  // namespace vt
