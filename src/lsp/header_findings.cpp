#include "lsp/header_findings.h"

#include <algorithm>

#include "app/header_edit_text.h"
#include "header/module_reason.h"
#include "platform/file_system.h"

namespace vt::lsp {

namespace {

// A file's lines as the editor counts them, with what each line's text is.
class LineView {
 public:
  explicit LineView(const TextLines& lines) : lines_(lines) {}

  size_t Count() const { return lines_.lines.size(); }
  Text TextOf(size_t index) const {
    return DecodeLine(lines_.encoding, lines_.lines[index].content);
  }
  Text WithEnding(const RawLine& line) const {
    return DecodeLine(lines_.encoding, line.content) + DecodeLine(lines_.encoding, line.ending);
  }
  // Where line `index` starts; past the last line, the end of the text.
  TextPosition StartOf(size_t index) const {
    if (index < Count()) return {index, 0};
    if (Count() == 0) return {0, 0};
    if (!lines_.lines.back().ending.empty()) return {Count(), 0};
    return {Count() - 1, TextOf(Count() - 1).size()};
  }
  bool LastEnds() const { return Count() == 0 || !lines_.lines.back().ending.empty(); }
  // The whole of line `index` (1-based `line` clamped to the file).
  TextRange LineRange(size_t line) const {
    if (Count() == 0) return {};
    size_t index = std::min(line == 0 ? 0 : line - 1, Count() - 1);
    return {{index, 0}, {index, TextOf(index).size()}};
  }
  Text Ending() const {
    return DecodeLine(lines_.encoding, MostCommonEnding(lines_, NativeLineEnding()));
  }

