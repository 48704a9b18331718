#include "analysis/rule_book.h"

#include <optional>

#include "base/builtin_rules.h"

namespace vt {

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

bool IsNameChar(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
         (c >= u'0' && c <= u'9') || c == u'_';
}

// "Word.Word": name characters on both sides of exactly one dot.
bool IsModuleName(TextView name) {
  size_t dot = name.find(u'.');
  if (dot == TextView::npos || dot == 0 || dot + 1 == name.size()) return false;
  for (size_t i = 0; i < name.size(); ++i) {
    if (i != dot && !IsNameChar(name[i])) return false;
  }
  return true;
}

// Walks the blank-separated fields of one line; the last field of a rule
// may hold blanks and is taken whole with Rest.
class Fields {
 public:
  explicit Fields(TextView line) : line_(line) {}

  TextView Next() {
    SkipBlanks();
    size_t start = at_;
    while (at_ < line_.size() && !IsBlank(line_[at_])) ++at_;
    return line_.substr(start, at_ - start);
  }

  // Everything left, without the blanks around it.
  TextView Rest() {
    SkipBlanks();
    TextView rest = line_.substr(at_);
    at_ = line_.size();
    while (!rest.empty() && IsBlank(rest.back())) rest.remove_suffix(1);
    return rest;
  }

 private:
  void SkipBlanks() {
    while (at_ < line_.size() && IsBlank(line_[at_])) ++at_;
  }

  TextView line_;
  size_t at_ = 0;
};

Text Quoted(TextView word) { return u"\"" + Text(word) + u"\""; }

// A fault of one line: empty when the line is sound.
using Fault = Text;

Fault CheckModuleName(TextView name) {
  if (IsModuleName(name)) return Fault();
  return Quoted(name) + u" is not a module name such as BRL.Timer";
}

DriverTemplate* TemplateNamed(TemplateRules& rules, TextView name) {
  if (name == u"opengl-graphics") return &rules.openglGraphics;
  if (name == u"opengl-max2d") return &rules.openglMax2D;
  if (name == u"directx-max2d") return &rules.directxMax2D;
  return nullptr;
}

Fault UnknownTemplate(TextView name) {
  return u"unknown driver " + Quoted(name) +
         u"; expected opengl-graphics, opengl-max2d or directx-max2d";
}

Fault ReadImplementation(Fields& fields, RuleSet& rules) {
  TextView interfaceModule = fields.Next();
  TextView implementation = fields.Next();
  if (implementation.empty()) {
    return u"implementation needs an interface module and an implementation module";
  }
  if (Fault fault = CheckModuleName(interfaceModule); !fault.empty()) return fault;
  if (Fault fault = CheckModuleName(implementation); !fault.empty()) return fault;
  Text reason(fields.Rest());
  if (reason.empty()) reason = u"implementation of " + Text(interfaceModule);
  rules.implementations.push_back(
      ImplementationRule{Text(interfaceModule), Text(implementation), std::move(reason)});
  return Fault();
}

Fault ReadDriver(Fields& fields, RuleSet& rules) {
  TextView name = fields.Next();
  TextView module = fields.Next();
  TextView line = fields.Rest();
  if (line.empty()) return u"driver needs a template name, a module and a source line";
  DriverTemplate* driver = TemplateNamed(rules.templates, name);
  if (!driver) return UnknownTemplate(name);
  if (Fault fault = CheckModuleName(module); !fault.empty()) return fault;
  driver->module = module;
  driver->line = line;
  return Fault();
}

Fault ReadNote(Fields& fields, RuleSet& rules) {
  TextView name = fields.Next();
  TextView note = fields.Rest();
  if (note.empty()) return u"note needs a template name and a text";
  DriverTemplate* driver = TemplateNamed(rules.templates, name);
  if (!driver) return UnknownTemplate(name);
  driver->note = note;
  return Fault();
}

Fault ReadGui(Fields& fields, RuleSet& rules) {
  TextView module = fields.Next();
  if (module.empty() || !fields.Rest().empty()) return u"gui needs exactly one module";
  if (Fault fault = CheckModuleName(module); !fault.empty()) return fault;
  rules.templates.guiModule = module;
  return Fault();
}

Fault ReadRule(TextView line, RuleSet* rules) {
  Fields fields(line);
  TextView keyword = fields.Next();
  bool known = keyword == u"implementation" || keyword == u"driver" ||
               keyword == u"note" || keyword == u"gui";
  if (!known) {
    return u"unknown rule " + Quoted(keyword) +
           u"; expected implementation, driver, note or gui";
  }
  if (!rules) {
    return Quoted(keyword) + u" before any section; start with [classic] or [modern]";
  }
  if (keyword == u"implementation") return ReadImplementation(fields, *rules);
  if (keyword == u"driver") return ReadDriver(fields, *rules);
  if (keyword == u"note") return ReadNote(fields, *rules);
  return ReadGui(fields, *rules);
}

Fault ReadSection(TextView header, RuleBook& book, RuleSet*& section) {
  if (header == u"[classic]") {
    section = &book.classic;
  } else if (header == u"[modern]") {
    section = &book.modern;
  } else {
    return u"unknown section " + Quoted(header) + u"; expected [classic] or [modern]";
  }
  return Fault();
}

// One line without the blanks around it; `section` is the rule set that
// the last section header chose, if any.
Fault ReadLine(TextView line, RuleBook& book, RuleSet*& section) {
  if (line.empty() || line[0] == u'#') return Fault();
  if (line[0] == u'[') return ReadSection(line, book, section);
  return ReadRule(line, section);
}

// The line's text, or nullopt when its bytes are not UTF-8. Decoding and
// encoding again gives back the same bytes exactly when they are.
std::optional<Text> DecodeLine(std::string_view bytes) {
  Text line = FromUtf8(bytes);
  if (ToUtf8(line) != bytes) return std::nullopt;
  return line;
}

// Reads the lines of `text` into `book` up to the first fault, which is
// returned prefixed with FILE:LINE.
Text ReadLines(std::string_view text, TextView fileName, RuleBook& book) {
  // Windows editors may start a UTF-8 file with a byte order mark.
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  RuleSet* section = nullptr;
  long long number = 0;
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view bytes = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++number;
    std::optional<Text> line = DecodeLine(bytes);
    Fault fault =
        line ? ReadLine(TrimView(*line), book, section) : Fault(u"not valid UTF-8");
    if (!fault.empty()) return Text(fileName) + u":" + Decimal(number) + u": " + fault;
  }
  return Text();
}

}  // namespace

TextView RuleSetName(RuleSetKind kind) {
  return kind == RuleSetKind::Modern ? u"modern" : u"classic";
}

Text ReadRules(std::string_view text, TextView fileName, RuleBook& book) {
  RuleBook changed = book;
  Text fault = ReadLines(text, fileName, changed);
  if (fault.empty()) book = std::move(changed);
  return fault;
}

std::string_view BuiltInRulesText() {
  return std::string_view(kBuiltInRulesText, sizeof(kBuiltInRulesText) - 1);
}

const RuleBook& BuiltInRules() {
  static const RuleBook book = [] {
    RuleBook rules;
    ReadRules(BuiltInRulesText(), u"rules.txt", rules);
    return rules;
  }();
  return book;
}

}  // namespace vt
