#include "analysis/rule_book.h"

#include <algorithm>
#include <cassert>
#include <optional>

#include "base/builtin_rules.h"
#include "catalogue/module_records.h"

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

// What is wrong with one line: empty when the line is sound.
using LineFault = Text;

LineFault CheckModuleName(TextView name) {
  if (IsModuleName(name)) return LineFault();
  return Quoted(name) + u" is not a module name such as BRL.Timer";
}

DriverTemplate* TemplateNamed(TemplateRules& rules, TextView name) {
  if (name == u"opengl-graphics") return &rules.openglGraphics;
  if (name == u"opengl-max2d") return &rules.openglMax2D;
  if (name == u"directx-max2d") return &rules.directxMax2D;
  return nullptr;
}

LineFault UnknownTemplate(TextView name) {
  return u"unknown driver " + Quoted(name) +
         u"; expected opengl-graphics, opengl-max2d or directx-max2d";
}

Text ImplementationReason(TextView interfaceModule) {
  return u"implementation of " + Text(interfaceModule);
}

// The family's place in `families` when its name was read before; unnamed
// families (of implementation lines) are always new.
ModuleFamilies::iterator FamilyNamed(ModuleFamilies& families, TextView name) {
  if (name.empty()) return families.end();
  return std::find_if(families.begin(), families.end(),
                      [&](const ModuleFamily& known) { return known.name == name; });
}

// A family of a name read before replaces it in its place; one that names
// no interface module keeps the interface of the one it replaces, so that a
// user's narrowed family still serves it.
void AddFamily(ModuleFamily family, RuleSet& rules) {
  auto same = FamilyNamed(rules.families, family.name);
  if (same == rules.families.end()) {
    rules.families.push_back(std::move(family));
    return;
  }
  if (family.interfaceModule.empty()) {
    family.interfaceModule = std::move(same->interfaceModule);
    family.reason = std::move(same->reason);
  }
  *same = std::move(family);
}

// The short form of a family that serves an interface module: one member,
// no name.
LineFault ReadImplementation(Fields& fields, RuleSet& rules, const RuleOrigin& origin) {
  TextView interfaceModule = fields.Next();
  TextView implementation = fields.Next();
  if (implementation.empty()) {
    return u"implementation needs an interface module and an implementation module";
  }
  if (LineFault fault = CheckModuleName(interfaceModule); !fault.empty()) return fault;
  if (LineFault fault = CheckModuleName(implementation); !fault.empty()) return fault;
  Text reason(fields.Rest());
  if (reason.empty()) reason = ImplementationReason(interfaceModule);
  rules.families.push_back(ModuleFamily{
      Text(), {Text(implementation)}, Text(interfaceModule), std::move(reason), origin});
  return LineFault();
}

// A word as the command pass keeps it: name characters and dots, starting
// and ending with a name character.
bool IsSymbolWord(TextView word) {
  if (word.empty() || word.front() == u'.' || word.back() == u'.') return false;
  return std::all_of(word.begin(), word.end(),
                     [](char16_t c) { return IsNameChar(c) || c == u'.'; });
}

Text SymbolReason(TextView word, TextView condition) {
  Text reason = u"plug-in for " + Text(word);
  if (!condition.empty()) reason += u" on " + Text(condition);
  return reason;
}

LineFault ReadSymbol(Fields& fields, RuleSet& rules, const RuleOrigin& origin) {
  TextView word = fields.Next();
  TextView module = fields.Next();
  if (module.empty()) return u"symbol needs a word and a module";
  if (!IsSymbolWord(word)) {
    return Quoted(word) + u" is not a word such as CreateHTMLView or EArchiveFormat.ZIP";
  }
  if (LineFault fault = CheckModuleName(module); !fault.empty()) return fault;
  SymbolRule rule{Text(word), Text(module), Text(), Text(), origin};
  TextView rest = fields.Rest();
  if (!rest.empty() && rest.front() == u'?') {
    // The condition is the rest of the field, so "? on Linux" is no "?on".
    if (rest.size() == 1 || IsBlank(rest[1])) {
      return u"symbol needs a condition after ?, such as ?Linux";
    }
    Fields condition(rest.substr(1));
    rule.condition = condition.Next();
    rest = condition.Rest();
  }
  rule.reason = rest.empty() ? SymbolReason(word, rule.condition) : Text(rest);
  rules.symbols.push_back(std::move(rule));
  return LineFault();
}

