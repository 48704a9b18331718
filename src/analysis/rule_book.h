// The rules that differ between the classic and the modern BlitzMax
// distributions, read from rule files the user can read and extend: which
// implementation module a suggested interface module needs, and which
// driver modules and lines the graphics templates use.
#pragma once

#include <string_view>
#include <vector>

#include "base/text.h"
#include "catalogue/distribution.h"

namespace vt {

// "classic" or "modern".
TextView RuleSetName(RuleSetKind kind);

// When `interfaceModule` is suggested and `implementation` is installed,
// `implementation` is imported too, for `reason`.
struct ImplementationRule {
  Text interfaceModule;  // as written, e.g. "BRL.Timer"
  Text implementation;   // as written, e.g. "BRL.TimerDefault"
  Text reason;           // e.g. "implementation of BRL.Timer"

  bool operator==(const ImplementationRule&) const = default;
};

// A graphics driver a template puts on the Framework line.
struct DriverTemplate {
  Text module;  // e.g. "BRL.GLMax2D"
  Text line;    // e.g. "SetGraphicsDriver GLMax2DDriver()"
  Text note;    // shown under the block that uses it, or empty

  bool operator==(const DriverTemplate&) const = default;
};

struct TemplateRules {
  DriverTemplate openglGraphics;  // OpenGL graphics without Max2D
  DriverTemplate openglMax2D;
  DriverTemplate directxMax2D;
  Text guiModule;  // moved to the front of its unit's modules

  bool operator==(const TemplateRules&) const = default;
};

struct RuleSet {
  std::vector<ImplementationRule> implementations;
  TemplateRules templates;

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
// rules are appended, template lines replace the ones before. Returns the
// first fault as "FILE:LINE: what is wrong" (FILE is `fileName`), and then
// leaves `book` as it was; empty when the file is sound.
Text ReadRules(std::string_view text, TextView fileName, RuleBook& book);

// The rules that ship with the program, as built in.
const RuleBook& BuiltInRules();

// The text of the rule file that ships with the program.
std::string_view BuiltInRulesText();

}  // namespace vt
