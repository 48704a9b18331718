#include "header/unified_diff.h"

#include <algorithm>

#include "base/terminal_text.h"

namespace vt {

namespace {

constexpr size_t kContext = 3;
// Past this many cells, the lines between two kept ones are not matched up
// and show as removed and inserted.
constexpr size_t kMatchLimit = 1 << 20;

bool SameLine(const RawLine& a, const RawLine& b) {
  return a.content == b.content && a.ending == b.ending;
}

// The removed lines `old` and inserted lines `added` between two kept lines,
// matched by their longest common run of equal lines.
void MatchGap(const TextLines& before, const HeaderEdit& edit, size_t oldStart, size_t oldEnd,
              size_t newStart, size_t newEnd, std::vector<DiffStep>& out) {
  size_t n = oldEnd - oldStart;
  size_t m = newEnd - newStart;
  std::vector<size_t> length;
  bool match = n > 0 && m > 0 && (n + 1) * (m + 1) <= kMatchLimit;
  if (match) {
    length.assign((n + 1) * (m + 1), 0);
    for (size_t i = n; i-- > 0;) {
      for (size_t j = m; j-- > 0;) {
        size_t& cell = length[i * (m + 1) + j];
        if (SameLine(before.lines[oldStart + i], edit.after[newStart + j].line)) {
          cell = length[(i + 1) * (m + 1) + j + 1] + 1;
        } else {
          cell = std::max(length[(i + 1) * (m + 1) + j], length[i * (m + 1) + j + 1]);
        }
      }
    }
  }
  size_t i = 0;
  size_t j = 0;
  while (i < n || j < m) {
    bool same = match && i < n && j < m &&
                SameLine(before.lines[oldStart + i], edit.after[newStart + j].line);
    if (same) {
      out.push_back({DiffOp::Equal, oldStart + i++, newStart + j++});
    } else if (i < n && (j == m || !match ||
                         length[(i + 1) * (m + 1) + j] >= length[i * (m + 1) + j + 1])) {
      out.push_back({DiffOp::Delete, oldStart + i++, 0});
    } else {
      out.push_back({DiffOp::Insert, 0, newStart + j++});
    }
  }
}

std::string Shown(TextEncoding encoding, const RawLine& line) {
  bool utf16 = encoding == TextEncoding::Utf16BE || encoding == TextEncoding::Utf16LE;
  std::string text = utf16 ? ToUtf8(DecodeLine(encoding, line.content)) : line.content;
  if (line.ending.empty()) return text + "\n\\ No newline at end of file\n";
  if (!utf16) return text + line.ending;
  return text + (line.ending.size() == 4 ? "\r\n" : "\n");
}

// A mark before the first line belongs to the first line of each file: a
// line that is first in one and not in the other is shown removed and
// added, so that the diff applied gives the edit's bytes.
void SplitAtMark(std::vector<DiffStep>& steps) {
  for (size_t s = 0; s < steps.size(); ++s) {
    DiffStep& step = steps[s];
    if (step.op != DiffOp::Equal || (step.oldIndex == 0) == (step.newIndex == 0)) continue;
    DiffStep insert{DiffOp::Insert, 0, step.newIndex};
    step = {DiffOp::Delete, step.oldIndex, 0};
    steps.insert(steps.begin() + static_cast<std::ptrdiff_t>(s) + 1, insert);
    ++s;
  }
}

bool FirstOfItsFile(const DiffStep& step) {
  return step.op == DiffOp::Insert ? step.newIndex == 0 : step.oldIndex == 0;
}

std::string Range(size_t start, size_t count) {
  // An empty range names the line before it.
  size_t first = count == 0 ? start : start + 1;
  return std::to_string(first) + "," + std::to_string(count);
}

}  // namespace

std::vector<DiffStep> DiffSteps(const TextLines& before, const HeaderEdit& edit) {
  std::vector<DiffStep> out;
  size_t oldAt = 0;
  size_t newAt = 0;
  for (size_t j = 0; j <= edit.after.size(); ++j) {
    bool end = j == edit.after.size();
    if (!end && !edit.after[j].from) continue;
    size_t oldNext = end ? before.lines.size() : *edit.after[j].from;
    MatchGap(before, edit, oldAt, oldNext, newAt, j, out);
    if (end) break;
    out.push_back({DiffOp::Equal, oldNext, j});
    oldAt = oldNext + 1;
    newAt = j + 1;
  }
  return out;
}

std::string UnifiedDiff(TextView name, const TextLines& before, const HeaderEdit& edit) {
  std::vector<DiffStep> steps = DiffSteps(before, edit);
  // A UTF-16 file is shown in UTF-8, where its mark would mean nothing.
  bool showMark = before.encoding == TextEncoding::Utf8 && !before.byteOrderMark.empty();
  if (showMark) SplitAtMark(steps);
  // How many old and new lines come before each step.
  std::vector<size_t> oldBefore(steps.size() + 1, 0);
  std::vector<size_t> newBefore(steps.size() + 1, 0);
  for (size_t s = 0; s < steps.size(); ++s) {
    oldBefore[s + 1] = oldBefore[s] + (steps[s].op != DiffOp::Insert ? 1 : 0);
    newBefore[s + 1] = newBefore[s] + (steps[s].op != DiffOp::Delete ? 1 : 0);
  }
  std::string out;
  size_t k = 0;
  while (k < steps.size()) {
    if (steps[k].op == DiffOp::Equal) {
      ++k;
      continue;
    }
    // A hunk: from kContext equal steps before this change to kContext after
    // the last change that lies within 2 * kContext equal steps of the next.
    size_t first = k >= kContext ? k - kContext : 0;
    size_t last = k;
    size_t equalRun = 0;
    for (size_t s = k; s < steps.size(); ++s) {
      if (steps[s].op != DiffOp::Equal) {
        last = s;
        equalRun = 0;
      } else if (++equalRun > 2 * kContext) {
        break;
      }
    }
    size_t stop = std::min(steps.size(), last + 1 + kContext);
    std::string body;
    for (size_t s = first; s < stop; ++s) {
      const DiffStep& step = steps[s];
      const RawLine& line =
          step.op == DiffOp::Insert ? edit.after[step.newIndex].line : before.lines[step.oldIndex];
      body += step.op == DiffOp::Equal ? " " : step.op == DiffOp::Delete ? "-" : "+";
      if (showMark && FirstOfItsFile(step)) body += before.byteOrderMark;
      body += Shown(before.encoding, line);
    }
    size_t oldStart = oldBefore[first];
    size_t newStart = newBefore[first];
    size_t oldCount = oldBefore[stop] - oldStart;
    size_t newCount = newBefore[stop] - newStart;
    if (out.empty()) {
      // The lines themselves go as they are; a name must keep to its line.
      std::string shownName = TerminalText(name);
      out += "--- " + shownName + "\n+++ " + shownName + "\n";
    }
    out += "@@ -" + Range(oldStart, oldCount) + " +" + Range(newStart, newCount) + " @@\n";
    out += body;
    k = stop;
  }
  return out;
}

}  // namespace vt
