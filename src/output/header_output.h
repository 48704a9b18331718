// What --check and --diff report, as data for editors and CI: one JSON
// document, or GitHub workflow annotations.
#pragma once

#include <string>

#include "header/header_check.h"

namespace vt {

// The findings and edits of a header run as a JSON document (the schema of
// docs/cli-json-schema.md), ending with a line feed. `mode` is "check" or
// "diff".
std::string HeaderResultJson(const HeaderResult& result, TextView mode, TextView ruleSet);

// One "::error file=...,line=...::text" line per difference, and a
// "::notice ..." line per note, as GitHub Actions shows them on the changed
// files.
std::string GithubAnnotations(const HeaderResult& result);

}  // namespace vt
