// The words for a header edit that the window and the command line share:
// the diff the user agrees to, the files left alone, what failed and what
// was written. Made from the plan and from what applying it did.
#pragma once

#include <string>
#include <vector>

#include "header/header_apply.h"
#include "header/header_plan.h"

namespace vt {

// Why an edit cannot be made: the file's encoding cannot hold a character
// of the new `line`.
Text EncodingRefusal(TextEncoding encoding, TextView line);

// "file:line: missing Import BRL.X (reason)" and the like, as --check
// prints it, without an ending; a Framework line that is missing altogether
// says how many modules the program could drop (`saving`).
Text FindingText(const HeaderFinding& finding, const FrameworkSaving& saving);
// The same without the place, for a front end that shows the place itself
// (an editor's diagnostic).
Text FindingMessage(const HeaderFinding& finding, const FrameworkSaving& saving);

// A unified diff of every file the plan would change and may write; UTF-8.
std::string DiffText(const HeaderPlan& plan);

// "x.bmx: left alone: it lies ..." for each file that needs an edit but may
// not be written.
std::vector<Text> LeftAloneLines(const HeaderPlan& plan);

// What stands in the way, one line each: no such block, a file that cannot
// be read and, with `editing`, a file whose encoding cannot hold its new
// lines.
std::vector<Text> PlanErrors(const HeaderPlan& plan, bool editing);

// The plan's errors of an edit with what failed in making it, in the order
// of the files.
std::vector<Text> ApplyErrors(const HeaderPlan& plan, const AppliedFiles& applied);

// "Wrote x.bmx" for each file written, with where its backup is; or that
// every header matches, when nothing was written, left alone or failed.
std::vector<Text> WrittenLines(const HeaderPlan& plan, const AppliedFiles& applied);

}  // namespace vt
