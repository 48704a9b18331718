// Where a front end without a window finds the BlitzMax root folder, in the
// order users keep it: --root, the project file, the BMXPATH variable that
// BlitzMax's own tools read, vt.ini, an installation around the program,
// and ~/BlitzMax. The command line decides so, and so may any front end
// that examines programs on the user's behalf.
#pragma once

#include <optional>

#include "app/settings.h"
#include "base/text.h"

namespace vt {

// Where a root folder was named, in the order the choice looks.
enum class RootSource { Given, Project, Environment, Settings, Installation, Default };

struct RootChoice {
  Text folder;
  // Where it came from, for a message: "--root", the project file's path,
  // "BMXPATH", "vt.ini (...)", "the BlitzMax installation around
  // veltrane-cli" or "the default".
  Text source;
  RootSource kind = RootSource::Default;
};

// The first place in the order that names a root folder. `root` is the
// value of --root and `project` the root veltrane.toml names (with the
// file's path as its source), if given; `programFolder` holds veltrane-cli.
RootChoice ChooseRootFolder(const std::optional<Text>& root,
                            const std::optional<RootChoice>& project,
                            const SettingsState& settings, TextView programFolder);

}  // namespace vt
