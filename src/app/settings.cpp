#include "app/settings.h"

#include "platform/file_system.h"

namespace vt {

namespace {
constexpr char16_t kSettingsFile[] = u"/vt.ini";
}

Text DefaultRootFolder() {
  Text home = HomeFolder();
  if (home.empty()) return u"C:/Program Files/BlitzMax";
  if (home.back() != u'/') home += u'/';
  return home + u"BlitzMax";
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

Text NormaliseRootFolder(TextView folder) {
  Text result = ForwardSlashes(folder);
  if (!result.empty() && result.back() == u'/') result.pop_back();
  return result;
}

bool WriteSettingsFile(const SettingsState& settings, TextView folder) {
  ByteWriter out;
  if (!out.Open(settings.Layout.SettingsFolder + kSettingsFile)) return false;
  std::string bytes;
  for (char16_t c : ForwardSlashes(folder)) bytes += static_cast<char>(c & 0xFF);
  bytes += "\r\n";
  out.Write(bytes);
  return out.Close();
}

Text RootFolderMessage(const SettingsState& settings, bool fromCommand) {
  if (fromCommand) {
    return u"Please set the correct BlitzMax ROOT folder\n"
           u"first via the 'Max' menu.";
  }
  return u"Unable to find BlitzMax 'MOD' folder in: \n" + settings.RootFolder +
         u"\n\nPlease set the correct BlitzMax ROOT\nfolder via the Max menu";
}

bool CheckRootFolder(SettingsState& settings, Screen& screen, bool fromCommand) {
  if (settings.RootFolderVerified) return true;
  Text line;
  if (ReadSettingsLine(settings.Layout.SettingsFolder + kSettingsFile, line)) {
    settings.RootFolder = NormaliseRootFolder(line);
  }
  if (GetFileKind(settings.RootFolder + u"/mod") == FileKind::Folder) {
    settings.RootFolderVerified = true;
    return true;
  }
  screen.InformationBox(RootFolderMessage(settings, fromCommand));
  return false;
}

}  // namespace vt
