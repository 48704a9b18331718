#include "header/line_replacements.h"

#include "header/unified_diff.h"

namespace vt {

std::vector<LineReplacement> Replacements(const TextLines& before,
                                          const HeaderEdit& edit) {
  std::vector<LineReplacement> out;
  bool open = false;
  size_t nextOld = 0;  // the old line after the last step seen
  for (const DiffStep& step : DiffSteps(before, edit)) {
    if (step.op == DiffOp::Equal) {
      open = false;
      nextOld = step.oldIndex + 1;
      continue;
    }
    if (!open) out.push_back({nextOld + 1, 0, {}});
    open = true;
    if (step.op == DiffOp::Delete) {
      ++out.back().removed;
      nextOld = step.oldIndex + 1;
    } else {
      out.back().inserted.push_back(
          DecodeLine(before.encoding, edit.after[step.newIndex].line.content));
    }
  }
  return out;
}

}  // namespace vt
