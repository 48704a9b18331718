#include "app/examine.h"

#include "app/pages.h"
#include "base/paths.h"
#include "platform/file_system.h"

namespace vt {

namespace {

// The files the walk read; module entries name no file.
std::vector<Text> FilesRead(const Examination& examination) {
  std::vector<Text> files;
  for (const scanlisttype& entry : examination.walked) {
    if (entry.kind != EntryKind::Module) files.push_back(entry.path);
  }
  return files;
}

}  // namespace

Text FilesNotReadMessage(const TextList& files) {
  Text message = u"Too many files are open: these files could not be read.";
  for (const Text& file : files) message += u"\n" + file;
  return message;
}

SourceToExamine CheckSourceToExamine(AppState& state, TextView path) {
  SourceToExamine checked;
  if (path.empty()) return checked;
  // A relative name is the user's, from the folder the run started in.
  Text source = AnchorPath(path, CurrentFolder());
  // An empty or unreadable program is no program; an unsaved buffer over
  // the disk counts as what the file holds.
  std::string bytes;
  if (state.Files->ReadBytes(source, bytes) != ReadOutcome::Read || bytes.empty()) return checked;
  state.Examine.MainSourcePath = source;
  if (!CheckRootFolder(state.Settings, state.screen, true)) {
    checked.refusal = ExamineOutcome::RootFolderMissing;
    return checked;
  }
  checked.source = source;
  return checked;
}

ExaminedSource ExamineCheckedSource(AppState& state, const SourceToExamine& checked,
                                    PageChoice page, ReasonChoice reasons) {
  ExaminedSource result;
  result.outcome = checked.refusal;
  if (checked.source.empty()) return result;
  static_cast<Examination&>(result) = ExamineProgram(state.Catalogue, state.Rules, *state.Files,
                                                     checked.source, reasons, state.Memo.get());
  // The examination's findings first; the page renders them after.
  if (page == PageChoice::Write) {
    result.page = WriteAndShowPage(state, FilesRead(result), [&](htmltype& html) {
      WriteResultsPage(html, result);
    });
  }
  if (!result.filesNotRead.empty()) {
    state.screen.WarningBox(FilesNotReadMessage(result.filesNotRead));
  }
  state.Report.ReportLines.clear();
  if (page == PageChoice::Skip) {
    result.outcome = ExamineOutcome::Analysed;
  } else {
    result.outcome = result.page.written          ? ExamineOutcome::ReportWritten
                     : result.page.refusal.empty() ? ExamineOutcome::ReportNotWritten
                                                   : ExamineOutcome::ReportRefused;
  }
  return result;
}

ExaminedSource ExamineSource(AppState& state, TextView path, PageChoice page,
                             ReasonChoice reasons) {
  return ExamineCheckedSource(state, CheckSourceToExamine(state, path), page, reasons);
}

}  // namespace vt
