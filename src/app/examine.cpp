#include "app/examine.h"

#include "analysis/analyse.h"
#include "analysis/reasons.h"
#include "app/pages.h"
#include "base/paths.h"
#include "platform/file_system.h"

namespace vt {

namespace {

// What the examination keeps of the analysis before it is reset: the walk,
// the counts, the warnings and the reasons behind the suggestion.
void KeepFindings(const AnalysisState& analysis, ReasonChoice reasons, Examination& result) {
  if (reasons == ReasonChoice::Give) ExplainSuggestion(analysis, result.suggestion);
  for (const auto& entry : analysis.ScanListList) result.walked.push_back(*entry);
  result.totalLines = analysis.TotalLines;
  result.codeLines = analysis.CodeLines;
  result.warnings = analysis.Warnings;
}

// The files the walk read; module entries name no file.
std::vector<Text> FilesRead(const AnalysisState& analysis) {
  std::vector<Text> files;
  for (const auto& entry : analysis.ScanListList) {
    if (entry->kind != EntryKind::Module) files.push_back(entry->path);
  }
  return files;
}

}  // namespace

Text FilesNotReadMessage(const TextList& files) {
  Text message = u"Too many files are open: these files could not be read.";
  for (const Text& file : files) message += u"\n" + file;
  return message;
}

Examination ExamineSource(AppState& state, TextView path, PageChoice page,
                          ReasonChoice reasons) {
  Examination result;
  if (path.empty()) return result;
  // A relative name is the user's, from the folder the run started in.
  Text source = AnchorPath(path, CurrentFolder());
  // An empty or unreadable program is no program; an unsaved buffer over
  // the disk counts as what the file holds.
  std::string bytes;
  if (state.Files->ReadBytes(source, bytes) != ReadOutcome::Read || bytes.empty()) return result;
  state.Examine.MainSourcePath = source;
  if (!CheckRootFolder(state.Settings, state.screen, true)) {
    result.outcome = ExamineOutcome::RootFolderMissing;
    return result;
  }

  Screen& screen = state.screen;
  screen.SetViewVisible(false);
  screen.SetLabelText(u"Scanning: " + source);
  // Only the rules whose modules are installed act; the analysis points
  // into these until it is reset below.
  RuleBook rules = InstalledRules(state.Rules, state.Catalogue);
  {
    bool explain = reasons == ReasonChoice::Give;
    AnalyseProgram(state.Analysis, state.Catalogue, *state.Files, source,
                   explain ? CauseNotes::Keep : CauseNotes::Skip, rules, state.Memo.get());
    // Without an explanation nothing reads the records' lists again.
    result.suggestion =
        explain ? SuggestFrameworks(state.Analysis) : TakeFrameworks(state.Analysis);
  }
  // The examination's findings first; the page renders them after.
  KeepFindings(state.Analysis, reasons, result);
  result.filesNotRead = state.Analysis.FilesNotRead;
  result.ruleSet = state.Analysis.ruleSet;
  if (page == PageChoice::Write) {
    result.page = WriteAndShowPage(state, FilesRead(state.Analysis), [&](htmltype& html) {
      WriteResultsPage(html, state.Analysis, result.suggestion);
    });
  }
  if (!result.filesNotRead.empty()) screen.InformationBox(FilesNotReadMessage(result.filesNotRead));

  // Nothing of this examination is kept but its result.
  state.Analysis = AnalysisState();
  state.Report.ReportLines.clear();
  screen.SetViewVisible(true);
  screen.SetLabelText(u"HTML Report:");
  if (page == PageChoice::Skip) {
    result.outcome = ExamineOutcome::Analysed;
  } else {
    result.outcome = result.page.written          ? ExamineOutcome::ReportWritten
                     : result.page.refusal.empty() ? ExamineOutcome::ReportNotWritten
                                                   : ExamineOutcome::ReportRefused;
  }
  return result;
}

}  // namespace vt
