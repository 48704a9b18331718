#include "analysis/unit_header.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace vt {

namespace {

// The present Import lines outside platform sections by lower-cased
// module, first one of each.
std::unordered_map<Text, const HeaderLine*> ImportsByModule(const PresentHeader& present) {
  std::unordered_map<Text, const HeaderLine*> imports;
  for (const HeaderLine& line : present.lines) {
    if (line.kind == HeaderLineKind::Import && line.condition.empty()) {
      imports.emplace(Lower(line.module), &line);
    }
  }
  return imports;
}

// A guarded import as a key: its condition and its module.
Text GuardedKey(TextView condition, TextView module) {
  return ConditionKey(condition) + u'\n' + Lower(module);
}

// The present guarded imports by key, those of the header first, then those
// of the sections the user keeps.
std::unordered_map<Text, const HeaderLine*> GuardedImports(const PresentHeader& present) {
  std::unordered_map<Text, const HeaderLine*> imports;
  for (const auto* lines : {&present.lines, &present.keptImports}) {
    for (const HeaderLine& line : *lines) {
      if (line.kind != HeaderLineKind::Import || line.condition.empty()) continue;
      imports.emplace(GuardedKey(line.condition, line.module), &line);
    }
  }
  return imports;
}

// The imports the box wants under each condition, by key.
std::unordered_set<Text> WantedGuarded(const CodeBox& box) {
  std::unordered_set<Text> wanted;
  for (const GuardedModules& guarded : box.guarded) {
    for (const Text& module : guarded.modules) wanted.insert(GuardedKey(guarded.condition, module));
  }
  return wanted;
}

void CompareGuarded(const CodeBox& box, const PresentHeader& present,
                    std::vector<HeaderDifference>& out) {
  auto unconditional = ImportsByModule(present);
  auto guarded = GuardedImports(present);
  for (const GuardedModules& section : box.guarded) {
    for (const Text& module : section.modules) {
      if (unconditional.count(Lower(module))) continue;
      if (guarded.count(GuardedKey(section.condition, module))) continue;
      out.push_back({HeaderDifferenceKind::Missing, false, module, present.FirstModuleLine(),
                     section.condition});
    }
  }
  std::unordered_set<Text> wanted = WantedGuarded(box);
  std::unordered_set<Text> seen;
  for (const HeaderLine& line : present.lines) {
    if (line.kind != HeaderLineKind::Import || line.condition.empty() || line.keep) continue;
    Text key = GuardedKey(line.condition, line.module);
    if (seen.insert(key).second && wanted.count(key)) continue;
    out.push_back({HeaderDifferenceKind::Unneeded, false, line.module, line.index + 1,
                   line.condition});
  }
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

// The condition line of a section as the user wrote it, comment and all,
// when the header has one for `condition`; else as the program writes it.
WantedLine ConditionLine(const PresentHeader& present, TextView condition) {
  for (const HeaderLine& line : present.lines) {
    if (line.kind == HeaderLineKind::SectionStart &&
        ConditionKey(line.condition) == ConditionKey(condition)) {
      return Named(u"?", line.condition, &line);
    }
  }
  // Built by appending: GCC 12 warns falsely about u"?" + Text(...).
  Text written(u"?");
  written += condition;
  return {written, std::nullopt, 0};
}

// A section per condition with the imports the header still lacks there:
// those imported outside any section, or in a section the user keeps, are
// there already.
void AddGuardedLines(const CodeBox& box, const PresentHeader& present,
                     const std::unordered_map<Text, const HeaderLine*>& unconditional,
                     std::vector<WantedLine>& out) {
  auto guarded = GuardedImports(present);
  // The box's sections, then those of the header that hold only imports the
  // user keeps.
  std::vector<GuardedModules> sections = box.guarded;
  std::unordered_set<Text> wanted = WantedGuarded(box);
  for (const HeaderLine& line : present.lines) {
    if (!line.keep || line.condition.empty()) continue;
    if (wanted.count(GuardedKey(line.condition, line.module))) continue;
    auto same = std::find_if(sections.begin(), sections.end(), [&](const GuardedModules& s) {
      return ConditionKey(s.condition) == ConditionKey(line.condition);
    });
    if (same == sections.end()) same = sections.insert(sections.end(), {line.condition, {}, {}});
    same->modules.push_back(line.module);
  }
  for (const GuardedModules& section : sections) {
    std::vector<WantedLine> lines;
    for (const Text& module : section.modules) {
      auto found = guarded.find(GuardedKey(section.condition, module));
      const HeaderLine* line = found == guarded.end() ? nullptr : found->second;
      bool marked = line && line->keep;
      if (!marked && unconditional.count(Lower(module))) continue;
      bool inUserSection =
          line && std::any_of(present.keptImports.begin(), present.keptImports.end(),
                              [line](const HeaderLine& user) { return &user == line; });
      if (inUserSection) continue;
      lines.push_back(Named(u"Import ", module, line));
    }
    if (lines.empty()) continue;
    out.push_back(ConditionLine(present, section.condition));
    out.insert(out.end(), lines.begin(), lines.end());
    out.push_back({u"?", std::nullopt, 0});
  }
}

// The Import lines the user keeps that the box does not name, as written.
void AddKeptLines(const CodeBox& box, const PresentHeader& present, std::vector<WantedLine>& out) {
  std::unordered_set<Text> named = LowerSet(box.Imports());
  for (const Text& optional : box.optionalModules) named.insert(Lower(optional));
  for (const HeaderLine& line : present.lines) {
    if (line.kind != HeaderLineKind::Import || !line.keep || !line.condition.empty()) continue;
    if (named.insert(Lower(line.module)).second) out.push_back({Text(), line.index, 0});
  }
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
    if (line.kind != HeaderLineKind::Import || !line.condition.empty() || line.keep) continue;
    Text low = Lower(line.module);
    // A repeat, or the module the Framework line names already, is unneeded.
    if (seen.insert(low).second && offered.count(low)) continue;
    out.push_back({HeaderDifferenceKind::Unneeded, false, line.module, line.index + 1});
  }
  CompareGuarded(box, present, out);
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
  AddKeptLines(box, present, out);
  AddGuardedLines(box, present, imports, out);
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
