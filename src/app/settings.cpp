#include "app/settings.h"

#include "platform/atomic_file.h"
#include "base/paths.h"
#include "platform/file_system.h"

namespace vt {

namespace {
constexpr char16_t kSettingsFile[] = u"/vt.ini";
}

Text DefaultRootFolder() {
  if (kNativePathStyle == PathStyle::Windows) return u"C:/Program Files/BlitzMax";
  // A folder relative to wherever the program was started is no default.
  Text home = HomeFolder();
  if (home.empty()) return Text();
  if (home.back() != u'/') home += u'/';
  return home + u"BlitzMax";
}

Text SettingsFilePath(const SettingsState& settings) {
  return settings.Layout.SettingsFolder + kSettingsFile;
}

SettingsState FreshSettings(const ProgramLayout& layout) {
  SettingsState settings;
  settings.RootFolder = DefaultRootFolder();
  settings.Layout = layout;
  return settings;
}

bool ReadSettingsLine(TextView path, Text& line) {
  ByteReader bytes;
  if (!bytes.Open(path)) return false;
  line.clear();
  while (!bytes.AtEnd()) {
    uint8_t b = bytes.ReadByte();
    if (b == 10 || b == 0) break;
    if (b != 13) line += static_cast<char16_t>(b);
  }
  return true;
}

Text NormaliseRootFolder(TextView folder, PathStyle style) {
  Text result = UserPath(folder, style);
  if (!result.empty() && result.back() == u'/') result.pop_back();
  return result;
}

bool WriteSettingsFile(const SettingsState& settings, TextView folder) {
  AtomicFileWriter out;
  if (!out.Open(SettingsFilePath(settings))) return false;
  std::string bytes;
  for (char16_t c : ForwardSlashes(folder)) bytes += static_cast<char>(c & 0xFF);
  bytes += "\r\n";
  out.Write(bytes);
  return out.Commit();
}

Text RootFolderMessage(const SettingsState& settings, bool fromCommand) {
  if (fromCommand) {
    return u"Please set the correct BlitzMax ROOT folder\n"
           u"first via the 'Max' menu.";
  }
  return u"Unable to find BlitzMax 'MOD' folder in: \n" + settings.RootFolder +
         u"\n\nPlease set the correct BlitzMax ROOT\nfolder via the Max menu";
}

namespace {

bool HoldsModFolder(SettingsState& settings) {
  // An empty root would test "/mod" at the top of the file system.
  if (settings.RootFolder.empty()) return false;
  if (GetFileKind(settings.RootFolder + u"/mod") != FileKind::Folder) return false;
  settings.RootFolderVerified = true;
  return true;
}

}  // namespace

bool VerifyRootFolder(SettingsState& settings) {
  if (settings.RootFolderVerified) return true;
  Text line;
  if (ReadSettingsLine(SettingsFilePath(settings), line)) {
    settings.RootFolder = NormaliseRootFolder(line);
  }
  return HoldsModFolder(settings);
}

bool CheckRootFolder(SettingsState& settings, Screen& screen, bool fromCommand) {
  if (VerifyRootFolder(settings)) return true;
  screen.WarningBox(RootFolderMessage(settings, fromCommand));
  return false;
}

bool CheckChosenRootFolder(SettingsState& settings, Screen& screen) {
  if (settings.RootFolderVerified || HoldsModFolder(settings)) return true;
  screen.WarningBox(RootFolderMessage(settings, false));
  return false;
}

}  // namespace vt
