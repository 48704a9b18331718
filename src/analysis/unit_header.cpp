#include "analysis/unit_header.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "catalogue/platform_condition.h"

namespace vt {

namespace {

bool IsModuleLine(const HeaderLine& line) {
  return line.kind == HeaderLineKind::Framework || line.kind == HeaderLineKind::Import;
}

// Lines kept whatever the box wants: Import lines the user marked, and lines
// of modules the installation lacks, which nothing here can judge.
bool KeptAsWritten(const HeaderLine& line) {
  return line.notInstalled || (line.kind == HeaderLineKind::Import && line.keep);
}

std::unordered_set<Text> LowerSet(const TextList& names) {
  std::unordered_set<Text> set;
  for (const Text& name : names) set.insert(Lower(name));
  return set;
}

bool ContainsFolded(const TextList& list, TextView name) {
  return std::any_of(list.begin(), list.end(),
                     [name](const Text& entry) { return EqualFolded(entry, name); });
}

void EraseFolded(TextList& list, TextView name) {
  std::erase_if(list, [name](const Text& entry) { return EqualFolded(entry, name); });
}

// What the header should name once the lines it keeps are set aside.
struct HeaderPlan {
  // The module wanted on the Framework line, or empty.
  Text framework;
  // The file's first Framework line stays the Framework line.
  bool frameworkStays = false;
  TextList imports;
  // Modules the box wants only in platform sections that an Import outside
  // them names already: that line serves every section.
  TextList servingSections;
  // The 0-based file lines of the Framework and Import lines kept as written.
  std::unordered_set<size_t> kept;

