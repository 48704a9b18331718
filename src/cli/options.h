// The options of veltrane-cli and their parsing.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/text.h"
#include "catalogue/module_records.h"

namespace vt {

enum class OutputFormat { Text, Json, Github };

// Acting on the suggestion instead of printing it.
enum class HeaderMode { None, Check, Diff, Write, List };

struct Options {
  std::optional<Text> root;  // normalised
  Text html;                 // anchored at the starting folder; empty for the default
  // The paths given: main files or folders, anchored at the starting folder.
  std::vector<Text> paths;
  // The main file being worked on, one of those the paths stand for.
  Text source;
  bool modules = false;
  bool noHtml = false;
  bool explain = false;
  bool quiet = false;
  OutputFormat format = OutputFormat::Text;
  bool help = false;
  bool version = false;
  HeaderMode headerMode = HeaderMode::None;
  size_t templateNumber = 0;  // 1-based; 0 when not given
  bool noBackup = false;
  // --write keeps NAME.bak with the file before its first edit.
  bool backup = false;
  // Unset: the installation decides.
  std::optional<RuleSetKind> ruleSet;
  std::vector<Text> rulesFiles;  // in the order given, anchored at the starting folder
  // From the project file, if any: the modules whose Import lines are kept
  // (lower-cased).
  std::vector<Text> keep;
};

// The text of --help; also shown after a usage error.
extern const char kUsage[];

// Fills `options` from the command line. On bad usage, the reason, naming
// the offending argument.
std::optional<std::string> ParseOptions(int argc, const char* const* argv,
                                        const Text& startFolder, Options& options);

}  // namespace vt
