// Where a run finds its BlitzMax root, its rules and its project's settings.
// Every front end asks here, so that a program gets the same installation
// and rules in the terminal, in the window and in an editor.
#pragma once

#include <optional>
#include <vector>

#include "app/project_file.h"
#include "app/root_choice.h"
#include "app/settings.h"
#include "base/fault.h"
#include "base/text.h"

namespace vt {

// What the user said, and where the program lies.
struct WorkspaceRequest {
  std::optional<Text> root;
  std::optional<RuleSetKind> ruleSet;
  std::vector<Text> rulesFiles;
  // The folder veltrane.toml is looked for in, and above it: the program's.
  Text near;
  // The folder that holds the running program, which may lie inside an
  // installation.
  Text programFolder;
};

struct Workspace {
  RootChoice root;
  std::optional<ProjectFile> project;
  // What the user named, else what the project file names.
  std::optional<RuleSetKind> ruleSet;
  // The project file's rule files, then the user's.
  std::vector<Text> rulesFiles;
};

// The root in the order of ChooseRootFolder (`settings` names vt.ini), the
// rule set and the rule files, with the nearest project file's say. A
// malformed project file is the fault ("FILE:LINE: what is wrong").
Result<Workspace> ResolveWorkspace(const WorkspaceRequest& request, const SettingsState& settings);

}  // namespace vt
