#include "app/root_choice.h"

#include "base/paths.h"
#include "platform/file_system.h"

namespace vt {

namespace {

// The folder, from `folder` upwards, whose bin holds bmk: veltrane-cli
// copied into a BlitzMax installation finds it without being told.
Text InstallationAround(TextView folder) {
  Text at(folder);
  while (!at.empty()) {
    for (const char16_t* bmk : {u"/bin/bmk", u"/bin/bmk.exe"}) {
      if (GetFileKind(at + bmk) == FileKind::File) return at;
    }
    Text parent = FolderPart(at);
    if (parent == at || parent.empty()) break;
    at = parent;
  }
  return Text();
}

}  // namespace

RootChoice ChooseRootFolder(const std::optional<Text>& root,
                            const std::optional<RootChoice>& project,
                            const SettingsState& settings, TextView programFolder) {
  if (root) return {*root, u"--root", RootSource::Given};
  if (project) return *project;
  if (Text variable = EnvironmentVariable("BMXPATH"); !variable.empty()) {
    return {NormaliseRootFolder(variable, kNativePathStyle), u"BMXPATH", RootSource::Environment};
  }
  Text settingsFile = SettingsFilePath(settings);
  if (Text line; ReadSettingsLine(settingsFile, line) && !Trim(line).empty()) {
    return {NormaliseRootFolder(line), u"vt.ini (" + settingsFile + u")", RootSource::Settings};
  }
  if (Text around = InstallationAround(programFolder); !around.empty()) {
    return {around, u"the BlitzMax installation around veltrane-cli", RootSource::Installation};
  }
  return {DefaultRootFolder(), u"the default", RootSource::Default};
}

}  // namespace vt