LineFault ReadDriver(Fields& fields, RuleSet& rules, const RuleOrigin& origin) {
  TextView name = fields.Next();
  TextView module = fields.Next();
  TextView line = fields.Rest();
  if (line.empty()) return u"driver needs a template name, a module and a source line";
  DriverTemplate* driver = TemplateNamed(rules.templates, name);
  if (!driver) return UnknownTemplate(name);
  if (LineFault fault = CheckModuleName(module); !fault.empty()) return fault;
  driver->module = module;
  driver->line = line;
  driver->origin = origin;
  return LineFault();
}

LineFault ReadNote(Fields& fields, RuleSet& rules) {
  TextView name = fields.Next();
  TextView note = fields.Rest();
  if (note.empty()) return u"note needs a template name and a text";
  DriverTemplate* driver = TemplateNamed(rules.templates, name);
  if (!driver) return UnknownTemplate(name);
  driver->note = note;
  return LineFault();
}

LineFault ReadGui(Fields& fields, RuleSet& rules, const RuleOrigin& origin) {
  TextView module = fields.Next();
  if (module.empty() || !fields.Rest().empty()) return u"gui needs exactly one module";
  if (LineFault fault = CheckModuleName(module); !fault.empty()) return fault;
  rules.templates.guiModule = module;
  rules.templates.guiOrigin = origin;
  return LineFault();
}

// A family name is one word that is no module name, so that a line that
// forgot it is not read as a family named after its first member.
bool IsFamilyName(TextView name) {
  return !name.empty() && std::all_of(name.begin(), name.end(), [](char16_t c) {
    return IsNameChar(c) || c == u'-';
  });
}

// family NAME [for INTERFACE] MEMBER... [-- REASON]
LineFault ReadFamily(Fields& fields, RuleSet& rules, const RuleOrigin& origin) {
  TextView name = fields.Next();
  ModuleFamily family{Text(name), {}, Text(), Text(), origin};
  TextView field = fields.Next();
  if (field == u"for") {
    TextView interfaceModule = fields.Next();
    if (interfaceModule.empty()) return u"family needs an interface module after for";
    if (LineFault fault = CheckModuleName(interfaceModule); !fault.empty()) return fault;
    family.interfaceModule = interfaceModule;
    field = fields.Next();
  }
  for (; !field.empty() && field != u"--"; field = fields.Next()) {
    if (LineFault fault = CheckModuleName(field); !fault.empty()) return fault;
    family.members.emplace_back(field);
  }
  if (family.members.empty()) return u"family needs a name and its member modules";
  if (!IsFamilyName(name)) {
    return Quoted(name) + u" is not a family name such as max2d-drivers";
  }
  if (field == u"--") {
    if (family.interfaceModule.empty())
      return u"family needs for INTERFACE to give a reason";
    family.reason = fields.Rest();
    if (family.reason.empty()) return u"family needs a reason after --";
  } else if (!family.interfaceModule.empty()) {
    family.reason = ImplementationReason(family.interfaceModule);
  }
  AddFamily(std::move(family), rules);
  return LineFault();
}

std::optional<LoadKind> LoadKindNamed(TextView name) {
  if (name == u"images") return LoadKind::Images;
  if (name == u"audio") return LoadKind::Audio;
  return std::nullopt;
}

