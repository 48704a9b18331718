// The rules that differ between the classic and the modern BlitzMax
// distributions, read from rule files the user can read and extend: which
// implementation module a suggested interface module needs, which driver
// modules and lines the graphics templates use, and which modules stand in
// for one another.
#pragma once

#include <string_view>
#include <vector>

#include "base/text.h"
#include "catalogue/distribution.h"
#include "catalogue/import_list.h"

namespace vt {

struct CatalogueState;

// "classic" or "modern".
TextView RuleSetName(RuleSetKind kind);

// Where a rule was read. The files that ship with the program are written
// for every installation; those of the user's are written for one.
struct RuleOrigin {
  Text file;
  size_t line = 0;  // 1-based; 0 for a rule no file gave
  bool shipped = false;

  bool operator==(const RuleOrigin&) const = default;
};

enum class RuleSource { User, Shipped };

// When `interfaceModule` is suggested and `implementation` is installed,
// `implementation` is imported too, for `reason`.
struct ImplementationRule {
  Text interfaceModule;  // as written, e.g. "BRL.Timer"
  Text implementation;   // as written, e.g. "BRL.TimerDefault"
  Text reason;           // e.g. "implementation of BRL.Timer"
  RuleOrigin origin = {};

  bool operator==(const ImplementationRule&) const = default;
};

// A graphics driver a template puts on the Framework line.
struct DriverTemplate {
  Text module;  // e.g. "BRL.GLMax2D"
  Text line;    // e.g. "SetGraphicsDriver GLMax2DDriver()"
  Text note;    // shown under the block that uses it, or empty
  RuleOrigin origin = {};  // of the driver line

  bool operator==(const DriverTemplate&) const = default;
};

struct TemplateRules {
  DriverTemplate openglGraphics;  // OpenGL graphics without Max2D
  DriverTemplate openglMax2D;
  DriverTemplate directxMax2D;
  Text guiModule;  // moved to the front of its unit's modules
  RuleOrigin guiOrigin = {};

  bool operator==(const TemplateRules&) const = default;
};

// Modules that stand in for one another, such as the Max2D drivers: a
// program that needs one member is served by any, so the member the author
// chose is kept. The first member is the usual choice.
struct ModuleFamily {
  Text name;  // e.g. "max2d-drivers"
  TextList members;  // as written

  bool operator==(const ModuleFamily&) const = default;
};

using ModuleFamilies = std::vector<ModuleFamily>;

struct RuleSet {
  std::vector<ImplementationRule> implementations;
  TemplateRules templates;
  ModuleFamilies families;

  bool operator==(const RuleSet&) const = default;
};

struct RuleBook {
  RuleSet classic;
  RuleSet modern;

  const RuleSet& For(RuleSetKind kind) const {
    return kind == RuleSetKind::Modern ? modern : classic;
  }
  RuleSet& For(RuleSetKind kind) { return kind == RuleSetKind::Modern ? modern : classic; }

  bool operator==(const RuleBook&) const = default;
};

// Adds the rules of one file, its UTF-8 `text`, to `book`: implementation
// rules are appended, template lines and families of a name read before
// replace the ones before. Returns the first fault as "FILE:LINE: what is
// wrong" (FILE is `fileName`), and then leaves `book` as it was; empty when
// the file is sound.
Text ReadRules(std::string_view text, TextView fileName, RuleBook& book,
               RuleSource source = RuleSource::User);

// The rules of the catalogue's set that can act on its installation (the
// classic set acts as it is, whatever is installed): an
// implementation rule whose modules are both installed, a template whose
// driver module is installed (the others are left without a module and so
// are not offered), a GUI module that is installed. Families stay whole.
RuleBook InstalledRules(const RuleBook& book, const CatalogueState& catalogue);

// One warning for each rule of the modern set, read from a file of the
// user's, that names a module the installation lacks: "FILE:LINE: BRL.X is
// not installed here; the rule is not used". Family members are
// alternatives and are never warned about; an empty catalogue gives none.
std::vector<Text> UninstalledRuleWarnings(const RuleBook& book, const CatalogueState& catalogue);

// The rules that ship with the program, as built in.
const RuleBook& BuiltInRules();

// The text of the rule file that ships with the program.
std::string_view BuiltInRulesText();

}  // namespace vt
