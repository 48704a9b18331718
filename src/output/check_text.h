// What --check and --list print as plain text, made from the plan.
#pragma once

#include <string>

#include "app/header_edit_text.h"
#include "header/header_plan.h"

namespace vt {

// One line per difference and note of every file, each ended. UTF-8.
std::string CheckText(const HeaderPlan& plan);

// The files with a difference, one name a line, each once, for a terminal.
std::string ListedFiles(const HeaderPlan& plan);

}  // namespace vt
