#include "lsp/program_check.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "base/paths.h"
#include "platform/file_bytes.h"
#include "header/module_reason.h"

namespace vt::lsp {

namespace {

bool SameReasons(const std::vector<Reason>& a, const std::vector<Reason>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i].word != b[i].word || a[i].file != b[i].file || a[i].line != b[i].line ||
        a[i].rule != b[i].rule || a[i].templateName != b[i].templateName) {
      return false;
    }
  }
  return true;
}

bool SameBox(const CodeBox& a, const CodeBox& b) {
  if (a.path != b.path || a.isMain != b.isMain || a.modules != b.modules ||
      a.optionalModules != b.optionalModules || a.extraLines != b.extraLines ||
      a.standsInFor != b.standsInFor || a.guarded.size() != b.guarded.size() ||
      !SameReasons(a.reasons, b.reasons) || !SameReasons(a.optionalReasons, b.optionalReasons)) {
    return false;
  }
  for (size_t i = 0; i < a.guarded.size(); ++i) {
    const GuardedModules& x = a.guarded[i];
    const GuardedModules& y = b.guarded[i];
    if (x.condition != y.condition || x.modules != y.modules ||
        !SameReasons(x.reasons, y.reasons)) {
      return false;
    }
  }
  return true;
}

// Only a missing Framework line's message tells the saving.
bool TellsSaving(const HeaderPlan& plan) {
  if (plan.files.empty()) return false;
  const std::vector<HeaderFinding>& findings = plan.files.front().findings;
  return std::any_of(findings.begin(), findings.end(), [](const HeaderFinding& finding) {
    return finding.difference.kind == HeaderDifferenceKind::NoFramework;
  });
}

// Whether every box names the modules it named before: the saving of a
// Framework line depends on nothing else.
bool SameModules(const std::vector<CodeBox>& now, const std::vector<CodeBox>& before) {
  if (now.size() != before.size()) return false;
  for (size_t i = 0; i < now.size(); ++i) {
    if (now[i].path != before[i].path || now[i].modules != before[i].modules) return false;
  }
  return true;
}

// The plan of the job, judging again only the units whose box or bytes
// changed since `before`: in a program of many units an edit changes one.
// The main file is always judged, since it picks the block.
HeaderPlan PlanReusing(HeaderJob& job, ProgramCheck* before, std::unordered_set<Text>& reused) {
  const Suggestion& suggestion = job.suggestion;
  size_t number = before ? before->plan.block : 0;
  if (number == 0 || !before->plansCurrent || number > suggestion.blocks.size() ||
      number > before->examination.suggestion.blocks.size() ||
      before->plan.status != HeaderStatus::Done) {
    return PlanHeaders(job);
  }
  const FrameworkBlock& block = suggestion.blocks[number - 1];
  const std::vector<CodeBox>& oldBlockBoxes = before->examination.suggestion.blocks[number - 1].boxes;
  std::unordered_map<Text, const CodeBox*> oldBoxes;
  for (const CodeBox& box : oldBlockBoxes) oldBoxes.emplace(box.path, &box);
  bool savingStands = TellsSaving(before->plan) && SameModules(block.boxes, oldBlockBoxes);
  FrameworkSaving savingBefore = before->plan.saving;
  std::unordered_map<Text, FilePlan*> oldFiles;
  for (FilePlan& file : before->plan.files) oldFiles.emplace(file.path, &file);
  std::unordered_set<Text> handled;
  std::unordered_map<Text, FilePlan*> reusable;
  std::string bytes;
  for (size_t i = 1; i < block.boxes.size(); ++i) {
    const CodeBox& box = block.boxes[i];
    auto oldBox = oldBoxes.find(box.path);
    auto oldFile = oldFiles.find(box.path);
    if (oldBox == oldBoxes.end() || oldFile == oldFiles.end() || !SameBox(box, *oldBox->second)) {
      continue;
    }
    bool read = job.files && job.files->ReadBytes(box.path, bytes) == ReadOutcome::Read;
    if (!read || bytes != oldFile->second->bytes) continue;
    handled.insert(CanonicalPath(box.path));
    reusable.emplace(box.path, oldFile->second);
  }
  job.handled = &handled;
  HeaderPlan plan = PlanHeaders(job);
  job.handled = nullptr;
  if (plan.status != HeaderStatus::Done || plan.block != number) return PlanHeaders(job);
  std::unordered_map<Text, FilePlan*> judged;
  for (FilePlan& file : plan.files) judged.emplace(file.path, &file);
  std::vector<FilePlan> files;
  std::vector<const CodeBox*> boxes;
  for (const CodeBox& box : block.boxes) {
    boxes.push_back(&box);
    if (auto now = judged.find(box.path); now != judged.end()) {
      files.push_back(std::move(*now->second));
      judged.erase(now);
    } else if (auto kept = reusable.find(box.path); kept != reusable.end()) {
      files.push_back(std::move(*kept->second));
      reusable.erase(kept);
      reused.insert(box.path);
    }
  }
  plan.files = std::move(files);
  // Working the saving out over every box costs more than the rest of an
  // edit's plan: only when a message tells it, and the modules changed.
  if (!TellsSaving(plan)) return plan;
  plan.saving = savingStands ? savingBefore : SavingOf(boxes, job.catalogue);
  return plan;
}

}  // namespace

const FilePlan* ProgramCheck::PlanOf(TextView path) const {
  for (const FilePlan& file : plan.files) {
    if (file.path == path) return &file;
  }
  return nullptr;
}

ProgramCheck CheckProgram(Installation& installation, const Text& mainPath,
                          ProgramCheck* before) {
  AppState& state = *installation.state;
  ProgramCheck check;
  check.mainPath = mainPath;
  check.examination = ExamineProgram(state.Catalogue, state.Rules, *state.Files, mainPath,
                                     ReasonChoice::Give, &installation.MemoFor(mainPath));
  check.files.insert(mainPath);
  for (const scanlisttype& entry : check.examination.walked) {
    if (entry.kind != EntryKind::Module) check.files.insert(entry.path);
  }
  const Suggestion& suggestion = check.examination.suggestion;
  // Places in the messages count from the main file's folder, as the
  // reasons do.
  ReasonFinder reasons(suggestion);
  HeaderJob job{suggestion, state.Catalogue, installation.ModFolder(), FolderPart(mainPath), 0,
                [&reasons](TextView unit, TextView module) { return reasons.For(unit, module); }};
  if (state.Catalogue.ruleSet == RuleSetKind::Modern) job.sections = SectionImports::Read;
  if (const std::optional<ProjectFile>& project = installation.workspace.project) {
    job.keep = std::unordered_set<Text>(project->keep.begin(), project->keep.end());
  }
  job.families = state.Rules.For(state.Catalogue.ruleSet).families;
  job.files = state.Files.get();
  check.plan = PlanReusing(job, before, check.reused);
  // The same plan says the same whichever way it was made.
  if (!TellsSaving(check.plan)) check.plan.saving = FrameworkSaving();
  return check;
}

}  // namespace vt::lsp
