// veltrane-cli: the main job without a window, for terminals, scripts and CI.
//
//   veltrane-cli [--root DIR] [--html FILE | --no-html] [--explain]
//                [--format text|json] [--quiet] [--rules classic|modern|auto]
//                [--rules-file FILE] SOURCE.bmx
//   veltrane-cli [--root DIR] [--html FILE] --modules
//   veltrane-cli --version
//   veltrane-cli [--root DIR] [--template N] [--html FILE] --check | --diff | --write
//                [--backup] SOURCE.bmx

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/catalogue_rebuild.h"
#include "app/examine.h"
#include "app/pages.h"
#include "app/program_layout.h"
#include "app/rule_files.h"
#include "app/workspace.h"
#include "base/paths.h"
#include "base/version.h"
#include "cli/exit_codes.h"
#include "cli/header_modes.h"
#include "app/given_files.h"
#include "cli/options.h"
#include "cli/run_messages.h"
#include "header/header_plan.h"
#include "output/json_output.h"
#include "base/terminal_text.h"
#include "output/text_output.h"
#include "platform/command_line.h"
#include "platform/file_system.h"
#include "platform/native_path.h"

namespace vt {
namespace {


// Messages meant for the information box go to the terminal instead.
class ConsoleScreen : public Screen {
 public:
  void InformationBox(const Text& text) override {
    std::fprintf(stderr, "%s\n", TerminalMessage(text).c_str());
  }
  void SetStatusText(const Text&) override {}
  void Navigate(const Text&) override {}
  void ClearView() override {}
  bool ShowsPages() const override { return false; }
};

// A terminal user has --root where the window has its Max menu; the message
// says where the folder came from, so that the right place gets mended.
bool RootFolderHoldsMod(AppState& state, const RootChoice& choice) {
  SettingsState& settings = state.Settings;
  settings.RootFolder = choice.folder;
  settings.RootFolderVerified =
      !choice.folder.empty() && GetFileKind(choice.folder + u"/mod") == FileKind::Folder;
  if (settings.RootFolderVerified) return true;
  if (choice.folder.empty()) {
    std::fputs("veltrane-cli: no BlitzMax root folder: HOME is not set and neither --root, "
               "BMXPATH nor vt.ini names one; give the folder that holds \"mod\" with "
               "--root DIR\n",
               stderr);
    return false;
  }
  std::fprintf(stderr,
               "veltrane-cli: no \"mod\" folder in the BlitzMax root folder %s (from %s)\n"
               "Give the folder that holds \"mod\" with --root DIR.\n",
               TerminalText(choice.folder).c_str(), TerminalText(choice.source).c_str());
  return false;
}

void PrintResult(const AppState& state, const Options& options,
                 const Examination& examination, const Text& startFolder) {
  if (options.format == OutputFormat::Text) {
    std::printf("Rule set: %s\n\n", ToUtf8(RuleSetName(examination.ruleSet)).c_str());
    std::fputs(SuggestionText(examination.suggestion, options.explain).c_str(), stdout);
    return;
  }
  Text root = AnchorPath(state.Settings.RootFolder, startFolder);
  RunFacts run{root, options.source, std::nullopt, startFolder};
  if (!options.noHtml) run.page = ReportFilePath(state);
  std::fputs(ExaminationJson(examination, run).c_str(), stdout);
}

// A rules file that is wrong would silently change the advice: it stops the
// run, naming file and line.
bool RulesLoaded(AppState& state, const Workspace& workspace) {
  LoadedRules rules = LoadRules(state.Settings.Layout, workspace.rulesFiles);
  for (const Text& error : rules.errors) {
    std::fprintf(stderr, "veltrane-cli: %s\n", TerminalText(error).c_str());
  }
  state.Rules = std::move(rules.book);
  state.RuleSetChoice = workspace.ruleSet;
  return rules.errors.empty();
}

// The workspace of the files given (or of the current folder): the project
// file beside them names what the command line does not. None, after saying
// why, when the project file is malformed.
std::optional<Workspace> WorkspaceOf(const AppState& state, Options& options,
                                     const Text& startFolder) {
  Text near = startFolder;
  if (!options.paths.empty()) {
    const Text& first = options.paths.front();
    near = GetFileKind(first) == FileKind::Folder ? first : FolderPart(first);
  }
  Result<Workspace> workspace = ResolveWorkspace(
      {options.root, options.ruleSet, options.rulesFiles, near, ExecutableFolder()}, state.Settings);
  if (!workspace) {
    std::fprintf(stderr, "veltrane-cli: %s\n", TerminalText(workspace.fault().message()).c_str());
    return std::nullopt;
  }
  if (const std::optional<ProjectFile>& project = workspace->project) {
    options.keep = project->keep;
    if (options.paths.empty() && !options.modules) options.paths = project->mainFiles;
  }
  return *workspace;
}

// A part of the installation that could not be read would silently shrink
// the catalogue and so the suggestion.
bool CatalogueBuilt(AppState& state) {
  if (!ModFolderReadable(state.Settings)) {
    std::fprintf(stderr, "veltrane-cli: cannot read the MOD folder: %s/mod\n",
                 TerminalText(state.Settings.RootFolder).c_str());
    return false;
  }
  for (const Text& part : RebuildCatalogue(state)) {
    std::fprintf(stderr, "veltrane-cli: warning: cannot read %s; its modules are left out\n",
                 TerminalText(part).c_str());
  }
  return true;
}

// A rule of the user's that names a module this installation lacks does
// nothing here; the user learns so, and the run goes on.
void PrintRuleWarnings(const AppState& state) {
  for (const Text& warning : UninstalledRuleWarnings(state.Rules, state.Catalogue)) {
    std::fprintf(stderr, "veltrane-cli: warning: %s\n", TerminalText(warning).c_str());
  }
}

// The header mode over every main file the paths stand for, with one
// catalogue: each file is examined once, and a file that one of them
// reaches is no main file of its own.
int RunOverMainFiles(AppState& state, const Options& options, const GivenFiles& given,
                     const Text& startFolder) {
  std::vector<ExaminedSource> examinations;
  std::vector<std::vector<Text>> reached;
  for (const Text& file : given.files) {
    examinations.push_back(ExamineSource(state, file, PageChoice::Skip, ReasonChoice::Give));
    std::vector<Text>& files = reached.emplace_back();
    for (const scanlisttype& entry : examinations.back().walked) {
      if (entry.kind == EntryKind::Include || entry.kind == EntryKind::Imported) {
        files.push_back(entry.path);
      }
    }
  }
  int code = kSuccess;
  HandledFiles handled;
  RunOutput output;
  for (size_t main : MainFiles(given.files, reached)) {
    Options one = options;
    one.source = given.files[main];
    code = Worst(code, RunHeaderModes(state, one, startFolder, examinations[main], handled, output));
  }
  int printed = PrintRunOutput(output, options, state.Catalogue.ruleSet);
  return printed == kSuccess ? code : printed;
}

// Relative paths count from the starting folder; when that folder is gone,
// they would silently count from the root or the program's folder instead.
bool StartFolderKnown(const Text& startFolder) {
  if (!startFolder.empty()) return true;
  std::fputs("veltrane-cli: the current folder no longer exists or cannot be read; "
             "start from an existing folder\n", stderr);
  return false;
}

// --help, --version, or a fault of the arguments: the exit code, when the
// run ends here.
std::optional<int> AnswerWithoutExamining(int argc, char** argv, const Text& startFolder,
                                          Options& options) {
  std::vector<std::string> words = CommandLineArguments(argc, argv);
  std::vector<const char*> pointers;
  for (const std::string& word : words) pointers.push_back(word.c_str());
  if (std::optional<std::string> error = ParseOptions(static_cast<int>(pointers.size()),
                                                      pointers.data(), startFolder, options)) {
    std::fprintf(stderr, "veltrane-cli: %s\nRun with --help for more information.\n",
                 error->c_str());
    return kBadUsage;
  }
  if (options.help) {
    std::fputs(kUsage, stdout);
    return FinishStandardOutput(kSuccess);
  }
  if (options.version) {
    std::printf("veltrane-cli %s\n", kVersion);
    return FinishStandardOutput(kSuccess);
  }
  if (!StartFolderKnown(startFolder)) return kReportNotWritten;
  return std::nullopt;
}

// The sources named, once the project file had its say: none, or several
// without a header mode, is bad usage.
std::optional<int> SourcesFault(const Options& options) {
  if (options.paths.empty() && !options.modules && !options.help) {
    std::fputs("veltrane-cli: no SOURCE.bmx given\nRun with --help for more information.\n",
               stderr);
    return kBadUsage;
  }
  if (options.paths.size() > 1 && options.headerMode == HeaderMode::None) {
    std::fputs("veltrane-cli: the project file names several main files: use --check, --diff, "
               "--write or --list\nRun with --help for more information.\n", stderr);
    return kBadUsage;
  }
  return std::nullopt;
}

// --modules: the module details page.
int WriteModulesPage(AppState& state, const Options& options) {
  PageWrite page = ShowModuleDetails(state);
  if (!page) return ReportNotWritten(state, page);
  if (options.quiet) return FinishStandardOutput(kSuccess);
  std::fprintf(stderr, "Module details written to %s\n",
               TerminalText(ReportFilePath(state)).c_str());
  return kSuccess;
}

// The plain run: the suggestion of one program, printed, and its page.
int Suggest(AppState& state, const Options& options, const Text& startFolder) {
  PageChoice page = options.noHtml ? PageChoice::Skip : PageChoice::Write;
  // Only the plain suggestion leaves the reasons unsaid.
  bool saysWhy = options.explain || options.format == OutputFormat::Json ||
                 options.headerMode != HeaderMode::None;
  ExaminedSource examination = ExamineSource(state, options.source, page,
                                          saysWhy ? ReasonChoice::Give : ReasonChoice::Skip);
  if (!options.quiet) PrintWarnings(examination, startFolder);
  ExamineOutcome outcome = examination.outcome;
  if (outcome == ExamineOutcome::Ignored) return kBadSource;
  if (outcome == ExamineOutcome::RootFolderMissing) return kNoModFolder;
  if (outcome != ExamineOutcome::Analysed && !examination.page) {
    return ReportNotWritten(state, examination.page);
  }
  PrintResult(state, options, examination, startFolder);
  // Before the closing line, so that 2>&1 keeps the suggestion above it.
  int code = FinishStandardOutput(kSuccess);
  if (page == PageChoice::Write && !options.quiet) {
    std::fprintf(stderr, "Report written to %s\n", TerminalText(ReportFilePath(state)).c_str());
  }
  // The files themselves were named on standard error with the other messages.
  if (code == kSuccess && !examination.filesNotRead.empty()) return kFilesNotRead;
  return code;
}

int Run(int argc, char** argv) {
  UseUtf8Terminal();
  FailWritesPastTheSizeLimit();
  Text startFolder = CurrentFolder();
  Options options;
  if (std::optional<int> code = AnswerWithoutExamining(argc, argv, startFolder, options)) {
    return *code;
  }
  ConsoleScreen screen;
  // The window's rule for where vt.ini lies.
  AppState state(screen, LayoutForProgram(ExecutableFolder()));
  state.Report.ReportFile =
      options.html.empty() ? startFolder + u"/results.htm" : options.html;

  std::optional<Workspace> workspace = WorkspaceOf(state, options, startFolder);
  if (!workspace) return kRulesFileBroken;
  if (std::optional<int> code = SourcesFault(options)) return *code;
  if (!RulesLoaded(state, *workspace)) return kRulesFileBroken;
  GivenFiles given = ExpandPaths(options.paths, options.headerMode != HeaderMode::None);
  for (const Text& path : given.unusable) {
    std::fprintf(stderr, "veltrane-cli: cannot read source file (missing, empty or unreadable): "
                 "%s\n", TerminalText(path).c_str());
  }
  if (!given.unusable.empty()) return kBadSource;
  if (!RootFolderHoldsMod(state, workspace->root)) return kNoModFolder;
  if (!CatalogueBuilt(state)) return kNoModFolder;
  if (!options.quiet) PrintRuleWarnings(state);

  if (options.modules) return WriteModulesPage(state, options);
  if (options.headerMode != HeaderMode::None) {
    return RunOverMainFiles(state, options, given, startFolder);
  }
  return Suggest(state, options, startFolder);
}

}  // namespace
}  // namespace vt

int main(int argc, char** argv) { return vt::Run(argc, argv); }
