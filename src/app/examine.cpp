#include "app/examine.h"

#include "analysis/analyse.h"
#include "app/pages.h"
#include "base/paths.h"
#include "platform/file_system.h"

namespace vt {

namespace {

// The walk forms full paths from the current folder, so it runs inside the
// source's folder; the folder the caller had is put back afterwards.
class SourceFolderVisit {
 public:
  explicit SourceFolderVisit(const Text& source) : saved_(CurrentFolder()) {
    Text folder = FolderPart(source);
    if (!folder.empty() && !IsRootFolder(folder)) ChangeFolder(folder);
  }
  ~SourceFolderVisit() { ChangeFolder(saved_); }
  SourceFolderVisit(const SourceFolderVisit&) = delete;
  SourceFolderVisit& operator=(const SourceFolderVisit&) = delete;

 private:
  Text saved_;
};

}  // namespace

Text FilesNotReadMessage(const TextList& files) {
  Text message = u"Too many files are open: these files could not be read.";
  for (const Text& file : files) message += u"\n" + file;
  return message;
}

Examination ExamineSource(AppState& state, TextView path) {
  Examination result;
  if (path.empty()) return result;
  if (GetFileSize(path) <= 0) return result;
  // A relative name would be taken twice from the source's own folder, once
  // here and once by the walk, and find nothing: anchor it first.
  Text source = AnchorPath(path, CurrentFolder());
  state.Examine.MainSourcePath = source;
  if (!CheckRootFolder(state.Settings, state.screen, true)) {
    result.outcome = ExamineOutcome::RootFolderMissing;
    return result;
  }

  Screen& screen = state.screen;
  screen.SetViewVisible(false);
  screen.SetLabelText(u"Scanning: " + source);
  bool written = false;
  {
    SourceFolderVisit visit(source);
    AnalyseProgram(state.Analysis, state.Catalogue, source);
    result.suggestion = SuggestFrameworks(state.Analysis);
    htmltype html(state.Report.ReportLines);
    WriteResultsPage(html, state.Analysis, result.suggestion);
    written = html.WriteReportFile(ReportFilePath(state));
  }
  ShowFile(screen, ReportFilePath(state));
  result.filesNotRead = state.Analysis.FilesNotRead;
  if (!result.filesNotRead.empty()) screen.InformationBox(FilesNotReadMessage(result.filesNotRead));

  // Nothing of this examination is kept but its result.
  state.Analysis = AnalysisState();
  state.Report.ReportLines.clear();
  for (const auto& module : state.Catalogue.ModList) module->matched = 0;
  screen.SetViewVisible(true);
  screen.SetLabelText(u"HTML Report:");
  result.outcome = written ? ExamineOutcome::ReportWritten : ExamineOutcome::ReportNotWritten;
  return result;
}

}  // namespace vt
