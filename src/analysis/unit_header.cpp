#include "analysis/unit_header.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace vt {

namespace {

// The present Import lines by lower-cased module, first one of each.
std::unordered_map<Text, const HeaderLine*> ImportsByModule(const PresentHeader& present) {
  std::unordered_map<Text, const HeaderLine*> imports;
  for (const HeaderLine& line : present.lines) {
    if (line.kind == HeaderLineKind::Import) imports.emplace(Lower(line.module), &line);
  }
  return imports;
}

std::unordered_set<Text> LowerSet(const TextList& names) {
  std::unordered_set<Text> set;
  for (const Text& name : names) set.insert(Lower(name));
  return set;
}

// A main file that needs no module keeps its Framework line: without one it
// would import every module.
bool KeepsOwnFramework(const CodeBox& box, const HeaderLine* framework) {
  return box.isMain && box.Framework().empty() && framework;
}

void CompareFramework(const CodeBox& box, const PresentHeader& present,
                      std::vector<HeaderDifference>& out) {
  const HeaderLine* framework = present.FrameworkLine();
  Text wanted = box.Framework();
  for (const HeaderLine& line : present.lines) {
    if (line.kind != HeaderLineKind::Framework) continue;
    bool first = &line == framework;
    bool right = first && (Lower(line.module) == Lower(wanted) || KeepsOwnFramework(box, &line));
    if (!right) out.push_back({HeaderDifferenceKind::Unneeded, true, line.module, line.index + 1});
  }
  if (wanted.empty()) return;
  if (!framework) {
    out.push_back({HeaderDifferenceKind::NoFramework, true, wanted, present.FirstModuleLine()});
  } else if (Lower(framework->module) != Lower(wanted)) {
    out.push_back({HeaderDifferenceKind::Missing, true, wanted, present.FirstModuleLine()});
  }
}

// A line built from the box's module name, keeping the comment of the
// present line that names it.
WantedLine Named(TextView keyword, const Text& module, const HeaderLine* present) {
  WantedLine line{Text(keyword) + module, std::nullopt, 0};
  if (present && present->trailingComment) {
    line.keepFromLine = present->index;
    line.keepFromUnit = present->afterName;
  }
  return line;
}

}  // namespace

std::vector<HeaderDifference> CompareHeader(const CodeBox& box, const PresentHeader& present) {
  std::vector<HeaderDifference> out;
  if (box.isMain) {
    CompareFramework(box, present, out);
  } else {
    for (const HeaderLine& line : present.lines) {
      if (line.kind != HeaderLineKind::Framework) continue;
      out.push_back({HeaderDifferenceKind::Unneeded, true, line.module, line.index + 1});
    }
  }
  auto imports = ImportsByModule(present);
  for (const Text& module : box.Imports()) {
    if (imports.count(Lower(module))) continue;
    out.push_back({HeaderDifferenceKind::Missing, false, module, present.FirstModuleLine()});
  }
  std::unordered_set<Text> offered = LowerSet(box.Imports());
  for (const Text& optional : box.optionalModules) offered.insert(Lower(optional));
  std::unordered_set<Text> seen;
  for (const HeaderLine& line : present.lines) {
    if (line.kind != HeaderLineKind::Import) continue;
    Text low = Lower(line.module);
    // A repeat, or the module the Framework line names already, is unneeded.
    if (seen.insert(low).second && offered.count(low)) continue;
    out.push_back({HeaderDifferenceKind::Unneeded, false, line.module, line.index + 1});
  }
  return out;
}

std::vector<WantedLine> WantedHeader(const CodeBox& box, const PresentHeader& present) {
  std::vector<WantedLine> out;
  const HeaderLine* framework = present.FrameworkLine();
  Text wantedFramework = box.Framework();
  if (!wantedFramework.empty()) {
    bool same = framework && Lower(framework->module) == Lower(wantedFramework);
    out.push_back(Named(u"Framework ", wantedFramework, same ? framework : nullptr));
  } else if (KeepsOwnFramework(box, framework)) {
    out.push_back(Named(u"Framework ", framework->module, framework));
  }
  auto imports = ImportsByModule(present);
  auto presentImport = [&](const Text& module) -> const HeaderLine* {
    auto found = imports.find(Lower(module));
    return found == imports.end() ? nullptr : found->second;
  };
  for (const Text& module : box.Imports()) out.push_back(Named(u"Import ", module, presentImport(module)));
  TextList commented;
  for (const Text& optional : box.optionalModules) {
    const HeaderLine* line = presentImport(optional);
    if (line) {
      out.push_back(Named(u"Import ", optional, line));
    } else {
      commented.push_back(optional);
    }
  }
  if (commented.empty()) return out;
  out.push_back({Text(), std::nullopt, 0});
  out.push_back({kMayBeRequiredLine, std::nullopt, 0});
  for (const Text& optional : commented) out.push_back({u"' Import " + optional, std::nullopt, 0});
  return out;
}

}  // namespace vt
