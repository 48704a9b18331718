#include "app/pages.h"

#include "platform/file_system.h"
#include "platform/native_path.h"
#include "report/module_details.h"

namespace vt {

Text ReportFilePath(const AppState& state) {
  if (!state.Report.ReportFile.empty()) return state.Report.ReportFile;
  return state.Settings.Layout.ReportFolder + u"/results.htm";
}

void PrepareReportFolder(const AppState& state) {
  if (state.Report.ReportFile.empty()) PrepareReportFolder(state.Settings.Layout);
}

Text PageRefusal(const AppState& state, TextView pagePath, const std::vector<Text>& readFiles) {
  Text page(pagePath);
  // A page that does not exist yet replaces nothing; one that does is asked
  // about once, not again beside each of a large program's files.
  std::optional<FileIdentity> pageFile = IdentityOf(page);
  auto isPage = [&](TextView file) { return pageFile && IdentityOf(file) == pageFile; };
  if (isPage(state.Examine.MainSourcePath)) {
    return u"The report would replace the examined program, so it was not written:\n" + page;
  }
  for (const Text& file : readFiles) {
    if (isPage(file)) {
      return u"The report would replace a file the program uses, so it was not written:\n" +
             page;
    }
  }
  if (!state.Settings.RootFolder.empty() &&
      IsInsideFolder(page, state.Settings.RootFolder + u"/mod")) {
    return u"The report would go inside the BlitzMax MOD folder, so it was not written:\n" +
           page;
  }
  return Text();
}

namespace {

// Shows the page that was written, or, in the window, says why there is none.
PageWrite ShowWrittenPage(AppState& state, TextView path, PageWrite page) {
  Screen& screen = state.screen;
  if (page.written) {
    ShowFile(screen, path);
  } else if (screen.ShowsPages()) {
    screen.ClearView();
    Text why = page.refusal;
    if (why.empty()) {
      why = u"Unable to write the report:\n" + Replace(path, u"//", u"/");
      if (page.changedMeanwhile) why += u"\nIt changed while being examined; run again.";
    }
    screen.WarningBox(why);
  }
  return page;
}

}  // namespace

PageWrite WriteAndShowPage(AppState& state, const std::vector<Text>& readFiles,
                           const std::function<void(htmltype&)>& build) {
  return WriteAndShowPage(state, readFiles, build, ReportFilePath(state));
}

Text ModuleDetailsFilePath(const AppState& state) {
  if (!state.Report.ReportFile.empty()) return state.Report.ReportFile;
  return state.Settings.Layout.ReportFolder + u"/modules.htm";
}

PageWrite WriteAndShowPage(AppState& state, const std::vector<Text>& readFiles,
                           const std::function<void(htmltype&)>& build, TextView pagePath) {
  Text path(pagePath);
  PageWrite page;
  page.refusal = PageRefusal(state, path, readFiles);
  if (page.refusal.empty()) {
    PrepareReportFolder(state);
    // A page can be far larger than what it was made from (a closed import
    // list, a box per program file): it goes to the file as it is built.
    htmltype html(state.Report.ReportLines);
    html.StreamTo(path);
    build(html);
    page.written = html.WriteReportFile(path);
    page.changedMeanwhile = html.ChangedMeanwhile();
  }
  return ShowWrittenPage(state, path, page);
}

void ShowFile(Screen& screen, TextView path) {
  if (!screen.ShowsPages()) return;
  Text shown = Replace(path, u"//", u"/");
  if (GetFileSize(shown) >= 0) {
    screen.Navigate(shown);
    return;
  }
  screen.WarningBox(u"HTML file error. Unable to view:\n" + shown);
}

PageWrite ShowModuleDetails(AppState& state) {
  return WriteAndShowPage(
      state, {}, [&](htmltype& html) { WriteModuleDetails(html, state.Catalogue); },
      ModuleDetailsFilePath(state));
}

}  // namespace vt
