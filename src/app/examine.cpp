#include "app/examine.h"

#include "analysis/analyse.h"
#include "analysis/graphics_templates.h"
#include "analysis/source_records.h"
#include "app/settings.h"
#include "base/paths.h"
#include "platform/file_system.h"
#include "platform/screen.h"
#include "report/html_report.h"

namespace vt {

ExamineState Examine;

namespace {

// The source's folder becomes current; the walk forms full paths from it.
void EnterSourceFolder(const Text& path) {
  size_t slash = path.rfind(u'/');
  if (slash == Text::npos || slash == 0) return;
  ChangeFolder(path.substr(0, slash));
}

bool WriteReport() {
  Html.WriteHead();
  Html.AddLine(u"<hr>");
  Html.WriteFilesScanned();
  WriteGraphicsTemplates();
  Html.WriteLineCounts();
  return Html.WriteReportFile();
}

}  // namespace

void ResetExamineRun() {
  for (const auto& module : Catalogue.ModList) module->matched = 0;
  for (const auto& record : Analysis.SourceModList) {
    record->modules.clear();
    record->optionalModules.clear();
    record->words.clear();
    record->extraLines.clear();
  }
  Catalogue.ScanListList.clear();
  Analysis.SourceModList.clear();
  Report.ReportLines.clear();
  // The cursors would otherwise point into the records just dropped.
  Catalogue.CurrentScanEntry = nullptr;
  Analysis.CurrentSource = nullptr;
}

ExamineOutcome ExamineSource(TextView path) {
  if (path.empty()) return ExamineOutcome::Ignored;
  if (GetFileSize(path) <= 0) return ExamineOutcome::Ignored;
  // A relative name would be taken twice from the source's own folder, once
  // here and once by the walk, and find nothing: anchor it first.
  Text source = AnchorPath(path, CurrentFolder());
  Examine.MainSourcePath = source;
  if (!CheckRootFolder(true)) return ExamineOutcome::RootFolderMissing;

  Screen& screen = CurrentScreen();
  screen.SetViewVisible(false);
  screen.SetLabelText(u"Scanning: " + source);
  EnterSourceFolder(source);
  AnalyseProgram(source);
  bool written = WriteReport();
  Html.ShowFile(ReportFilePath());

  ResetExamineRun();
  screen.SetViewVisible(true);
  screen.SetLabelText(u"HTML Report:");
  return written ? ExamineOutcome::ReportWritten : ExamineOutcome::ReportNotWritten;
}

}  // namespace vt
