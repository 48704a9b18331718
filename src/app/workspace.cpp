#include "app/workspace.h"

namespace vt {

WorkspaceRead ResolveWorkspace(const WorkspaceRequest& request, const SettingsState& settings) {
  WorkspaceRead read;
  Workspace workspace;
  workspace.ruleSet = request.ruleSet;
  std::optional<RootChoice> projectRoot;
  if (std::optional<Text> found = FindProjectFile(request.near)) {
    ProjectRead project = ReadProjectFile(*found);
    if (!project.project) {
      read.error = project.error;
      return read;
    }
    workspace.project = std::move(project.project);
    const ProjectFile& file = *workspace.project;
    if (file.root) projectRoot = RootChoice{*file.root, file.path, RootSource::Project};
    if (!workspace.ruleSet) workspace.ruleSet = file.ruleSet;
    workspace.rulesFiles = file.rulesFiles;
  }
  if (request.rulesFile) workspace.rulesFiles.push_back(*request.rulesFile);
  workspace.root = ChooseRootFolder(request.root, projectRoot, settings, request.programFolder);
  read.workspace = std::move(workspace);
  return read;
}

}  // namespace vt
