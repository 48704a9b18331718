// What --check and --list print as plain text, made from the plan.
#pragma once

#include <string>

#include "header/header_plan.h"

namespace vt {

// "file:line: missing Import BRL.X (reason)" and the like, without an
// ending; a Framework line that is missing altogether says how many modules
// the program could drop (`saving`).
Text FindingText(const HeaderFinding& finding, const FrameworkSaving& saving);
// The same without the place, for a front end that shows the place itself
// (an editor's diagnostic).
Text FindingMessage(const HeaderFinding& finding, const FrameworkSaving& saving);

// One line per difference and note of every file, each ended. UTF-8.
std::string CheckText(const HeaderPlan& plan);

// The files with a difference, one name a line, each once, for a terminal.
std::string ListedFiles(const HeaderPlan& plan);

}  // namespace vt
