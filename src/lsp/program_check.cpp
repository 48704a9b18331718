#include "lsp/program_check.h"

#include <unordered_set>

#include "base/paths.h"
#include "header/module_reason.h"

namespace vt::lsp {

const FilePlan* ProgramCheck::PlanOf(TextView path) const {
  for (const FilePlan& file : plan.files) {
    if (file.path == path) return &file;
  }
  return nullptr;
}

ProgramCheck CheckProgram(Installation& installation, const Text& mainPath) {
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
  check.plan = PlanHeaders(job);
  return check;
}

}  // namespace vt::lsp
