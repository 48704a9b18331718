// Pages on screen: where the report is written and how a page is shown.
#pragma once

#include "app/app_state.h"

namespace vt {

// The path reports are written to: the chosen report file, or results.htm in
// the report folder.
Text ReportFilePath(const AppState& state);

// Before a page is written to results.htm in the report folder: makes that
// folder and gives it the pictures the page names. A chosen report file is
// left to its chooser.
void PrepareReportFolder(const AppState& state);

// Shows `path` in the report view, or says that it cannot.
void ShowFile(Screen& screen, TextView path);

// Writes the catalogue as a table to the report file and shows it. True when
// the page was written (the window ignores it; the command line reports it).
bool ShowModuleDetails(AppState& state);

}  // namespace vt
