// veltrane-cli: the main job without a window, for terminals, scripts and CI.
//
//   veltrane-cli [--root DIR] [--html FILE] SOURCE.bmx
//   veltrane-cli [--root DIR] [--html FILE] --modules

#include <cstdio>
#include <optional>
#include <vector>

#include "app/app_state.h"
#include "app/catalogue_rebuild.h"
#include "app/examine.h"
#include "app/pages.h"
#include "base/paths.h"
#include "platform/command_line.h"
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

constexpr char kUsage[] =
    "Usage: veltrane-cli [--root DIR] [--html FILE] SOURCE.bmx\n"
    "       veltrane-cli [--root DIR] [--html FILE] --modules\n"
    "\n"
    "Suggests the Framework and Import lines that a BlitzMax program needs.\n"
    "\n"
    "  SOURCE.bmx    the program's main file; its report is written and the\n"
    "                suggestion printed as plain text\n"
    "  --modules     write the page that lists every installed module instead\n"
    "  --root DIR    the BlitzMax root folder (the one holding \"mod\"); without\n"
    "                it, vt.ini beside this program, else the default folder\n"
    "  --html FILE   where the page is written (default: results.htm in the\n"
    "                current folder)\n"
    "  --help        show this text\n"
    "\n"
    "Exit codes: 0 done, 2 bad usage, 3 no mod folder in the root folder,\n"
    "4 source missing, empty or unreadable, 5 page could not be written.\n";

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

struct Options {
  std::optional<Text> root;
  Text html;
  Text source;
  bool modules = false;
  bool help = false;
};

// False on bad usage.
bool ParseOptions(const std::vector<Text>& args, const Text& startFolder, Options& options) {
  for (size_t i = 0; i < args.size(); ++i) {
    const Text& arg = args[i];
    if (arg == u"--help" || arg == u"-h") {
      options.help = true;
    } else if (arg == u"--modules") {
      options.modules = true;
    } else if (arg == u"--root" || arg == u"--html") {
      if (i + 1 >= args.size() || args[i + 1].empty()) return false;
      const Text& value = args[++i];
      if (arg == u"--root") {
        options.root = NormaliseRootFolder(value);
      } else {
        options.html = AnchorPath(value, startFolder);
      }
    } else if (StartsWith(arg, u"-") && arg != u"-") {
      return false;
    } else if (!options.source.empty() || arg.empty()) {
      return false;
    } else {
      options.source = AnchorPath(arg, startFolder);
    }
  }
  if (options.help) return true;
  return options.modules != !options.source.empty();
}

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

void PrintSuggestion(const Suggestion& suggestion) {
  bool first = true;
  for (const FrameworkBlock& block : suggestion.blocks) {
    if (!first) std::printf("\n");
    first = false;
    std::printf("%s\n", ToUtf8(block.title).c_str());
    for (const CodeBox& box : block.boxes) {
      std::printf("\n%s%s\n", ToUtf8(box.label).c_str(), ToUtf8(FileNameOf(box.path)).c_str());
      for (const CodeLine& line : CodeLinesOf(box)) {
        std::printf("%s\n", ToUtf8(line.fixed + line.data).c_str());
      }
    }
  }
}

int ReportNotWritten(const AppState& state) {
  std::fprintf(stderr, "veltrane-cli: cannot write the page: %s\n",
               ToUtf8(ReportFilePath(state)).c_str());
  return kReportNotWritten;
}

int Run(int argc, char** argv) {
  UseUtf8Terminal();
  Text startFolder = CurrentFolder();
  Options options;
  if (!ParseOptions(CommandLineArguments(argc, argv), startFolder, options)) {
    std::fputs(kUsage, stderr);
    return kBadUsage;
  }
  if (options.help) {
    std::fputs(kUsage, stdout);
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
    std::fprintf(stderr, "Module details written to %s\n",
                 ToUtf8(ReportFilePath(state)).c_str());
    return kSuccess;
  }

  Examination examination = ExamineSource(state, options.source);
  ExamineOutcome outcome = examination.outcome;
  if (outcome == ExamineOutcome::Ignored) return kBadSource;
  if (outcome == ExamineOutcome::RootFolderMissing) return kNoModFolder;
  if (outcome == ExamineOutcome::ReportNotWritten) return ReportNotWritten(state);
  PrintSuggestion(examination.suggestion);
  std::fprintf(stderr, "Report written to %s\n", ToUtf8(ReportFilePath(state)).c_str());
  return kSuccess;
}

}  // namespace
}  // namespace vt

int main(int argc, char** argv) { return vt::Run(argc, argv); }
