#include "app/header_panel.h"

#include "app/header_edit_text.h"
#include "app/window_examine.h"
#include "base/paths.h"
#include "header/module_reason.h"
#include "header/header_apply.h"

namespace vt {

namespace {

Text ProgramFolder(const HeaderPanelState& panel) { return FolderPart(panel.program); }

// The page's title of a block ends in a colon, which a list of choices does
// without.
Text BlockChoiceTitle(const FrameworkBlock& block) {
  Text title = Trim(block.title);
  if (EndsWith(title, u":")) title.pop_back();
  return title;
}

HeaderCheckState CheckStateOf(const FilePlan* file) {
  if (!file) return HeaderCheckState::Matches;
  if (!file->Readable()) return HeaderCheckState::Unreadable;
  return file->Differs() ? HeaderCheckState::Differs : HeaderCheckState::Matches;
}

PanelBox PanelBoxOf(const CodeBox& box, const HeaderPlan& plan, TextView folder) {
  PanelBox shown;
  shown.title = box.label + FileNameOf(box.path);
  shown.file = RelativePath(box.path, folder);
  ForEachCodeLine(box, [&](TextView fixed, TextView data, TextView reason) {
    shown.lines.push_back({Text(fixed) + Text(data), Text(reason)});
  });
  const FilePlan* file = plan.Find(shown.file);
  shown.check = CheckStateOf(file);
  if (!file) return shown;
  for (const HeaderFinding& finding : file->findings) {
    shown.findings.push_back(FindingText(finding, plan.saving));
  }
  return shown;
}

// What the walk could not read, one line each, in the command line's words.
std::vector<Text> MissingParts(const HeaderPanelState& panel) {
  std::vector<Text> parts;
  Text folder = ProgramFolder(panel);
  for (const WalkWarning& warning : panel.warnings)
    parts.push_back(WarningLine(warning, folder));
  for (const Text& file : panel.filesNotRead) {
    parts.push_back(RelativePath(file, folder) +
                    u": warning: cannot be opened: too many files are open");
  }
  return parts;
}

Text JoinLines(const std::vector<std::vector<Text>>& groups) {
  Text joined;
  for (const auto& group : groups) {
    for (const Text& line : group) joined += (joined.empty() ? u"" : u"\n") + line;
  }
  return joined;
}

void Refresh(AppState& state) {
  HeaderPanelState& panel = state.Panel;
  panel.content = BuildHeaderPanel(state, panel);
  if (panel.content.boxes.empty()) return HideHeaderPanel(state);
  panel.block = panel.content.block;
  panel.shown = true;
  state.desktop->ShowHeaderPanel(panel.content);
}

}  // namespace

HeaderJob HeaderPanelJob(const AppState& state, const HeaderPanelState& panel,
                         std::optional<size_t> block) {
  Text modFolder = state.Settings.RootFolder + u"/mod";
  size_t templateNumber = block ? *block + 1 : 0;
  HeaderJob job{panel.suggestion, state.Catalogue, modFolder, ProgramFolder(panel),
                templateNumber, ReasonsOf(panel.suggestion)};
  if (state.Catalogue.ruleSet == RuleSetKind::Modern) job.sections = SectionImports::Read;
  job.families = state.Rules.For(state.Catalogue.ruleSet).families;
  job.files = state.Files.get();
  return job;
}

HeaderPanelContent BuildHeaderPanel(const AppState& state,
                                    const HeaderPanelState& panel) {
  HeaderPanelContent content;
  for (const FrameworkBlock& block : panel.suggestion.blocks) {
    content.blockTitles.push_back(BlockChoiceTitle(block));
  }
  HeaderPlan plan = PlanHeaders(HeaderPanelJob(state, panel, panel.block));
  if (plan.block == 0) return content;
  content.block = plan.block - 1;
  Text folder = ProgramFolder(panel);
  for (const CodeBox& box : panel.suggestion.blocks[content.block].boxes) {
    content.boxes.push_back(PanelBoxOf(box, plan, folder));
  }
  content.warnings = MissingParts(panel);
  return content;
}

Text ClipboardText(const PanelBox& box) {
  Text text;
  for (const PanelLine& line : box.lines) text += line.text + u"\n";
  return text;
}

void ShowHeaderPanel(AppState& state, TextView program, const ExaminedSource& examination) {
  if (examination.outcome == ExamineOutcome::Ignored ||
      examination.outcome == ExamineOutcome::RootFolderMissing) {
    return;
  }
  HeaderPanelState& panel = state.Panel;
  if (panel.program != program) panel.block.reset();
  panel.program = Text(program);
  panel.suggestion = examination.suggestion;
  panel.warnings = examination.warnings;
  panel.filesNotRead = examination.filesNotRead;
  if (panel.block && *panel.block >= panel.suggestion.blocks.size()) panel.block.reset();
  Refresh(state);
}

void HideHeaderPanel(AppState& state) {
  state.Panel.shown = false;
  state.desktop->HideHeaderPanel();
}

void ChooseHeaderBlock(AppState& state, size_t block) {
  HeaderPanelState& panel = state.Panel;
  if (!panel.shown || block >= panel.suggestion.blocks.size()) return;
  panel.block = block;
  Refresh(state);
}

void CopyHeaderBox(AppState& state, size_t box) {
  const HeaderPanelState& panel = state.Panel;
  if (!panel.shown || box >= panel.content.boxes.size()) return;
  state.desktop->SetClipboardText(ClipboardText(panel.content.boxes[box]));
}

void ApplyHeaderBlock(AppState& state) {
  HeaderPanelState& panel = state.Panel;
  if (!panel.shown) return;
  DesktopScreen& screen = *state.desktop;
  // The files may have changed since they were examined: the edit is judged
  // on what they hold now, and so is whether every file could be read.
  Text examined = panel.program;
  ShowHeaderPanel(state, examined, ExamineInWindow(state, examined));
  if (!panel.shown) return;
  // Judged without those files, a header could lose a module they need.
  if (!panel.content.warnings.empty()) {
    screen.WarningBox(
        u"Apply refused: the program names files that could not be read, so its header "
        u"cannot be judged. Nothing was written.\n\n" +
        JoinLines({panel.content.warnings}));
    return;
  }
  HeaderPlan plan = PlanHeaders(HeaderPanelJob(state, panel, panel.block));
  std::string diff = DiffText(plan);
  if (diff.empty()) {
    Text why = JoinLines({LeftAloneLines(plan), PlanErrors(plan, true)});
    screen.InformationBox(why.empty() ? u"Every header matches; nothing to write."
                                      : u"Nothing to write.\n\n" + why);
    return;
  }
  size_t files = 0;
  for (const FilePlan& file : plan.files) files += file.ToWrite() ? 1 : 0;
  if (!screen.ConfirmHeaderEdit(FromUtf8(diff), files)) return;
  // What is written is what the user saw: a file changed since is left alone.
  AppliedFiles applied = ApplyHeaderPlan(plan, false);
  // Copied: examining again replaces the panel's state.
  Text program = panel.program;
  ShowHeaderPanel(state, program, ExamineInWindow(state, program));
  std::vector<Text> errors = ApplyErrors(plan, applied);
  Text outcome = JoinLines({WrittenLines(plan, applied), LeftAloneLines(plan), errors});
  if (errors.empty()) {
    screen.InformationBox(outcome);
  } else {
    screen.WarningBox(outcome);
  }
}

}  // namespace vt
