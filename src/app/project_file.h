// A project's own settings for veltrane-cli, kept beside its sources in
// veltrane.toml: the BlitzMax root, the rule set, rule files, its main files
// and modules to keep. Found in the folder of the files given or above it.
#pragma once

#include <optional>
#include <vector>

#include "base/fault.h"
#include "base/text.h"
#include "catalogue/module_records.h"

namespace vt {

inline constexpr char16_t kProjectFileName[] = u"veltrane.toml";

struct ProjectFile {
  Text path;  // the file itself
  // Paths are anchored at the file's folder.
  std::optional<Text> root;
  std::optional<RuleSetKind> ruleSet;  // unset: "auto", or not named
  std::vector<Text> rulesFiles;
  std::vector<Text> mainFiles;
  // Modules whose Import lines are never reported or removed (lower-cased).
  std::vector<Text> keep;
};

// The nearest veltrane.toml in `folder` or a folder above it, if any.
std::optional<Text> FindProjectFile(TextView folder);

// Reads the project file at `path`; its fault says "FILE:LINE: what is
// wrong".
Result<ProjectFile> ReadProjectFile(TextView path);

}  // namespace vt