// Whether `text` can start a loader rule of its kind: a file type is a dot
// and a name (".png", ".tar.gz"), a stream protocol any text without
// blanks, a word one as the command pass keeps it.
bool IsLoaderText(LoaderRule::Match match, TextView text) {
  switch (match) {
    case LoaderRule::Match::FileType:
      return text.size() > 1 && text.front() == u'.' && IsSymbolWord(text.substr(1));
    case LoaderRule::Match::Stream:
      return !text.empty();
    case LoaderRule::Match::Word:
      return IsSymbolWord(text);
  }
  return false;
}

Text LoaderShape(TextView keyword) {
  TextView text = keyword == u"file" ? u".EXT" : keyword == u"stream" ? u"TEXT" : u"WORD";
  return Text(keyword) + u" needs " + Text(text) +
         u", then a module, images or audio, or both, such as \"" + Text(keyword) +
         (keyword == u"file"     ? u" .png BRL.PNGLoader images\""
          : keyword == u"stream" ? u" http:: BRL.HTTPStream\""
                                 : u" LoadImage images\"");
}

// A loader rule of the same kind and text read before is replaced in its
// place, so that a user's row for ".png" wins over the shipped one.
void AddLoader(LoaderRule rule, RuleSet& rules) {
  auto same = std::find_if(rules.loaders.begin(), rules.loaders.end(),
                           [&](const LoaderRule& known) {
                             return known.match == rule.match && known.text == rule.text;
                           });
  if (same == rules.loaders.end()) {
    rules.loaders.push_back(std::move(rule));
  } else {
    *same = std::move(rule);
  }
}

// file .EXT|stream TEXT|word WORD, then [MODULE] [images|audio] [-- REASON]
LineFault ReadLoader(TextView keyword, Fields& fields, RuleSet& rules,
                 const RuleOrigin& origin) {
  LoaderRule rule;
  rule.match = keyword == u"file"     ? LoaderRule::Match::FileType
               : keyword == u"stream" ? LoaderRule::Match::Stream
                                      : LoaderRule::Match::Word;
  rule.origin = origin;
  TextView text = fields.Next();
  if (!IsLoaderText(rule.match, text)) return LoaderShape(keyword);
  rule.text = Lower(text);
  TextView field = fields.Next();
  if (IsModuleName(field)) {
    rule.module = field;
    field = fields.Next();
  }
  if (std::optional<LoadKind> loads = LoadKindNamed(field)) {
    rule.loads = *loads;
    field = fields.Next();
  }
  if (field == u"--") {
    rule.reason = fields.Rest();
    if (rule.reason.empty()) return Text(keyword) + u" needs a reason after --";
  } else if (!field.empty()) {
    return Quoted(field) + u" is not a module name, images, audio or --";
  }
  if (rule.module.empty() && rule.loads == LoadKind::None) return LoaderShape(keyword);
  AddLoader(std::move(rule), rules);
  return LineFault();
}

// loaders images|audio MODULE...: the whole list, replacing the one before.
LineFault ReadLoaderList(Fields& fields, RuleSet& rules) {
  std::optional<LoadKind> loads = LoadKindNamed(fields.Next());
  if (!loads) return u"loaders needs images or audio, then the modules to offer";
  TextList modules;
  for (TextView field = fields.Next(); !field.empty(); field = fields.Next()) {
    if (LineFault fault = CheckModuleName(field); !fault.empty()) return fault;
    modules.emplace_back(field);
  }
  (*loads == LoadKind::Images ? rules.imageLoaders : rules.audioLoaders) =
      std::move(modules);
  return LineFault();
}

// rename MODULE LISTED: a rename of a module named before replaces it.
LineFault ReadRename(Fields& fields, RuleSet& rules, const RuleOrigin& origin) {
  TextView from = fields.Next();
  TextView to = fields.Next();
  if (to.empty() || !fields.Rest().empty())
    return u"rename needs a module and the name it is listed as";
  if (LineFault fault = CheckModuleName(from); !fault.empty()) return fault;
  if (LineFault fault = CheckModuleName(to); !fault.empty()) return fault;
  ModuleRename rename{Text(from), Text(to), origin};
  auto same = std::find_if(
      rules.renames.begin(), rules.renames.end(),
      [&](const ModuleRename& known) { return Lower(known.from) == Lower(from); });
  if (same == rules.renames.end()) {
    rules.renames.push_back(std::move(rename));
  } else {
    *same = std::move(rename);
  }
  return LineFault();
}

