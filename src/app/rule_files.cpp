#include "app/rule_files.h"

#include <string>

#include "base/paths.h"
#include "platform/file_bytes.h"
#include "platform/file_system.h"

namespace vt {

namespace {

constexpr char16_t kRulesFileName[] = u"rules.txt";

bool IsFile(TextView path) { return GetFileKind(path) == FileKind::File; }

void AddError(LoadedRules& rules, const Fault& fault) {
  if (fault) rules.errors.push_back(fault.message());
}

void ReadRulesFile(LoadedRules& rules, const Text& path, RuleSource source = RuleSource::User) {
  std::string bytes;
  if (!ReadFileBytes(path, bytes)) {
    AddError(rules, Fault(path + u": cannot read this rules file"));
    return;
  }
  rules.files.push_back(path);
  AddError(rules, ReadRules(bytes, path, rules.book, source));
}

// A shipped file that is broken is said, and the built-in copy stands in:
// without templates no suggestion could be made at all.
void ReadShippedRules(LoadedRules& rules, const ProgramLayout& layout) {
  rules.book = BuiltInRules();
  Text path = JoinPath(layout.HelpFolder, kRulesFileName);
  if (layout.HelpFolder.empty() || !IsFile(path)) return;
  LoadedRules shipped;
  ReadRulesFile(shipped, path, RuleSource::Shipped);
  rules.files = shipped.files;
  rules.errors = shipped.errors;
  if (shipped.errors.empty()) rules.book = std::move(shipped.book);
}

void ReadUserRules(LoadedRules& rules) {
  Text folder = UserDataFolder();
  if (folder.empty()) return;
  Text path = JoinPath(folder, kRulesFileName);
  if (IsFile(path)) ReadRulesFile(rules, path);
}

void ReadExtraRules(LoadedRules& rules, const Text& path) {
  if (GetFileKind(path) == FileKind::None) {
    AddError(rules, Fault(path + u": no such rules file"));
    return;
  }
  ReadRulesFile(rules, path);
}

}  // namespace

LoadedRules LoadRules(const ProgramLayout& layout, const std::vector<Text>& extraFiles) {
  LoadedRules rules;
  ReadShippedRules(rules, layout);
  ReadUserRules(rules);
  for (const Text& file : extraFiles) ReadExtraRules(rules, file);
  return rules;
}

}  // namespace vt
