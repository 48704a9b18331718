// A unified diff of one file's edit, as `diff -u` prints it, so that it
// reads like any other patch and `patch -p0` can apply it.
#pragma once

#include <string>
#include <vector>

#include "header/header_edit.h"

namespace vt {

enum class DiffOp { Equal, Delete, Insert };

struct DiffStep {
  DiffOp op = DiffOp::Equal;
  size_t oldIndex = 0;  // for Equal and Delete
  size_t newIndex = 0;  // for Equal and Insert
};

// The steps from the old lines to the new: the unchanged lines the edit
// kept, and between two of them the removed and inserted lines, where a
// new line that repeats a removed one in the same place counts as kept.
std::vector<DiffStep> DiffSteps(const TextLines& before, const HeaderEdit& edit);

// The diff under the headers "--- name" and "+++ name", with three lines of
// context; empty when nothing changes. Lines of a UTF-16 file are shown in
// UTF-8; the others as their bytes, endings included. patch knows no line
// that ends in a carriage return alone: where a file has one, each row of
// the diff is a run of lines up to a line feed, as patch reads them.
std::string UnifiedDiff(TextView name, const TextLines& before, const HeaderEdit& edit);

}  // namespace vt
