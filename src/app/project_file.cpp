#include "app/project_file.h"

#if __has_include(<toml++/toml.hpp>)
#include <toml++/toml.hpp>
#else
#include <toml++/toml.h>
#endif

#include <string>

#include "base/paths.h"
#include "platform/file_bytes.h"
#include "platform/file_system.h"

namespace vt {

namespace {

// A fault of the file, at the line of the node it concerns.
struct LineFault {
  int64_t line = 0;
  Text what;
};

Text Anchored(const Text& folder, const std::string& path) {
  return AnchorPath(ForwardSlashes(FromUtf8(path)), folder);
}

std::optional<LineFault> ReadString(const toml::table& table, std::string_view key,
                                std::optional<std::string>& out) {
  const toml::node* node = table.get(key);
  if (!node) return std::nullopt;
  if (const auto* text = node->as_string()) {
    out = text->get();
    return std::nullopt;
  }
  return LineFault{node->source().begin.line, FromUtf8(std::string(key)) + u" must be a string"};
}

std::optional<LineFault> ReadStrings(const toml::table& table, std::string_view key,
                                 std::vector<std::string>& out) {
  const toml::node* node = table.get(key);
  if (!node) return std::nullopt;
  LineFault wrong{node->source().begin.line, FromUtf8(std::string(key)) + u" must be a list of strings"};
  const toml::array* array = node->as_array();
  if (!array) return wrong;
  for (const toml::node& entry : *array) {
    const auto* text = entry.as_string();
    if (!text) return wrong;
    out.push_back(text->get());
  }
  return std::nullopt;
}

std::optional<LineFault> Fill(const toml::table& table, const Text& folder, ProjectFile& project) {
  static const char* const known[] = {"root", "rules", "rules_files", "main_files", "keep"};
  for (const auto& [key, node] : table) {
    bool isKnown = false;
    for (const char* name : known) isKnown = isKnown || key.str() == name;
    if (!isKnown) {
      return LineFault{node.source().begin.line,
                   u"unknown setting \"" + FromUtf8(std::string(key.str())) +
                       u"\"; expected root, rules, rules_files, main_files or keep"};
    }
  }
  std::optional<std::string> root, rules;
  std::vector<std::string> rulesFiles, mainFiles, keep;
  for (std::optional<LineFault> fault :
       {ReadString(table, "root", root), ReadString(table, "rules", rules),
        ReadStrings(table, "rules_files", rulesFiles), ReadStrings(table, "main_files", mainFiles),
        ReadStrings(table, "keep", keep)}) {
    if (fault) return fault;
  }
  if (root) project.root = Anchored(folder, *root);
  if (rules && *rules != "auto") {
    if (*rules != "classic" && *rules != "modern") {
      return LineFault{table.get("rules")->source().begin.line,
                   u"rules must be \"classic\", \"modern\" or \"auto\""};
    }
    project.ruleSet = *rules == "modern" ? RuleSetKind::Modern : RuleSetKind::Classic;
  }
  for (const std::string& file : rulesFiles) project.rulesFiles.push_back(Anchored(folder, file));
  for (const std::string& file : mainFiles) project.mainFiles.push_back(Anchored(folder, file));
  for (const std::string& module : keep) project.keep.push_back(Lower(FromUtf8(module)));
  return std::nullopt;
}

}  // namespace

std::optional<Text> FindProjectFile(TextView folder) {
  Text at(folder);
  while (!at.empty()) {
    // A folder or a pipe of that name is found too, and refused when read:
    // passed over, it would silently leave the project's settings out.
    Text candidate = JoinPath(at, kProjectFileName);
    if (GetFileKind(candidate) != FileKind::None) return candidate;
    Text parent = FolderPart(at);
    if (parent.empty() || parent == at) break;
    at = parent;
  }
  return std::nullopt;
}

Result<ProjectFile> ReadProjectFile(TextView path) {
  if (GetFileKind(path) != FileKind::File) return Fault(Text(path) + u": not a regular file");
  std::string bytes;
  if (!ReadFileBytes(path, bytes)) return Fault(Text(path) + u": cannot read this project file");
  toml::table table;
  try {
    table = toml::parse(bytes, ToUtf8(path));
  } catch (const toml::parse_error& error) {
    return Fault(Text(path) + u":" + Decimal(error.source().begin.line) + u": " +
                 FromUtf8(std::string(error.description())));
  }
  ProjectFile project;
  project.path = path;
  if (std::optional<LineFault> fault = Fill(table, FolderPart(path), project)) {
    return Fault(Text(path) + u":" + Decimal(fault->line) + u": " + fault->what);
  }
  return project;
}

}  // namespace vt