LineFault ReadRule(TextView line, RuleSet* rules, const RuleOrigin& origin) {
  Fields fields(line);
  TextView keyword = fields.Next();
  bool loader = keyword == u"file" || keyword == u"stream" || keyword == u"word";
  bool known = loader || keyword == u"implementation" || keyword == u"driver" ||
               keyword == u"note" || keyword == u"gui" || keyword == u"family" ||
               keyword == u"symbol" || keyword == u"loaders" || keyword == u"rename";
  if (!known) {
    return u"unknown rule " + Quoted(keyword) +
           u"; expected implementation, driver, note, gui, family, symbol, file, stream, "
           u"word, loaders or rename";
  }
  if (!rules) {
    return Quoted(keyword) + u" before any section; start with [classic] or [modern]";
  }
  if (keyword == u"implementation") return ReadImplementation(fields, *rules, origin);
  if (keyword == u"driver") return ReadDriver(fields, *rules, origin);
  if (keyword == u"note") return ReadNote(fields, *rules);
  if (keyword == u"family") return ReadFamily(fields, *rules, origin);
  if (keyword == u"symbol") return ReadSymbol(fields, *rules, origin);
  if (loader) return ReadLoader(keyword, fields, *rules, origin);
  if (keyword == u"loaders") return ReadLoaderList(fields, *rules);
  if (keyword == u"rename") return ReadRename(fields, *rules, origin);
  return ReadGui(fields, *rules, origin);
}

LineFault ReadSection(TextView header, RuleBook& book, RuleSet*& section) {
  if (header == u"[classic]") {
    section = &book.classic;
  } else if (header == u"[modern]") {
    section = &book.modern;
  } else {
    return u"unknown section " + Quoted(header) + u"; expected [classic] or [modern]";
  }
  return LineFault();
}

// One line without the blanks around it; `section` is the rule set that
// the last section header chose, if any.
LineFault ReadLine(TextView line, RuleBook& book, RuleSet*& section,
               const RuleOrigin& origin) {
  if (line.empty() || line[0] == u'#') return LineFault();
  if (line[0] == u'[') return ReadSection(line, book, section);
  return ReadRule(line, section, origin);
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
Fault ReadLines(std::string_view text, TextView fileName, RuleBook& book,
                RuleSource source) {
  // Windows editors may start a UTF-8 file with a byte order mark.
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  RuleSet* section = nullptr;
  RuleOrigin origin{Text(fileName), 0, source == RuleSource::Shipped};
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view bytes = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++origin.line;
    std::optional<Text> line = DecodeLine(bytes);
    LineFault fault = line ? ReadLine(TrimView(*line), book, section, origin)
                           : LineFault(u"not valid UTF-8");
    if (!fault.empty()) {
      return Fault(Text(fileName) + u":" + Decimal(origin.line) + u": " + fault);
    }
  }
  return Fault();
}

bool Installed(const CatalogueState& catalogue, TextView module) {
  return catalogue.FindModule(Lower(module)) != nullptr;
}

// The first module of `modules` the installation lacks, or empty.
Text FirstMissing(const CatalogueState& catalogue,
                  std::initializer_list<TextView> modules) {
  for (TextView module : modules) {
    if (!module.empty() && !Installed(catalogue, module)) return Text(module);
  }
  return Text();
}

