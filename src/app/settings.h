// The root folder of the BlitzMax installation, the settings file vt.ini
// that keeps it across runs, and the check that the folder holds "mod".
#pragma once

#include "app/program_layout.h"
#include "base/paths.h"
#include "base/text.h"
#include "platform/screen.h"

namespace vt {

struct SettingsState {
  Text RootFolder;
  bool RootFolderVerified = false;
  // Where vt.ini, the report and the help page lie.
  ProgramLayout Layout;
};

// The root folder a fresh run starts from: "C:/Program Files/BlitzMax" on
// Windows, ~/BlitzMax elsewhere, and empty where no home folder is set.
Text DefaultRootFolder();

// vt.ini in the settings folder.
Text SettingsFilePath(const SettingsState& settings);

// Fresh settings: default root folder, not verified, `layout`.
SettingsState FreshSettings(const ProgramLayout& layout);

// The first line of a settings file: bytes up to the first 10 or 0, every 13
// dropped, one character per byte. False when the file cannot be opened.
bool ReadSettingsLine(TextView path, Text& line);

// A folder as read from vt.ini: backslashes to "/", one trailing "/"
// removed. A folder the user names (PathStyle of the system) keeps its
// backslashes where they are no separators.
Text NormaliseRootFolder(TextView folder, PathStyle style = PathStyle::Windows);

// Writes `folder` as the only line of vt.ini in the settings folder, in one
// step: the old file stays whole when writing fails. False when it could not
// be written.
bool WriteSettingsFile(const SettingsState& settings, TextView folder);

// Takes vt.ini (when it can be read) and tests that the root folder holds a
// folder named "mod", without a word. True once a test has passed; an empty
// root folder never passes.
bool VerifyRootFolder(SettingsState& settings);

// Tests the root folder the user just chose, as it is: vt.ini is not read,
// so a settings file that could not be written cannot bring back the old
// folder. Shows the start-up message when it has no "mod".
bool CheckChosenRootFolder(SettingsState& settings, Screen& screen);

// True when the root folder holds a folder named "mod". On failure shows one
// of two messages on `screen`: the short one when `fromCommand` guards a
// user command.
bool CheckRootFolder(SettingsState& settings, Screen& screen, bool fromCommand);

// The messages CheckRootFolder shows.
Text RootFolderMessage(const SettingsState& settings, bool fromCommand);

}  // namespace vt
