// Pages on screen: where the report is written and how a page is shown.
#pragma once

#include <functional>
#include <vector>

#include "app/app_state.h"

namespace vt {

// What became of a page.
struct PageWrite {
  bool written = false;
  // Why the page was not even tried: it would have replaced a file it must
  // not. Empty when the page was written, or when writing it failed.
  Text refusal;
  // Writing failed because someone changed or replaced the file at the
  // page's path while the page was being made; it was left as they made it.
  bool changedMeanwhile = false;
  explicit operator bool() const { return written; }
};

// The path reports are written to: the chosen report file, or results.htm in
// the report folder.
Text ReportFilePath(const AppState& state);

// Why a page must not go to `pagePath`, or empty when it may: it would
// replace the examined program or one of `readFiles` (the files the
// examination read), or land inside the installation's mod folder.
Text PageRefusal(const AppState& state, TextView pagePath, const std::vector<Text>& readFiles);

// Builds a page with `build` straight into the report file, unless
// PageRefusal forbids it, and shows it. When it was not written the window
// says why and shows no page at all: an older report would pass for this
// one. The page is not kept in ReportLines.
PageWrite WriteAndShowPage(AppState& state, const std::vector<Text>& readFiles,
                           const std::function<void(htmltype&)>& build);
// The same to `path`.
PageWrite WriteAndShowPage(AppState& state, const std::vector<Text>& readFiles,
                           const std::function<void(htmltype&)>& build, TextView path);

// Where the module details page goes: the chosen report file, or
// modules.htm beside results.htm, so that the last report stays.
Text ModuleDetailsFilePath(const AppState& state);

// Before a page is written to results.htm in the report folder: makes that
// folder and gives it the pictures the page names. A chosen report file is
// left to its chooser.
void PrepareReportFolder(const AppState& state);

// Shows `path` in the report view, or says that it cannot.
void ShowFile(Screen& screen, TextView path);

// Writes the catalogue as a table to its page and shows it. The page goes to
// the file as it is built; ReportLines does not keep it.
PageWrite ShowModuleDetails(AppState& state);

}  // namespace vt