// Calls `visit(origin, missing)` for each rule of `rules` that names a
// module the installation lacks, with the first such module.
template <typename Visit>
void ForEachUninstalledRule(const RuleSet& rules, const CatalogueState& catalogue,
                            Visit&& visit) {
  // The members are alternatives; an implementation line names one module
  // to import.
  for (const ModuleFamily& family : rules.families) {
    TextView implementation =
        family.name.empty() ? TextView(family.members.front()) : TextView();
    Text missing = FirstMissing(catalogue, {family.interfaceModule, implementation});
    if (!missing.empty()) visit(family.origin, missing);
  }
  for (const SymbolRule& rule : rules.symbols) {
    Text missing = FirstMissing(catalogue, {rule.module});
    if (!missing.empty()) visit(rule.origin, missing);
  }
  // The loaders offered are alternatives too.
  for (const LoaderRule& rule : rules.loaders) {
    Text missing = FirstMissing(catalogue, {rule.module});
    if (!missing.empty()) visit(rule.origin, missing);
  }
  const TemplateRules& templates = rules.templates;
  for (const DriverTemplate* driver :
       {&templates.openglGraphics, &templates.openglMax2D, &templates.directxMax2D}) {
    Text missing = FirstMissing(catalogue, {driver->module});
    if (!missing.empty()) visit(driver->origin, missing);
  }
  Text missing = FirstMissing(catalogue, {templates.guiModule});
  if (!missing.empty()) visit(templates.guiOrigin, missing);
}

}  // namespace

TextView RuleSetName(RuleSetKind kind) {
  return kind == RuleSetKind::Modern ? u"modern" : u"classic";
}

Fault ReadRules(std::string_view text, TextView fileName, RuleBook& book,
                RuleSource source) {
  RuleBook changed = book;
  Fault fault = ReadLines(text, fileName, changed, source);
  if (!fault) book = std::move(changed);
  return fault;
}

std::string_view BuiltInRulesText() {
  return std::string_view(kBuiltInRulesText, sizeof(kBuiltInRulesText) - 1);
}

const RuleBook& BuiltInRules() {
  static const RuleBook book = [] {
    RuleBook rules;
    // The shipped rules are tested to read cleanly; a fault here is a build fault.
    Fault fault = ReadRules(BuiltInRulesText(), u"rules.txt", rules, RuleSource::Shipped);
    assert(!fault);
    (void)fault;
    return rules;
  }();
  return book;
}

RuleBook InstalledRules(const RuleBook& book, const CatalogueState& catalogue) {
  // The classic rules write the templates they always wrote.
  if (catalogue.ruleSet == RuleSetKind::Classic) return book;
  RuleBook installed = book;
  RuleSet& rules = installed.For(catalogue.ruleSet);
  std::erase_if(rules.symbols, [&](const SymbolRule& rule) {
    return !FirstMissing(catalogue, {rule.module}).empty();
  });
  TemplateRules& templates = rules.templates;
  for (DriverTemplate* driver :
       {&templates.openglGraphics, &templates.openglMax2D, &templates.directxMax2D}) {
    if (!FirstMissing(catalogue, {driver->module}).empty()) *driver = DriverTemplate();
  }
  if (!FirstMissing(catalogue, {templates.guiModule}).empty())
    templates.guiModule.clear();
  return installed;
}

std::vector<Text> UninstalledRuleWarnings(const RuleBook& book,
                                          const CatalogueState& catalogue) {
  std::vector<Text> warnings;
  // A catalogue without modules knows no installation to judge by, and the
  // classic rules act whatever is installed.
  if (catalogue.ModList.empty() || catalogue.ruleSet == RuleSetKind::Classic)
    return warnings;
  auto warn = [&](const RuleOrigin& origin, const Text& missing) {
    if (origin.shipped) return;
    warnings.push_back(origin.file + u":" + Decimal(static_cast<long long>(origin.line)) +
                       u": " + missing + u" is not installed here; the rule is not used");
  };
  ForEachUninstalledRule(book.For(catalogue.ruleSet), catalogue, warn);
  return warnings;
}

}  // namespace vt
