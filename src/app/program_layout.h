// Where the program keeps its files. A copy in a folder of its own (a USB
// stick, a build folder) keeps vt.ini, results.htm and the help page beside
// itself. An installed one cannot write there, so its settings and reports
// go to the user's data folder and the help page is read from the shared
// data folder that the installation lays out.
#pragma once

#include "base/text.h"

namespace vt {

struct ProgramLayout {
  // Holds the executable; the current folder after start-up.
  Text ProgramFolder;
  // Holds vt.ini.
  Text SettingsFolder;
  // Holds results.htm, and under htmldata/ the pictures its page names.
  Text ReportFolder;
  // Holds the help page index.htm and, under htmldata/, the pictures.
  Text HelpFolder;
};

// What start-up finds out about the places the program could use.
struct LayoutFacts {
  Text programFolder;
  bool programFolderHoldsSettings = false;
  // Only probed when the folder holds no vt.ini, which decides by itself.
  bool programFolderWritable = false;
  // Empty when the system names none.
  Text userDataFolder;
  // <program folder>/../share/veltrane, as the installation lays it out.
  Text shareFolder;
  bool shareFolderHoldsHelp = false;
};

// Everything beside the program, as a copy in a folder of its own has it.
ProgramLayout PortableLayout(TextView programFolder);

// Portable when the program's folder holds vt.ini or takes new files (or
// when there is no user data folder to go to); otherwise settings and
// reports in the user data folder, and the help page from the share folder
// when it holds one, else from beside the program.
ProgramLayout ChooseLayout(const LayoutFacts& facts);

// The share folder an installation in <prefix>/bin has: <prefix>/share/veltrane.
Text ShareFolderOf(TextView programFolder);

// Looks at the file system (a file is made and removed in the program's
// folder when that folder holds no vt.ini).
LayoutFacts GatherLayoutFacts(TextView programFolder);

// The layout for the program in `programFolder`, decided once at start-up.
ProgramLayout LayoutForProgram(TextView programFolder);

// Makes the report folder ready for a page: creates it and, when it is not
// the folder the pictures come from, copies in the pictures it lacks (those
// already there are left alone). False when the folder cannot be made.
bool PrepareReportFolder(const ProgramLayout& layout);

// Creates the settings folder when it is missing. False when it cannot be.
bool PrepareSettingsFolder(const ProgramLayout& layout);

}  // namespace vt
