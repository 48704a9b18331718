#include "app/pages.h"

#include "platform/file_system.h"
#include "report/module_details.h"

namespace vt {

Text ReportFilePath(const AppState& state) {
  if (!state.Report.ReportFile.empty()) return state.Report.ReportFile;
  return state.Settings.Layout.ReportFolder + u"/results.htm";
}

void PrepareReportFolder(const AppState& state) {
  if (state.Report.ReportFile.empty()) PrepareReportFolder(state.Settings.Layout);
}

void ShowFile(Screen& screen, TextView path) {
  if (!screen.ShowsPages()) return;
  Text shown = Replace(path, u"//", u"/");
  if (GetFileSize(shown) >= 0) {
    screen.Navigate(shown);
    return;
  }
  screen.InformationBox(u"HTML file error. Unable to view:\n" + shown);
}

bool ShowModuleDetails(AppState& state) {
  htmltype html(state.Report.ReportLines);
  WriteModuleDetails(html, state.Catalogue);
  PrepareReportFolder(state);
  bool written = html.WriteReportFile(ReportFilePath(state));
  ShowFile(state.screen, ReportFilePath(state));
  return written;
}

}  // namespace vt
