#include "app/program_layout.h"

#include <vector>

#include "base/paths.h"
#include "platform/file_system.h"

namespace vt {

namespace {

constexpr char16_t kSettingsFileName[] = u"vt.ini";
constexpr char16_t kHelpFileName[] = u"index.htm";
constexpr char16_t kPictureFolderName[] = u"htmldata";

bool IsPicture(TextView name) { return EndsWith(Lower(name), u".gif"); }

}  // namespace

ProgramLayout PortableLayout(TextView programFolder) {
  Text folder(programFolder);
  return ProgramLayout{folder, folder, folder, folder};
}

ProgramLayout ChooseLayout(const LayoutFacts& facts) {
  if (facts.programFolderHoldsSettings || facts.programFolderWritable ||
      facts.userDataFolder.empty()) {
    return PortableLayout(facts.programFolder);
  }
  ProgramLayout layout;
  layout.ProgramFolder = facts.programFolder;
  layout.SettingsFolder = facts.userDataFolder;
  layout.ReportFolder = facts.userDataFolder;
  layout.HelpFolder = facts.shareFolderHoldsHelp ? facts.shareFolder : facts.programFolder;
  return layout;
}

Text ShareFolderOf(TextView programFolder) {
  Text prefix = FolderPart(programFolder);
  if (prefix.empty()) return Text();
  return JoinPath(prefix, u"share/veltrane");
}

LayoutFacts GatherLayoutFacts(TextView programFolder) {
  LayoutFacts facts;
  facts.programFolder = programFolder;
  facts.programFolderHoldsSettings =
      GetFileKind(JoinPath(programFolder, kSettingsFileName)) == FileKind::File;
  if (!facts.programFolderHoldsSettings) {
    facts.programFolderWritable = FolderAcceptsNewFiles(programFolder);
  }
  facts.userDataFolder = UserDataFolder();
  facts.shareFolder = ShareFolderOf(programFolder);
  facts.shareFolderHoldsHelp =
      !facts.shareFolder.empty() &&
      GetFileKind(JoinPath(facts.shareFolder, kHelpFileName)) == FileKind::File;
  return facts;
}

ProgramLayout LayoutForProgram(TextView programFolder) {
  return ChooseLayout(GatherLayoutFacts(programFolder));
}

bool PrepareReportFolder(const ProgramLayout& layout) {
  // Beside the help page the pictures are there already.
  if (layout.ReportFolder == layout.HelpFolder) return true;
  if (!MakeFolders(layout.ReportFolder)) return false;
  Text from = JoinPath(layout.HelpFolder, kPictureFolderName);
  Text to = JoinPath(layout.ReportFolder, kPictureFolderName);
  std::vector<Text> names = ListFolder(from);
  if (names.empty() || !MakeFolders(to)) return true;
  for (const Text& name : names) {
    if (IsPicture(name)) CopyFileIfMissing(JoinPath(from, name), JoinPath(to, name));
  }
  return true;
}

bool PrepareSettingsFolder(const ProgramLayout& layout) {
  return MakeFolders(layout.SettingsFolder);
}

}  // namespace vt
