#include "app/workspace.h"

namespace vt {

Result<Workspace> ResolveWorkspace(const WorkspaceRequest& request, const SettingsState& settings) {
  Workspace workspace;
  workspace.ruleSet = request.ruleSet;
  std::optional<RootChoice> projectRoot;
  if (std::optional<Text> found = FindProjectFile(request.near)) {
    Result<ProjectFile> project = ReadProjectFile(*found);
    if (!project) return project.fault();
    workspace.project = std::move(*project);
    const ProjectFile& file = *workspace.project;
    if (file.root) projectRoot = RootChoice{*file.root, file.path, RootSource::Project};
    if (!workspace.ruleSet) workspace.ruleSet = file.ruleSet;
    workspace.rulesFiles = file.rulesFiles;
  }
  for (const Text& file : request.rulesFiles) workspace.rulesFiles.push_back(file);
  workspace.root = ChooseRootFolder(request.root, projectRoot, settings, request.programFolder);
  return workspace;
}

}  // namespace vt
