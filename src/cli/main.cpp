// veltrane-cli: the main job without a window, for terminals, scripts and CI.
//
//   veltrane-cli [--root DIR] [--html FILE | --no-html] [--explain]
//                [--format text|json] [--quiet] SOURCE.bmx
//   veltrane-cli [--root DIR] [--html FILE] --modules
//   veltrane-cli --version

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/catalogue_rebuild.h"
#include "app/examine.h"
#include "app/json_output.h"
#include "app/pages.h"
#include "app/text_output.h"
#include "base/paths.h"
#include "base/version.h"
#include "cli/options.h"
#include "platform/file_system.h"

namespace vt {
namespace {

enum ExitCode {
  kSuccess = 0,
  kBadUsage = 2,
  kNoModFolder = 3,
  kBadSource = 4,
  kReportNotWritten = 5,
};

// Messages meant for the information box go to the terminal instead.
class ConsoleScreen : public Screen {
 public:
  void InformationBox(const Text& text) override {
    std::fprintf(stderr, "%s\n", ToUtf8(text).c_str());
  }
  bool HasWindow() const override { return false; }
  void SetStatusText(const Text&) override {}
  void SetLabelText(const Text&) override {}
  void SetViewVisible(bool) override {}
  void Navigate(const Text&) override {}
  bool ShowsPages() const override { return false; }
};

bool RootFolderHoldsMod(AppState& state, const Options& options) {
  SettingsState& settings = state.Settings;
  if (!options.root) return CheckRootFolder(settings, state.screen, false);
  settings.RootFolder = *options.root;
  if (GetFileKind(settings.RootFolder + u"/mod") == FileKind::Folder) {
    settings.RootFolderVerified = true;
    return true;
  }
  state.screen.InformationBox(RootFolderMessage(settings, false));
  return false;
}

void PrintWarnings(const Examination& examination, const Text& startFolder) {
  for (const WalkWarning& warning : examination.warnings) {
    std::fprintf(stderr, "%s\n", ToUtf8(WarningLine(warning, startFolder)).c_str());
  }
}

void PrintResult(const AppState& state, const Options& options,
                 const Examination& examination, const Text& startFolder) {
  if (options.format == OutputFormat::Text) {
    std::fputs(SuggestionText(examination.suggestion, options.explain).c_str(), stdout);
    return;
  }
  Text root = AnchorPath(state.Settings.RootFolder, startFolder);
  RunFacts run{root, options.source, std::nullopt, startFolder};
  if (!options.noHtml) run.page = ReportFilePath(state);
  std::fputs(ExaminationJson(examination, run).c_str(), stdout);
}

int ReportNotWritten(const AppState& state) {
  std::fprintf(stderr, "veltrane-cli: cannot write the page: %s\n",
               ToUtf8(ReportFilePath(state)).c_str());
  return kReportNotWritten;
}

int Run(int argc, char** argv) {
  Text startFolder = CurrentFolder();
  Options options;
  if (std::optional<std::string> error = ParseOptions(argc, argv, startFolder, options)) {
    std::fprintf(stderr, "veltrane-cli: %s\n\n", error->c_str());
    std::fputs(kUsage, stderr);
    return kBadUsage;
  }
  if (options.help) {
    std::fputs(kUsage, stdout);
    return kSuccess;
  }
  if (options.version) {
    std::printf("veltrane-cli %s\n", kVersion);
    return kSuccess;
  }

  ConsoleScreen screen;
  AppState state(screen, ExecutableFolder());
  state.Report.ReportFile =
      options.html.empty() ? startFolder + u"/results.htm" : options.html;

  if (!options.modules && GetFileSize(options.source) <= 0) {
    std::fprintf(stderr, "veltrane-cli: cannot read source file (missing, empty or unreadable): %s\n",
                 ToUtf8(options.source).c_str());
    return kBadSource;
  }
  if (!RootFolderHoldsMod(state, options)) return kNoModFolder;
  RebuildCatalogue(state);

  if (options.modules) {
    if (!ShowModuleDetails(state)) return ReportNotWritten(state);
    if (options.quiet) return kSuccess;
    std::fprintf(stderr, "Module details written to %s\n",
                 ToUtf8(ReportFilePath(state)).c_str());
    return kSuccess;
  }

  PageChoice page = options.noHtml ? PageChoice::Skip : PageChoice::Write;
  Examination examination = ExamineSource(state, options.source, page);
  if (!options.quiet) PrintWarnings(examination, startFolder);
  ExamineOutcome outcome = examination.outcome;
  if (outcome == ExamineOutcome::Ignored) return kBadSource;
  if (outcome == ExamineOutcome::RootFolderMissing) return kNoModFolder;
  if (outcome == ExamineOutcome::ReportNotWritten) return ReportNotWritten(state);
  PrintResult(state, options, examination, startFolder);
  // Before the closing line, so that 2>&1 keeps the suggestion above it.
  std::fflush(stdout);
  if (page == PageChoice::Write && !options.quiet) {
    std::fprintf(stderr, "Report written to %s\n", ToUtf8(ReportFilePath(state)).c_str());
  }
  return kSuccess;
}

}  // namespace
}  // namespace vt

int main(int argc, char** argv) { return vt::Run(argc, argv); }