 private:
  const TextLines& lines_;
};

const char* CodeOf(HeaderDifferenceKind kind) {
  switch (kind) {
    case HeaderDifferenceKind::Missing:
      return "missing";
    case HeaderDifferenceKind::Unneeded:
      return "unneeded";
    case HeaderDifferenceKind::NoFramework:
      return "no-framework";
    case HeaderDifferenceKind::NotInstalled:
      return "not-installed";
  }
  return "";
}

Json FindingDiagnostic(const FilePlan& file, const HeaderFinding& finding,
                       const FrameworkSaving& saving) {
  Severity severity = Severity::Warning;
  if (finding.difference.kind == HeaderDifferenceKind::Unneeded) severity = Severity::Hint;
  if (finding.IsNote()) severity = Severity::Information;
  Json diagnostic{{"range", RangeJson(LineView(file.lines).LineRange(finding.difference.line))},
                  {"severity", static_cast<int>(severity)},
                  {"source", "veltrane"},
                  {"code", CodeOf(finding.difference.kind)},
                  {"message", ToUtf8(FindingMessage(finding, saving))}};
  if (severity == Severity::Hint) diagnostic["tags"] = Json::array({kUnnecessaryTag});
  return diagnostic;
}

Json WarningDiagnostic(const WalkWarning& warning, const FileTree& files) {
  std::string bytes;
  TextLines lines;
  if (files.ReadBytes(warning.file, bytes) == ReadOutcome::Read) lines = SplitTextLines(bytes);
  return Json{{"range", RangeJson(LineView(lines).LineRange(static_cast<size_t>(warning.line)))},
              {"severity", static_cast<int>(Severity::Error)},
              {"source", "veltrane"},
              {"code", "file-not-read"},
              {"message", ToUtf8(WarningMessage(warning))}};
}

Json TextEdit(TextRange range, TextView newText) {
  return Json{{"range", RangeJson(range)}, {"newText", ToUtf8(newText)}};
}

Json Action(const std::string& title, const char* kind, const std::string& uri, Json edit,
            Json diagnostics) {
  Json action{{"title", title},
              {"kind", kind},
              {"edit", Json{{"changes", Json{{uri, Json::array({std::move(edit)})}}}}}};
  if (!diagnostics.empty()) action["diagnostics"] = std::move(diagnostics);
  return action;
}

bool SameLine(const RawLine& a, const RawLine& b) {
  return a.content == b.content && a.ending == b.ending;
}

// The --write edit as one replacement of the lines it changes.
std::optional<Json> HeaderFixEdit(const FilePlan& file) {
  if (!file.ToWrite()) return std::nullopt;
  TextLines after = file.edit.Result(file.lines);
  const std::vector<RawLine>& old = file.lines.lines;
  const std::vector<RawLine>& now = after.lines;
  size_t prefix = 0;
  while (prefix < old.size() && prefix < now.size() && SameLine(old[prefix], now[prefix])) {
    ++prefix;
  }
  size_t suffix = 0;
  while (suffix < old.size() - prefix && suffix < now.size() - prefix &&
         SameLine(old[old.size() - 1 - suffix], now[now.size() - 1 - suffix])) {
    ++suffix;
  }
  LineView view(file.lines);
  Text newText;
  for (size_t i = prefix; i < now.size() - suffix; ++i) newText += view.WithEnding(now[i]);
  return TextEdit({view.StartOf(prefix), view.StartOf(old.size() - suffix)}, newText);
}

// A new line before line `index`, or after the last.
Json InsertLine(const FilePlan& file, size_t index, const Text& line) {
  LineView view(file.lines);
  TextPosition at = view.StartOf(index);
  if (index >= view.Count() && !view.LastEnds()) return TextEdit({at, at}, view.Ending() + line);
  return TextEdit({at, at}, line + view.Ending());
}

Json RemoveLine(const FilePlan& file, size_t index) {
  LineView view(file.lines);
  if (index + 1 >= view.Count() && !view.LastEnds() && index > 0) {
    return TextEdit({{index - 1, view.TextOf(index - 1).size()}, view.StartOf(index + 1)}, u"");
  }
  return TextEdit({view.StartOf(index), view.StartOf(index + 1)}, u"");
}

// Where a single new Import line goes: after the last line of the header
// outside platform sections, else where a new header would go.
size_t ImportPlace(const PresentHeader& present) {
  size_t place = present.insertAt;
  bool found = false;
  for (const HeaderLine& line : present.lines) {
    bool names = line.kind == HeaderLineKind::Import || line.kind == HeaderLineKind::Framework;
    if (!names || !line.condition.empty()) continue;
    place = line.index + 1;
    found = true;
  }
  return found ? place : present.insertAt;
}

// What follows the module's name on a header line: its comment.
Text RestOfLine(const FilePlan& file, const HeaderLine& line) {
  Text text = LineView(file.lines).TextOf(line.index);
  return line.afterName < text.size() ? text.substr(line.afterName) : Text();
}

struct QuickFix {
  std::string title;
  Json edit;
};

std::optional<QuickFix> FixOf(const FilePlan& file, const HeaderFinding& finding) {
  const HeaderDifference& difference = finding.difference;
  if (!difference.condition.empty()) return std::nullopt;
  Text keyword = difference.framework ? u"Framework " : u"Import ";
  Text line = keyword + difference.module;
  switch (difference.kind) {
    case HeaderDifferenceKind::Unneeded:
      // A Framework line the block does not want is replaced, by the fix of
      // the one it wants: without one the program would import everything.
      if (difference.framework) return std::nullopt;
      return QuickFix{"Remove " + ToUtf8(line), RemoveLine(file, difference.line - 1)};
    case HeaderDifferenceKind::NoFramework:
      return QuickFix{ToUtf8(line),
                      InsertLine(file, file.present.FirstModuleLine() - 1, line)};
    case HeaderDifferenceKind::Missing:
      if (difference.framework) {
        const HeaderLine* present = file.present.FrameworkLine();
        if (!present) return std::nullopt;
        return QuickFix{ToUtf8(line), TextEdit(LineView(file.lines).LineRange(present->index + 1),
                                               line + RestOfLine(file, *present))};
      }
      return QuickFix{ToUtf8(line), InsertLine(file, ImportPlace(file.present), line)};
    case HeaderDifferenceKind::NotInstalled:
      return std::nullopt;
  }
  return std::nullopt;
}

bool Wanted(const Json& only, const std::string& kind) {
  if (!only.is_array()) return true;
  for (const Json& asked : only) {
    if (!asked.is_string()) continue;
    const std::string& prefix = asked.get_ref<const std::string&>();
    if (kind == prefix || kind.rfind(prefix + ".", 0) == 0) return true;
  }
  return false;
}

const CodeBox* BoxOf(const ProgramCheck& check, TextView path) {
  const std::vector<FrameworkBlock>& blocks = check.examination.suggestion.blocks;
  if (check.plan.block == 0 || check.plan.block > blocks.size()) return nullptr;
  for (const CodeBox& box : blocks[check.plan.block - 1].boxes) {
    if (box.path == path) return &box;
  }
  return nullptr;
}

bool Lists(const TextList& modules, TextView module) {
  return std::any_of(modules.begin(), modules.end(),
                     [&](const Text& listed) { return EqualFolded(listed, module); });
}

// Why a present header line is there, or is not wanted.
Text WhyText(const ProgramCheck& check, const FilePlan& file, const HeaderLine& line) {
  Text name = (line.kind == HeaderLineKind::Framework ? u"Framework " : u"Import ") + line.module;
  Text head = u"**" + name + u"**";
  if (line.notInstalled) return head + u": not installed here, so nothing can judge it: kept.";
  if (line.keep) {
    return head + u": kept whatever the program uses: marked `veltrane: keep` or listed under "
                  u"keep in veltrane.toml.";
  }
  for (const HeaderFinding& finding : file.findings) {
    const HeaderDifference& difference = finding.difference;
    if (difference.kind != HeaderDifferenceKind::Unneeded || difference.line != line.index + 1) {
      continue;
    }
    return head + u": not needed. Nothing this unit uses is declared by " + line.module +
           u" or by a module it imports, and no rule asks for it.";
  }
  Reason reason = ReasonFor(check.examination.suggestion, file.path, line.module);
  Text comment = reason.Comment();
  if (!comment.empty()) return head + u": needed for " + comment + u".";
  const CodeBox* box = BoxOf(check, file.path);
  if (box && Lists(box->optionalModules, line.module)) {
    return head + u": may be required (the suggestion lists it as optional).";
  }
  if (box && Lists(box->modules, line.module)) return head + u": needed by the suggestion.";
  return head + u": stands for a module of its family that the suggestion wants.";
}

}  // namespace

Json HeaderDiagnostics(const FilePlan& file, const FrameworkSaving& saving) {
  Json list = Json::array();
  for (const HeaderFinding& finding : file.findings) {
    list.push_back(FindingDiagnostic(file, finding, saving));
  }
  return list;
}

std::map<Text, Json> WalkDiagnostics(const Examination& examination, const FileTree& files) {
  std::map<Text, Json> diagnostics;
  for (const WalkWarning& warning : examination.warnings) {
    diagnostics[warning.file].push_back(WarningDiagnostic(warning, files));
  }
  return diagnostics;
}

size_t FindingsPrint(const FilePlan& file, const FrameworkSaving& saving) {
  size_t print = file.findings.size();
  auto mix = [&print](size_t value) { print ^= value + 0x9e3779b97f4a7c15 + (print << 6) + (print >> 2); };
  std::hash<Text> hash;
  for (const HeaderFinding& finding : file.findings) {
    // What the diagnostic shows: its kind, its line and its message.
    mix(static_cast<size_t>(finding.difference.kind));
    mix(finding.difference.line);
    mix(hash(FindingMessage(finding, saving)));
  }
  return print;
}

Json CodeActions(const ProgramCheck& check, TextView path, const std::string& uri,
                 TextRange range, const Json& only) {
  Json actions = Json::array();
  const FilePlan* file = check.WholePlanOf(path);
  if (!file) return actions;
  size_t first = std::min(range.start.line, range.end.line);
  size_t last = std::max(range.start.line, range.end.line);
  Json all = Json::array();
  for (const HeaderFinding& finding : file->findings) {
    if (finding.IsNote()) continue;
    Json diagnostic = FindingDiagnostic(*file, finding, check.plan.saving);
    all.push_back(diagnostic);
    size_t index = finding.difference.line - 1;
    if (index < first || index > last || !Wanted(only, "quickfix")) continue;
    std::optional<QuickFix> fix = FixOf(*file, finding);
    if (!fix) continue;
    actions.push_back(Action(fix->title, "quickfix", uri, std::move(fix->edit),
                             Json::array({std::move(diagnostic)})));
  }
  if (!check.Complete() || !Wanted(only, kFixHeaderKind)) return actions;
  if (std::optional<Json> edit = HeaderFixEdit(*file)) {
    Json action = Action("Fix the header", kFixHeaderKind, uri, std::move(*edit), std::move(all));
    action["isPreferred"] = true;
    actions.push_back(std::move(action));
  }
  return actions;
}

std::optional<Json> HoverAt(const ProgramCheck& check, TextView path, TextPosition position) {
  const FilePlan* file = check.WholePlanOf(path);
  if (!file) return std::nullopt;
  auto at = [&](const std::vector<HeaderLine>& lines) -> const HeaderLine* {
    for (const HeaderLine& line : lines) {
      bool names = line.kind == HeaderLineKind::Import || line.kind == HeaderLineKind::Framework;
      if (names && line.index == position.line) return &line;
    }
    return nullptr;
  };
  const HeaderLine* line = at(file->present.lines);
  if (!line) line = at(file->present.keptImports);
  if (!line) return std::nullopt;
  size_t start = line->afterName >= line->module.size() ? line->afterName - line->module.size() : 0;
  TextRange range{{line->index, start}, {line->index, line->afterName}};
  return Json{{"contents", Json{{"kind", "markdown"}, {"value", ToUtf8(WhyText(check, *file, *line))}}},
              {"range", RangeJson(range)}};
}

}  // namespace vt::lsp
