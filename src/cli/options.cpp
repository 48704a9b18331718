#include "cli/options.h"

#include <CLI/CLI.hpp>
#include <string_view>
#include <vector>

#include "app/settings.h"
#include "base/paths.h"
#include "platform/native_path.h"

namespace vt {

const char kUsage[] =
    "Usage: veltrane-cli [OPTIONS] SOURCE.bmx\n"
    "       veltrane-cli [OPTIONS] --check | --diff | --write | --list PATH...\n"
    "       veltrane-cli [--root DIR] [--html FILE] --modules\n"
    "       veltrane-cli --version\n"
    "\n"
    "Suggests the Framework and Import lines that a BlitzMax program needs.\n"
    "\n"
    "  SOURCE.bmx          the main file: its page is written, its suggestion printed\n"
    "  PATH...             with --check, --diff, --write or --list: main files and\n"
    "                      folders, whose .bmx files (sub-folders too) that no other\n"
    "                      given file imports or includes are the main files; none:\n"
    "                      the main files veltrane.toml names (here or above)\n"
    "  --modules           write the page of every installed module instead\n"
    "  --root DIR          the BlitzMax root folder (holding \"mod\"); else the one\n"
    "                      veltrane.toml names, else BMXPATH, else vt.ini, else a\n"
    "                      BlitzMax around this program, else ~/BlitzMax\n"
    "  --html FILE         where the page goes (default: results.htm in this folder)\n"
    "  --no-html           write no page\n"
    "  --explain           say after each Framework/Import line why it is there\n"
    "                      (--check always says why a module is missing)\n"
    "  --format text|json|github\n"
    "                      print plain text (the default) or one JSON document; with\n"
    "                      --check or --diff also github (workflow annotations)\n"
    "  --quiet             nothing on standard error but errors: no warnings, no\n"
    "                      Wrote or Report written lines\n"
    "  --version           print the version\n"
    "  --check             list, per file, the modules its header lacks or does not\n"
    "                      need; exit 1 when any differs (no page unless --html)\n"
    "  --diff              print the edit that would fix every header as a unified\n"
    "                      diff; exit 1 when there is one\n"
    "  -l, --list          print only the names of the files whose header differs\n"
    "  --write             make that edit; --diff and --write refuse (exit 11) when\n"
    "                      a file the program names cannot be read\n"
    "  --backup            with --write: keep NAME.bak, the file before its first edit\n"
    "                      (an existing NAME.bak is never written over)\n"
    "  --no-backup         with --write: keep no .bak file (the default)\n"
    "  --template N        with --check/--diff/--write: use the N-th framework block\n"
    "                      (default: the one whose Framework the main file names)\n"
    "  --rules classic|modern|auto\n"
    "                      the rules of the classic or the modern BlitzMax; auto\n"
    "                      (the default) takes modern when a module source declares\n"
    "                      a Struct, Interface or Enum or has a ?bmxng section\n"
    "  --rules-file FILE   more rules (symbols, families, implementation modules,\n"
    "                      loaders by file, stream and word, renames, drivers),\n"
    "                      read after the shipped rules.txt and the user's own\n"
    "                      rules.txt, each FILE in the order given; lines such\n"
    "                      as \"[modern]\" then\n"
    "                      \"symbol CreateHTMLView MaxGUI.GTK3WebKit2GTK ?Linux\",\n"
    "                      \"family timers for BRL.Timer BRL.TimerDefault\n"
    "                      SDL.SDLTimer\", \"implementation BRL.Timer\n"
    "                      BRL.TimerDefault\" or \"file .webp Image.WEBP images\"\n"
    "                      (the format: see rules.txt)\n"
    "  --help              show this text\n"
    "\n"
    "Options take their value as --opt VALUE or --opt=VALUE.\n"
    "Exit codes: 0 done, 2 bad usage, 3 no readable mod folder in the root\n"
    "folder, 4 source missing, empty, unreadable or not a regular file, 5 page\n"
    "could not be written, 6 page would replace a source or a module file,\n"
    "7 standard output could not be written, 8 a source file could not be read\n"
    "or written by --check, --diff or --write, 9 some files could not be read for\n"
    "lack of file handles, 10 a rules file or veltrane.toml is missing or\n"
    "malformed, 11 a file the program names could not be read (--check, --diff,\n"
    "--write); 1 a header differs (--check, --diff) or was left alone (--write).\n";

namespace {

// CLI11 takes the next argument as the value of "--root=", which would
// silently swallow the source file.
std::optional<std::string> EmptyAssignment(int argc, const char* const* argv) {
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    if (arg == "--") break;
    if (arg.size() > 3 && arg.substr(0, 2) == "--" && arg.back() == '=') {
      return std::string(arg) + " needs a value after the =";
    }
  }
  return std::nullopt;
}

std::string NotEmpty(const std::string& value) {
  return value.empty() ? "needs a value, not an empty one" : std::string();
}

std::optional<std::string> CheckCombination(const Options& options,
                                            const std::vector<std::string>& sources) {
  size_t paths = sources.size();
  bool hasSource = paths > 0;
  std::string source = hasSource ? sources.front() : std::string();
  if (options.help || options.version) return std::nullopt;
  if (options.headerMode == HeaderMode::None && options.templateNumber)
    return "--template goes with --check, --diff or --write";
  if ((options.noBackup || options.backup) && options.headerMode != HeaderMode::Write)
    return "--backup and --no-backup go with --write only";
  if (options.modules && hasSource)
    return "--modules takes no SOURCE.bmx, but got: " + source;
  if (paths > 1 && options.headerMode == HeaderMode::None)
    return "one SOURCE.bmx, unless with --check, --diff, --write or --list; also got: " +
           sources[1];
  if (paths > 1 && !options.html.empty()) return "--html goes with one SOURCE.bmx";
  return std::nullopt;
}

// The values the parser fills besides Options' own flags, and the options
// whose presence counts.
struct RawOptions {
  std::string root, html, format = "text", rules = "auto";
  std::vector<std::string> rulesFiles;
  std::vector<std::string> sources;
  bool check = false, diff = false, write = false, list = false;
  CLI::Option* modules = nullptr;
  CLI::Option* rootOption = nullptr;
  CLI::Option* htmlOption = nullptr;
  CLI::Option* explain = nullptr;
  CLI::Option* formatOption = nullptr;
  CLI::Option* rulesFileOption = nullptr;
};

void DeclareHeaderModes(CLI::App& app, Options& options, RawOptions& raw) {
  CLI::Option* checkFlag = app.add_flag("--check", raw.check);
  CLI::Option* diffFlag = app.add_flag("--diff", raw.diff);
  CLI::Option* writeFlag = app.add_flag("--write", raw.write);
  CLI::Option* listFlag = app.add_flag("-l,--list", raw.list);
  checkFlag->excludes(diffFlag)->excludes(writeFlag)->excludes(listFlag);
  diffFlag->excludes(writeFlag)->excludes(listFlag);
  writeFlag->excludes(listFlag);
  CLI::Option* noBackup = app.add_flag("--no-backup", options.noBackup);
  app.add_flag("--backup", options.backup)->excludes(noBackup);
  app.add_option("--template", options.templateNumber)->check(CLI::Range(1, 999999));
}

void DeclareOptions(CLI::App& app, Options& options, RawOptions& raw) {
  app.set_help_flag();
  app.add_flag("-h,--help", options.help);
  app.add_flag("--version", options.version);
  raw.modules = app.add_flag("--modules", options.modules);
  raw.rootOption = app.add_option("--root", raw.root)->check(NotEmpty);
  raw.htmlOption = app.add_option("--html", raw.html)->check(NotEmpty);
  CLI::Option* noHtml = app.add_flag("--no-html", options.noHtml);
  raw.explain = app.add_flag("--explain", options.explain);
  raw.formatOption = app.add_option("--format", raw.format)
                         ->check(CLI::IsMember({"text", "json", "github"}));
  app.add_flag("--quiet", options.quiet);
  DeclareHeaderModes(app, options, raw);
  CLI::Option* rulesOption = app.add_option("--rules", raw.rules)
                                 ->check(CLI::IsMember({"classic", "modern", "auto"}));
  // Each rules file adds to the ones before it, so every one given counts.
  raw.rulesFileOption = app.add_option("--rules-file", raw.rulesFiles)
                            ->check(NotEmpty)
                            ->allow_extra_args(false);
  app.add_option("SOURCE.bmx", raw.sources)->check(NotEmpty);
  // The last of a repeated option counts, as it always has.
  for (CLI::Option* option : {raw.rootOption, raw.htmlOption, raw.formatOption, rulesOption}) {
    option->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  }
  raw.htmlOption->excludes(noHtml);
  raw.modules->excludes(noHtml)->excludes(raw.explain)->excludes(raw.formatOption);
}

// The header mode chosen, and what does not go with it.
std::optional<std::string> TakeHeaderMode(const RawOptions& raw, Options& options) {
  options.headerMode = raw.check   ? HeaderMode::Check
                       : raw.diff  ? HeaderMode::Diff
                       : raw.write ? HeaderMode::Write
                       : raw.list  ? HeaderMode::List
                                   : HeaderMode::None;
  if (options.headerMode == HeaderMode::None) return std::nullopt;
  if (raw.modules->count())
    return "--modules does not go with --check, --diff or --write";
  if (raw.formatOption->count() && (options.headerMode == HeaderMode::Write ||
                                    options.headerMode == HeaderMode::List)) {
    return "--format goes with --check and --diff, not with --write or --list";
  }
  // The check gives its reasons anyway.
  if (raw.explain->count() && options.headerMode != HeaderMode::Check) {
    return "--explain goes with --check, not with --diff or --write";
  }
  return std::nullopt;
}

// The paths and choices as the tool holds them: relative paths from
// `startFolder`.
std::optional<std::string> TakeValues(const RawOptions& raw, const Text& startFolder,
                                      Options& options) {
  if (raw.htmlOption->count())
    options.html = AnchorPath(FromNativeString(raw.html), startFolder);
  if (std::optional<std::string> error = CheckCombination(options, raw.sources))
    return error;
  if (raw.rootOption->count()) {
    options.root = NormaliseRootFolder(FromNativeString(raw.root), kNativePathStyle);
  }
  for (const std::string& source : raw.sources) {
    options.paths.push_back(AnchorPath(FromNativeString(source), startFolder));
  }
  if (!options.paths.empty()) options.source = options.paths.front();
  options.format = raw.format == "json"     ? OutputFormat::Json
                   : raw.format == "github" ? OutputFormat::Github
                                            : OutputFormat::Text;
  if (options.format == OutputFormat::Github && options.headerMode == HeaderMode::None) {
    return "--format github goes with --check and --diff";
  }
  if (raw.rules == "classic") options.ruleSet = RuleSetKind::Classic;
  if (raw.rules == "modern") options.ruleSet = RuleSetKind::Modern;
  for (const std::string& file : raw.rulesFiles) {
    options.rulesFiles.push_back(AnchorPath(FromNativeString(file), startFolder));
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> ParseOptions(int argc, const char* const* argv,
                                        const Text& startFolder, Options& options) {
  if (std::optional<std::string> error = EmptyAssignment(argc, argv)) return error;
  CLI::App app("veltrane-cli", "veltrane-cli");
  RawOptions raw;
  DeclareOptions(app, options, raw);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    return std::string(error.what());
  }
  if (std::optional<std::string> error = TakeHeaderMode(raw, options)) return error;
  return TakeValues(raw, startFolder, options);
}

}  // namespace vt
