#include "header/unified_diff.h"

#include <algorithm>
#include <functional>

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

namespace {

// Prints the hunks of a diff whose rows are `ops`; `appendRow(s, out)` adds
// row s as shown, ending and any "No newline" mark included.
std::string Hunks(TextView name, const std::vector<DiffOp>& ops,
                  const std::function<void(size_t, std::string&)>& appendRow) {
  // How many old and new rows come before each row.
  std::vector<size_t> oldBefore(ops.size() + 1, 0);
  std::vector<size_t> newBefore(ops.size() + 1, 0);
  for (size_t s = 0; s < ops.size(); ++s) {
    oldBefore[s + 1] = oldBefore[s] + (ops[s] != DiffOp::Insert ? 1 : 0);
    newBefore[s + 1] = newBefore[s] + (ops[s] != DiffOp::Delete ? 1 : 0);
  }
  std::string out;
  size_t k = 0;
  while (k < ops.size()) {
    if (ops[k] == DiffOp::Equal) {
      ++k;
      continue;
    }
    // A hunk: from kContext equal rows before this change to kContext after
    // the last change that lies within 2 * kContext equal rows of the next.
    size_t first = k >= kContext ? k - kContext : 0;
    size_t last = k;
    size_t equalRun = 0;
    for (size_t s = k; s < ops.size(); ++s) {
      if (ops[s] != DiffOp::Equal) {
        last = s;
        equalRun = 0;
      } else if (++equalRun > 2 * kContext) {
        break;
      }
    }
    size_t stop = std::min(ops.size(), last + 1 + kContext);
    std::string body;
    for (size_t s = first; s < stop; ++s) {
      body += ops[s] == DiffOp::Equal ? " " : ops[s] == DiffOp::Delete ? "-" : "+";
      appendRow(s, body);
    }
    size_t oldStart = oldBefore[first];
    size_t newStart = newBefore[first];
    if (out.empty()) {
      // The lines themselves go as they are; a name must keep to its line.
      std::string shownName = TerminalText(name);
      out += "--- " + shownName + "\n+++ " + shownName + "\n";
    }
    out += "@@ -" + Range(oldStart, oldBefore[stop] - oldStart) + " +" +
           Range(newStart, newBefore[stop] - newStart) + " @@\n";
    out += body;
    k = stop;
  }
  return out;
}

bool EndsWithLoneCarriageReturn(const RawLine& line) { return line.ending == "\r"; }

// patch splits lines at line feeds only: to it, lines that end in a carriage
// return alone are one line with the next. The rows of such a file are those
// lines, each a run of the file's lines.
struct PatchLine {
  size_t first = 0;
  size_t end = 0;  // one past the last line of the run
};

std::vector<PatchLine> PatchLines(const std::vector<const RawLine*>& lines) {
  std::vector<PatchLine> out;
  size_t first = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i]->ending.find('\n') == std::string::npos && i + 1 < lines.size()) continue;
    out.push_back({first, i + 1});
    first = i + 1;
  }
  return out;
}

std::string PatchLineText(const std::vector<const RawLine*>& lines, PatchLine run) {
  std::string text;
  for (size_t i = run.first; i < run.end; ++i) text += lines[i]->content + lines[i]->ending;
  return text;
}

// The diff as patch sees the file: the runs alike at the start and at the
// end are kept, the ones between removed and added.
std::string PatchLineDiff(TextView name, const TextLines& before, const HeaderEdit& edit,
                          bool showMark) {
  std::vector<const RawLine*> oldLines;
  for (const RawLine& line : before.lines) oldLines.push_back(&line);
  std::vector<const RawLine*> newLines;
  for (const EditedLine& line : edit.after) newLines.push_back(&line.line);
  std::vector<PatchLine> oldRuns = PatchLines(oldLines);
  std::vector<PatchLine> newRuns = PatchLines(newLines);
  auto same = [&](size_t i, size_t j) {
    return PatchLineText(oldLines, oldRuns[i]) == PatchLineText(newLines, newRuns[j]);
  };
  size_t shorter = std::min(oldRuns.size(), newRuns.size());
  size_t prefix = 0;
  while (prefix < shorter && same(prefix, prefix)) ++prefix;
  // The first run carries the mark, so it is kept only where it stays first.
  size_t suffixRoom = prefix == 0 && shorter > 0 ? shorter - 1 : shorter - prefix;
  size_t suffix = 0;
  while (suffix < suffixRoom &&
         same(oldRuns.size() - 1 - suffix, newRuns.size() - 1 - suffix)) {
    ++suffix;
  }
  struct Row {
    DiffOp op;
    bool fromOld;
    size_t run;
  };
  std::vector<Row> rows;
  for (size_t i = 0; i < prefix; ++i) rows.push_back({DiffOp::Equal, true, i});
  for (size_t i = prefix; i < oldRuns.size() - suffix; ++i) rows.push_back({DiffOp::Delete, true, i});
  for (size_t j = prefix; j < newRuns.size() - suffix; ++j) rows.push_back({DiffOp::Insert, false, j});
  for (size_t i = oldRuns.size() - suffix; i < oldRuns.size(); ++i) {
    rows.push_back({DiffOp::Equal, true, i});
  }
  std::vector<DiffOp> ops;
  for (const Row& row : rows) ops.push_back(row.op);
  return Hunks(name, ops, [&](size_t s, std::string& out) {
    const Row& row = rows[s];
    if (showMark && row.run == 0) out += before.byteOrderMark;
    std::string text = row.fromOld ? PatchLineText(oldLines, oldRuns[row.run])
                                   : PatchLineText(newLines, newRuns[row.run]);
    out += text;
    if (text.empty() || text.back() != '\n') out += "\n\\ No newline at end of file\n";
  });
}

}  // namespace

std::string UnifiedDiff(TextView name, const TextLines& before, const HeaderEdit& edit) {
  // A UTF-16 file is shown in UTF-8, where its mark would mean nothing.
  bool showMark = before.encoding == TextEncoding::Utf8 && !before.byteOrderMark.empty();
  bool utf16 = before.encoding == TextEncoding::Utf16BE || before.encoding == TextEncoding::Utf16LE;
  bool loneReturns =
      std::any_of(before.lines.begin(), before.lines.end(), EndsWithLoneCarriageReturn) ||
      std::any_of(edit.after.begin(), edit.after.end(),
                  [](const EditedLine& line) { return EndsWithLoneCarriageReturn(line.line); });
  if (loneReturns && !utf16) return PatchLineDiff(name, before, edit, showMark);
  std::vector<DiffStep> steps = DiffSteps(before, edit);
  if (showMark) SplitAtMark(steps);
  std::vector<DiffOp> ops;
  for (const DiffStep& step : steps) ops.push_back(step.op);
  return Hunks(name, ops, [&](size_t s, std::string& out) {
    const DiffStep& step = steps[s];
    const RawLine& line =
        step.op == DiffOp::Insert ? edit.after[step.newIndex].line : before.lines[step.oldIndex];
    if (showMark && FirstOfItsFile(step)) out += before.byteOrderMark;
    out += Shown(before.encoding, line);
  });
}

}  // namespace vt