  bool Keeps(const HeaderLine& line) const { return kept.count(line.index) != 0; }
};

// A wanted module that a present line names another member of its family
// for is the author's choice made already: the line is kept, the wanted
// module dropped. Returns the module of the line that stands in for the
// wanted framework, if any.
Text KeepChosenMembers(const ModuleFamilies& families, const PresentHeader& present,
                       HeaderPlan& plan) {
  std::unordered_set<Text> wanted = LowerSet(plan.imports);
  if (!plan.framework.empty()) wanted.insert(Lower(plan.framework));
  std::unordered_set<Text> served;
  Text frameworkStandIn;
  for (const HeaderLine& line : present.lines) {
    if (!IsModuleLine(line) || !line.condition.empty()) continue;
    if (wanted.count(Lower(line.module))) continue;
    for (const ModuleFamily& family : families) {
      if (!ContainsFolded(family.members, line.module)) continue;
      for (const Text& member : family.members) {
        Text low = Lower(member);
        if (!wanted.count(low)) continue;
        served.insert(low);
        plan.kept.insert(line.index);
        if (frameworkStandIn.empty() && EqualFolded(member, plan.framework)) {
          frameworkStandIn = line.module;
        }
      }
    }
  }
  std::erase_if(plan.imports,
                [&served](const Text& module) { return served.count(Lower(module)) != 0; });
  if (served.count(Lower(plan.framework))) plan.framework.clear();
  return frameworkStandIn;
}

// Who holds the Framework line of a main file. A kept Framework line stays
// it, and the module wanted there goes on an Import line. When no module is
// wanted there (the unit needs none, or the author's member of its family
// stands on an Import line), the file's own Framework line stays; without
// one, the author's member goes there.
void SettleFramework(const PresentHeader& present, const Text& standIn, HeaderPlan& plan) {
  const HeaderLine* first = present.FrameworkLine();
  if (first && plan.Keeps(*first)) {
    plan.frameworkStays = true;
    bool named = EqualFolded(plan.framework, first->module) ||
                 ContainsFolded(plan.imports, plan.framework);
    if (!plan.framework.empty() && !named) {
      plan.imports.insert(plan.imports.begin(), plan.framework);
    }
    plan.framework.clear();
    return;
  }
  if (!plan.framework.empty()) return;
  if (first) {
    plan.frameworkStays = true;
    EraseFolded(plan.imports, first->module);
    return;
  }
  plan.framework = standIn;
}

// An Import in a section that holds wherever the modern rules build
// ("?bmxng"; only they read sections into the header) serves the module it
// names when the box wants or offers it: the line stays in its section, and
// the module needs no Import of its own.
void KeepImportsThatAlwaysHold(const CodeBox& box, const PresentHeader& present,
                               HeaderPlan& plan) {
  for (const HeaderLine& line : present.lines) {
    if (line.kind != HeaderLineKind::Import || line.condition.empty()) continue;
    if (!ContainsFolded(plan.imports, line.module) &&
        !ContainsFolded(box.optionalModules, line.module)) {
      continue;
    }
    if (SimplifyCondition(line.condition, true).kind != KnownCondition::Kind::Always) continue;
    plan.kept.insert(line.index);
    EraseFolded(plan.imports, line.module);
  }
}

bool IsPlainImport(const HeaderLine& line) {
  return line.kind == HeaderLineKind::Import && line.condition.empty();
}

// An Import outside any section of a module the box wants in a section
// serves that section as well: dropping it would only bring the module back
// under the section's condition. It stays, unless a kept line names the
// module already.
void KeepImportsServingSections(const CodeBox& box, const PresentHeader& present,
                                HeaderPlan& plan) {
  std::unordered_map<Text, const Text*> wanted;
  for (const GuardedModules& section : box.guarded) {
    for (const Text& module : section.modules) wanted.emplace(Lower(module), &module);
  }
  for (const Text& module : plan.imports) wanted.erase(Lower(module));
  for (const Text& module : box.optionalModules) wanted.erase(Lower(module));
  for (const HeaderLine& line : present.lines) {
    if (IsPlainImport(line) && plan.Keeps(line)) wanted.erase(Lower(line.module));
  }
  for (const HeaderLine& line : present.lines) {
    if (!IsPlainImport(line) || plan.Keeps(line)) continue;
    auto found = wanted.find(Lower(line.module));
    if (found == wanted.end()) continue;
    plan.servingSections.push_back(*found->second);
    wanted.erase(found);
  }
}

HeaderPlan PlanHeader(const CodeBox& box, const PresentHeader& present,
                      const ModuleFamilies& families) {
  HeaderPlan plan{box.Framework(), false, box.Imports(), {}, {}};
  for (const HeaderLine& line : present.lines) {
    if (IsModuleLine(line) && KeptAsWritten(line)) plan.kept.insert(line.index);
  }
  KeepImportsThatAlwaysHold(box, present, plan);
  Text standIn = KeepChosenMembers(families, present, plan);
  if (box.isMain) SettleFramework(present, standIn, plan);
  KeepImportsServingSections(box, present, plan);
  return plan;
}

// The module the header's Framework line will name: the one the file has
// when it stays, else the one wanted; empty when there is none. Like an
// Import outside sections, it serves every section.
Text FrameworkModule(const PresentHeader& present, const HeaderPlan& plan) {
  const HeaderLine* first = present.FrameworkLine();
  if (plan.frameworkStays && first) return first->module;
  return plan.framework;
}

// A line copied whole from the file.
WantedLine AsWritten(const HeaderLine& line) { return {Text(), line.index, 0}; }

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

void CompareGuarded(const CodeBox& box, const PresentHeader& present, const HeaderPlan& plan,
                    std::vector<HeaderDifference>& out) {
  auto unconditional = ImportsByModule(present);
  auto guarded = GuardedImports(present);
  Text framework = FrameworkModule(present, plan);
  for (const GuardedModules& section : box.guarded) {
    for (const Text& module : section.modules) {
      if (unconditional.count(Lower(module)) || EqualFolded(module, framework)) continue;
      if (guarded.count(GuardedKey(section.condition, module))) continue;
      out.push_back({HeaderDifferenceKind::Missing, false, module, present.FirstModuleLine(),
                     section.condition});
    }
  }
  std::unordered_set<Text> wanted = WantedGuarded(box);
  std::unordered_set<Text> seen;
  for (const HeaderLine& line : present.lines) {
    if (line.kind != HeaderLineKind::Import || line.condition.empty() || plan.Keeps(line)) {
      continue;
    }
    Text key = GuardedKey(line.condition, line.module);
    if (seen.insert(key).second && wanted.count(key)) continue;
    out.push_back({HeaderDifferenceKind::Unneeded, false, line.module, line.index + 1,
                   line.condition});
  }
}

// A main file's Framework lines. One that needs no module keeps its own:
// without it the program would import every module.
void CompareFramework(const PresentHeader& present, const HeaderPlan& plan,
                      std::vector<HeaderDifference>& out) {
  const HeaderLine* framework = present.FrameworkLine();
  const Text& wanted = plan.framework;
  for (const HeaderLine& line : present.lines) {
    if (line.kind != HeaderLineKind::Framework || plan.Keeps(line)) continue;
    bool first = &line == framework;
    bool right = first && (plan.frameworkStays || Lower(line.module) == Lower(wanted));
    if (!right) out.push_back({HeaderDifferenceKind::Unneeded, true, line.module, line.index + 1});
  }
  if (wanted.empty() || plan.frameworkStays) return;
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
void AddGuardedLines(const CodeBox& box, const PresentHeader& present, const HeaderPlan& plan,
                     const std::unordered_map<Text, const HeaderLine*>& unconditional,
                     std::vector<WantedLine>& out) {
  auto guarded = GuardedImports(present);
  Text framework = FrameworkModule(present, plan);
  // The box's sections, then those of the header that hold only imports the
  // user keeps.
  std::vector<GuardedModules> sections = box.guarded;
  std::unordered_set<Text> wanted = WantedGuarded(box);
  for (const HeaderLine& line : present.lines) {
    if (!plan.Keeps(line) || line.condition.empty()) continue;
    if (wanted.count(GuardedKey(line.condition, line.module))) continue;
    auto same = std::find_if(sections.begin(), sections.end(), [&](const GuardedModules& s) {
      return ConditionKey(s.condition) == ConditionKey(line.condition);
    });
    if (same == sections.end()) same = sections.insert(sections.end(), {line.condition, {}, {}});
    same->modules.Edit().push_back(line.module);
  }
  for (const GuardedModules& section : sections) {
    std::vector<WantedLine> lines;
    for (const Text& module : section.modules) {
      auto found = guarded.find(GuardedKey(section.condition, module));
      const HeaderLine* line = found == guarded.end() ? nullptr : found->second;
      // A section's own Import stays beside one that serves it from outside:
      // both are needed by a use, so neither is judged unneeded.
      bool stays = line && (plan.Keeps(*line) || ContainsFolded(plan.servingSections, module));
      if (!stays && (unconditional.count(Lower(module)) || EqualFolded(module, framework))) {
        continue;
      }
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

// The kept Import lines that the plan does not name, as written.
void AddKeptLines(const CodeBox& box, const PresentHeader& present, const HeaderPlan& plan,
                  std::vector<WantedLine>& out) {
  std::unordered_set<Text> named = LowerSet(plan.imports);
  for (const Text& optional : box.optionalModules) named.insert(Lower(optional));
  for (const HeaderLine& line : present.lines) {
    if (line.kind != HeaderLineKind::Import || !plan.Keeps(line) || !line.condition.empty()) {
      continue;
    }
    if (named.insert(Lower(line.module)).second) out.push_back(AsWritten(line));
  }
}

// The Framework line of a main file as the plan has it, then the other
// Framework lines kept as written.
void AddFrameworkLines(const CodeBox& box, const PresentHeader& present, const HeaderPlan& plan,
                       std::vector<WantedLine>& out) {
  const HeaderLine* framework = present.FrameworkLine();
  bool main = box.isMain;
  if (main && plan.frameworkStays) {
    out.push_back(plan.Keeps(*framework) ? AsWritten(*framework)
                                         : Named(u"Framework ", framework->module, framework));
  } else if (main && !plan.framework.empty()) {
    bool same = framework && Lower(framework->module) == Lower(plan.framework);
    out.push_back(Named(u"Framework ", plan.framework, same ? framework : nullptr));
  }
  for (const HeaderLine& line : present.lines) {
    if (line.kind != HeaderLineKind::Framework || !plan.Keeps(line)) continue;
    if (main && plan.frameworkStays && &line == framework) continue;
    out.push_back(AsWritten(line));
  }
}

}  // namespace

std::vector<HeaderDifference> CompareHeader(const CodeBox& box, const PresentHeader& present,
                                            const ModuleFamilies& families) {
  std::vector<HeaderDifference> out;
  HeaderPlan plan = PlanHeader(box, present, families);
  if (box.isMain) {
    CompareFramework(present, plan, out);
  } else {
    for (const HeaderLine& line : present.lines) {
      if (line.kind != HeaderLineKind::Framework || plan.Keeps(line)) continue;
      out.push_back({HeaderDifferenceKind::Unneeded, true, line.module, line.index + 1});
    }
  }
  auto imports = ImportsByModule(present);
  for (const Text& module : plan.imports) {
    if (imports.count(Lower(module))) continue;
    out.push_back({HeaderDifferenceKind::Missing, false, module, present.FirstModuleLine()});
  }
  std::unordered_set<Text> offered = LowerSet(plan.imports);
  for (const Text& optional : box.optionalModules) offered.insert(Lower(optional));
  for (const Text& serving : plan.servingSections) offered.insert(Lower(serving));
  std::unordered_set<Text> seen;
  for (const HeaderLine& line : present.lines) {
    if (line.kind != HeaderLineKind::Import || !line.condition.empty() || plan.Keeps(line)) {
      continue;
    }
    Text low = Lower(line.module);
    // A repeat, or the module the Framework line names already, is unneeded.
    if (seen.insert(low).second && offered.count(low)) continue;
    out.push_back({HeaderDifferenceKind::Unneeded, false, line.module, line.index + 1});
  }
  CompareGuarded(box, present, plan, out);
  return out;
}

std::vector<HeaderDifference> UninstalledNotes(const PresentHeader& present) {
  std::vector<HeaderDifference> notes;
  for (const HeaderLine& line : present.lines) {
    if (!IsModuleLine(line) || !line.notInstalled) continue;
    notes.push_back({HeaderDifferenceKind::NotInstalled, line.kind == HeaderLineKind::Framework,
                     line.module, line.index + 1, line.condition});
  }
  return notes;
}

std::vector<WantedLine> WantedHeader(const CodeBox& box, const PresentHeader& present,
                                     const ModuleFamilies& families) {
  std::vector<WantedLine> out;
  HeaderPlan plan = PlanHeader(box, present, families);
  AddFrameworkLines(box, present, plan, out);
  auto imports = ImportsByModule(present);
  auto presentImport = [&](const Text& module) -> const HeaderLine* {
    auto found = imports.find(Lower(module));
    return found == imports.end() ? nullptr : found->second;
  };
  for (const Text& module : plan.imports) {
    out.push_back(Named(u"Import ", module, presentImport(module)));
  }
  for (const Text& module : plan.servingSections) {
    out.push_back(Named(u"Import ", module, presentImport(module)));
  }
  AddKeptLines(box, present, plan, out);
  AddGuardedLines(box, present, plan, imports, out);
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
