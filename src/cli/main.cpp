// veltrane-cli: the main job without a window, for terminals, scripts and CI.
//
//   veltrane-cli [--root DIR] [--html FILE] SOURCE.bmx
//   veltrane-cli [--root DIR] [--html FILE] --modules

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/catalogue_rebuild.h"
#include "app/examine.h"
#include "app/pages.h"
#include "app/terminal_text.h"
#include "base/paths.h"
#include "platform/file_system.h"
#include "platform/native_path.h"

namespace vt {
namespace {

enum ExitCode {
  kSuccess = 0,
  kBadUsage = 2,
  kNoModFolder = 3,
  kBadSource = 4,
  kReportNotWritten = 5,
  kReportRefused = 6,
  kOutputFailed = 7,
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
    "Exit codes: 0 done, 2 bad usage, 3 no readable mod folder in the root\n"
    "folder, 4 source missing, empty, unreadable or not a regular file, 5 page\n"
    "could not be written, 6 page would replace a source or a module file,\n"
    "7 standard output could not be written.\n";

// Messages meant for the information box go to the terminal instead.
class ConsoleScreen : public Screen {
 public:
  void InformationBox(const Text& text) override {
    std::fprintf(stderr, "%s\n", TerminalText(text).c_str());
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
bool ParseOptions(int argc, char** argv, const Text& startFolder, Options& options) {
  std::vector<std::string> args(argv + 1, argv + argc);
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "--modules") {
      options.modules = true;
    } else if (arg == "--root" || arg == "--html") {
      if (i + 1 >= args.size() || args[i + 1].empty()) return false;
      Text value = FromNativeString(args[++i]);
      if (arg == "--root") {
        options.root = NormaliseRootFolder(value);
      } else {
        options.html = AnchorPath(value, startFolder);
      }
    } else if (arg.size() > 1 && arg[0] == '-') {
      return false;
    } else if (!options.source.empty() || arg.empty()) {
      return false;
    } else {
      options.source = AnchorPath(FromNativeString(arg), startFolder);
    }
  }
  if (options.help) return true;
  return options.modules != !options.source.empty();
}

// The window's message sends the user to its Max menu; a terminal user has
// --root instead.
void SayRootFolderMissing(const SettingsState& settings) {
  if (settings.RootFolder.empty()) {
    std::fputs("veltrane-cli: no BlitzMax root folder: HOME is not set and vt.ini beside "
               "veltrane-cli names none; give the folder that holds \"mod\" with --root DIR\n",
               stderr);
    return;
  }
  std::fprintf(stderr,
               "veltrane-cli: no \"mod\" folder in the BlitzMax root folder: %s\n"
               "Give the folder that holds \"mod\" with --root DIR.\n",
               TerminalText(settings.RootFolder).c_str());
}

bool RootFolderHoldsMod(AppState& state, const Options& options) {
  SettingsState& settings = state.Settings;
  if (options.root) {
    settings.RootFolder = *options.root;
    settings.RootFolderVerified =
        !settings.RootFolder.empty() &&
        GetFileKind(settings.RootFolder + u"/mod") == FileKind::Folder;
  }
  if (settings.RootFolderVerified || (!options.root && VerifyRootFolder(settings))) return true;
  SayRootFolderMissing(settings);
  return false;
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

void PrintSuggestion(const Suggestion& suggestion) {
  bool first = true;
  for (const FrameworkBlock& block : suggestion.blocks) {
    if (!first) std::printf("\n");
    first = false;
    std::printf("%s\n", TerminalText(block.title).c_str());
    for (const CodeBox& box : block.boxes) {
      std::printf("\n%s%s\n", TerminalText(box.label).c_str(),
                  TerminalText(FileNameOf(box.path)).c_str());
      for (const CodeLine& line : CodeLinesOf(box)) {
        std::printf("%s\n", TerminalText(line.fixed + line.data).c_str());
      }
    }
  }
}

int ReportNotWritten(const AppState& state, const PageWrite& page) {
  if (!page.refusal.empty()) {
    std::fprintf(stderr, "veltrane-cli: refusing to write the page over %s: it is the "
                 "examined program, a file it uses, or inside the MOD folder\n",
                 TerminalText(ReportFilePath(state)).c_str());
    return kReportRefused;
  }
  std::fprintf(stderr, "veltrane-cli: cannot write the page: %s\n",
               TerminalText(ReportFilePath(state)).c_str());
  return kReportNotWritten;
}

// A suggestion that never reached its reader (a full disk, a closed pipe) is
// no success.
int FinishStandardOutput(int code) {
  if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return code;
  std::fputs("veltrane-cli: cannot write to standard output\n", stderr);
  return code == kSuccess ? kOutputFailed : code;
}

// Relative paths count from the starting folder; when that folder is gone,
// they would silently count from the root or the program's folder instead.
bool StartFolderKnown(const Text& startFolder) {
  if (!startFolder.empty()) return true;
  std::fputs("veltrane-cli: the current folder no longer exists or cannot be read; "
             "start from an existing folder\n", stderr);
  return false;
}

int Run(int argc, char** argv) {
  Text startFolder = CurrentFolder();
  Options options;
  if (!ParseOptions(argc, argv, startFolder, options)) {
    std::fputs(kUsage, stderr);
    return kBadUsage;
  }
  if (options.help) {
    std::fputs(kUsage, stdout);
    return FinishStandardOutput(kSuccess);
  }
  if (!StartFolderKnown(startFolder)) return kReportNotWritten;

  ConsoleScreen screen;
  AppState state(screen, ExecutableFolder());
  state.Report.ReportFile =
      options.html.empty() ? startFolder + u"/results.htm" : options.html;

  if (!options.modules && GetFileSize(options.source) <= 0) {
    std::fprintf(stderr, "veltrane-cli: cannot read source file (missing, empty or unreadable): %s\n",
                 TerminalText(options.source).c_str());
    return kBadSource;
  }
  if (!RootFolderHoldsMod(state, options)) return kNoModFolder;
  if (!CatalogueBuilt(state)) return kNoModFolder;

  if (options.modules) {
    PageWrite page = ShowModuleDetails(state);
    if (!page) return ReportNotWritten(state, page);
    std::fprintf(stderr, "Module details written to %s\n",
                 TerminalText(ReportFilePath(state)).c_str());
    return kSuccess;
  }

  Examination examination = ExamineSource(state, options.source);
  ExamineOutcome outcome = examination.outcome;
  if (outcome == ExamineOutcome::Ignored) return kBadSource;
  if (outcome == ExamineOutcome::RootFolderMissing) return kNoModFolder;
  if (!examination.page) return ReportNotWritten(state, examination.page);
  PrintSuggestion(examination.suggestion);
  std::fprintf(stderr, "Report written to %s\n", TerminalText(ReportFilePath(state)).c_str());
  return FinishStandardOutput(kSuccess);
}

}  // namespace
}  // namespace vt

int main(int argc, char** argv) { return vt::Run(argc, argv); }
