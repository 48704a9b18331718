#include "lsp/program_check.h"

#include <algorithm>
#include <functional>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "analysis/reasons.h"
#include "base/paths.h"
#include "header/module_reason.h"
#include "lsp/header_findings.h"

namespace vt::lsp {

namespace {

bool SameReasons(const ReasonList& a, const ReasonList& b) {
  if (a.Shares(b)) return true;
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
  if (!SameModules(a, b) || a.extraLines != b.extraLines || !SameReasons(a.reasons, b.reasons) ||
      !SameReasons(a.optionalReasons, b.optionalReasons)) {
    return false;
  }
  for (size_t i = 0; i < a.guarded.size(); ++i) {
    if (!SameReasons(a.guarded[i].reasons, b.guarded[i].reasons)) return false;
  }
  return true;
}

bool PlanTellsSaving(const HeaderPlan& plan) {
  return !plan.files.empty() && TellsSaving(plan.files.front());
}

// Whether every box names the modules it named before: the saving of a
// Framework line depends on nothing else.
bool SameBoxModules(const std::vector<CodeBox>& now, const std::vector<CodeBox>& before) {
  if (now.size() != before.size()) return false;
  for (size_t i = 0; i < now.size(); ++i) {
    if (now[i].path != before[i].path || now[i].modules != before[i].modules) return false;
  }
  return true;
}

// The plans of `before` that still hold, by path: of the units (the main
// file aside) whose box and bytes are as they were, and that are not
// slimmed unless `slimStands` says their findings are all they need. The
// bytes are as the examination `now` read them: the plans judge those.
std::unordered_map<Text, FilePlan*> ReusablePlans(
    const Examination& now, ProgramCheck& before, const FrameworkBlock& block,
    const std::vector<CodeBox>& oldBlockBoxes,
    const std::function<bool(const Text&)>& slimStands) {
  std::unordered_map<Text, const CodeBox*> oldBoxes;
  for (const CodeBox& box : oldBlockBoxes) oldBoxes.emplace(box.path, &box);
  std::unordered_map<Text, FilePlan*> oldFiles;
  for (FilePlan& file : before.plan.files) oldFiles.emplace(file.path, &file);
  std::unordered_map<Text, BytesDigest> examined;
  for (const scanlisttype& entry : now.walked) {
    if (entry.hashed) examined.emplace(entry.path, BytesDigest{entry.bytesSize, entry.bytesHash});
  }
  std::unordered_map<Text, FilePlan*> reusable;
  for (size_t i = 1; i < block.boxes.size(); ++i) {
    const CodeBox& box = block.boxes[i];
    auto oldBox = oldBoxes.find(box.path);
    auto oldFile = oldFiles.find(box.path);
    if (oldBox == oldBoxes.end() || oldFile == oldFiles.end() || !SameBox(box, *oldBox->second)) {
      continue;
    }
    if (before.slim.count(box.path) && !slimStands(box.path)) continue;
    auto print = before.prints.find(box.path);
    auto bytes = examined.find(box.path);
    if (bytes == examined.end() || print == before.prints.end() ||
        bytes->second != print->second.bytes) {
      continue;
    }
    reusable.emplace(box.path, oldFile->second);
  }
  return reusable;
}

// The plan's files in the order of the block's boxes: those judged now and
// those reused, which `reused` lists.
void TakeInReused(HeaderPlan& plan, const FrameworkBlock& block,
                  std::unordered_map<Text, FilePlan*>& reusable,
                  std::unordered_set<Text>& reused) {
  std::unordered_map<Text, FilePlan*> judged;
  for (FilePlan& file : plan.files) judged.emplace(file.path, &file);
  std::vector<FilePlan> files;
  for (const CodeBox& box : block.boxes) {
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
}

// The plan of the job, judging again only the units whose box or bytes
// changed since `before`: in a program of many units an edit changes one.
// The main file is always judged, since it picks the block; so is a
// slimmed plan unless `slimStands` says its findings are all it needs.
HeaderPlan PlanReusing(HeaderJob& job, const Examination& now, ProgramCheck* before,
                       const std::function<bool(const Text&)>& slimStands,
                       std::unordered_set<Text>& reused) {
  const Suggestion& suggestion = job.suggestion;
  size_t number = before ? before->plan.block : 0;
  if (number == 0 || !before->plansCurrent || number > suggestion.blocks.size() ||
      number > before->examination.suggestion.blocks.size() ||
      before->plan.status != HeaderStatus::Done) {
    return PlanHeaders(job);
  }
  const FrameworkBlock& block = suggestion.blocks[number - 1];
  const std::vector<CodeBox>& oldBlockBoxes = before->examination.suggestion.blocks[number - 1].boxes;
  bool savingStands = PlanTellsSaving(before->plan) && SameBoxModules(block.boxes, oldBlockBoxes);
  FrameworkSaving savingBefore = before->plan.saving;
  std::unordered_map<Text, FilePlan*> reusable =
      ReusablePlans(now, *before, block, oldBlockBoxes, slimStands);
  std::unordered_set<Text> planned;
  for (const auto& [path, file] : reusable) planned.insert(path);
  std::unordered_set<Text> handled;
  job.planned = &planned;
  job.handled = &handled;
  job.expectedBlock = number;
  HeaderPlan plan = PlanHeaders(job);
  job.planned = nullptr;
  job.handled = nullptr;
  job.expectedBlock = 0;
  if (plan.status != HeaderStatus::Done || plan.block != number) return PlanHeaders(job);
  TakeInReused(plan, block, reusable, reused);
  // Working the saving out over every box costs more than the rest of an
  // edit's plan: only when a message tells it, and the modules changed.
  if (!PlanTellsSaving(plan)) return plan;
  std::vector<const CodeBox*> boxes;
  for (const CodeBox& box : block.boxes) boxes.push_back(&box);
  plan.saving = savingStands ? savingBefore : SavingOf(boxes, job.catalogue);
  return plan;
}

}  // namespace

bool TellsSaving(const FilePlan& file) {
  return std::any_of(file.findings.begin(), file.findings.end(), [](const HeaderFinding& finding) {
    return finding.difference.kind == HeaderDifferenceKind::NoFramework;
  });
}

BytesDigest DigestOf(const std::string& bytes) {
  // As the examination hashes the files it reads.
  return {bytes.size(), std::hash<std::string>{}(bytes)};
}

const FilePlan* ProgramCheck::PlanOf(TextView path) const {
  for (const FilePlan& file : plan.files) {
    if (file.path == path) return &file;
  }
  return nullptr;
}

const FilePlan* ProgramCheck::WholePlanOf(TextView path) const {
  const FilePlan* file = PlanOf(path);
  return file && !slim.count(file->path) ? file : nullptr;
}

void ProgramCheck::Slim(const WholePlanWanted& whole) {
  for (FilePlan& file : plan.files) SlimPlan(file, whole);
}

void ProgramCheck::SlimPlan(FilePlan& file, const WholePlanWanted& whole) {
  if (file.path == mainPath || slim.count(file.path) || TellsSaving(file) ||
      (whole && whole(file.path))) {
    return;
  }
  // Assigning an empty string would keep the room.
  std::string().swap(file.bytes);
  file.lines = TextLines();
  file.present = PresentHeader();
  file.wanted = std::vector<WantedLine>();
  file.edit = HeaderEdit();
  file.findings = std::vector<HeaderFinding>();
  slim.insert(file.path);
}

namespace {

// The files the walk warned about now or last time: their diagnostics are
// made again from their plans.
std::unordered_set<Text> WarnedFiles(const Examination& now, const ProgramCheck* before) {
  std::unordered_set<Text> warned;
  for (const WalkWarning& warning : now.warnings) warned.insert(warning.file);
  if (!before) return warned;
  for (const WalkWarning& warning : before->examination.warnings) warned.insert(warning.file);
  return warned;
}

// Each plan's print: a reused one keeps its own, and stays slim if it was;
// one settled while it was planned has its own already.
void NotePrints(ProgramCheck& check, const ProgramCheck* before) {
  for (const FilePlan& file : check.plan.files) {
    if (!check.reused.count(file.path)) {
      if (check.slim.count(file.path)) continue;
      check.prints[file.path] = {DigestOf(file.bytes), FindingsPrint(file, check.plan.saving)};
      continue;
    }
    check.prints[file.path] = before->prints.at(file.path);
    if (before->slim.count(file.path)) check.slim.insert(file.path);
  }
}

}  // namespace

ProgramCheck CheckProgram(Installation& installation, const Text& mainPath,
                          ProgramCheck* before, const WholePlanWanted& whole,
                          const UnitSettled& settled) {
  AppState& state = *installation.state;
  ProgramCheck check;
  check.mainPath = mainPath;
  check.examination = ExamineProgram(state.Catalogue, state.Rules, *state.Files, mainPath,
                                     ReasonChoice::Give, &installation.MemoFor(mainPath),
                                     before ? &before->examination : nullptr);
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
  std::unordered_set<Text> warned = WarnedFiles(check.examination, before);
  auto slimStands = [&](const Text& path) {
    return !(whole && whole(path)) && !warned.count(path);
  };
  // A unit's findings that do not tell the saving, which is known only
  // once every unit is planned, are all its diagnostics need.
  job.judged = [&](FilePlan& file) {
    if (TellsSaving(file)) return;
    check.prints[file.path] = {DigestOf(file.bytes), FindingsPrint(file, FrameworkSaving())};
    if (settled) settled(check, file);
    check.SlimPlan(file, whole);
  };
  check.plan = PlanReusing(job, check.examination, before, slimStands, check.reused);
  // The saving is known only now, and the main file, whose findings tell
  // it, is never reused.
  if (!PlanTellsSaving(check.plan)) check.plan.saving = FrameworkSaving();
  NotePrints(check, before);
  return check;
}

}  // namespace vt::lsp
