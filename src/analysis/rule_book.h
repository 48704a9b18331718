// The rules that differ between the classic and the modern BlitzMax
// distributions, read from rule files the user can read and extend: which
// module a word of the program needs although it declares nothing the
// program names, which modules stand in for one another and which of them a
// suggested interface module needs by default, which driver
// modules and lines the graphics templates use.
#pragma once

#include <string_view>
#include <vector>

#include "base/fault.h"
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

// When a program uses `word` (a command, a type or a dotted Type.Member,
// compared with case folded) and `module` is installed, the unit imports
// `module`, under `condition` when there is one: a module that does its
// work only through what it registers at start-up, so that the program
// names nothing it declares.
struct SymbolRule {
  Text word;       // as written, e.g. "EArchiveFormat.ZIP"
  Text module;     // as written, e.g. "Archive.ZIP"
  Text condition;  // e.g. "Linux"; empty: wherever the word stands
  Text reason;     // e.g. "plug-in for CreateHTMLView on Linux"
  RuleOrigin origin = {};

  bool operator==(const SymbolRule&) const = default;
};

// A graphics driver a template puts on the Framework line.
struct DriverTemplate {
  Text module;             // e.g. "BRL.GLMax2D"
  Text line;               // e.g. "SetGraphicsDriver GLMax2DDriver()"
  Text note;               // shown under the block that uses it, or empty
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
// chose is kept. The first member is the usual choice. A family may serve
// an interface module, such as Random.Core for the random generators: a
// unit that lists the interface and holds no member (listed, or imported by
// a listed module) gets the first member, its default, for `reason`.
struct ModuleFamily {
  Text name;                  // e.g. "max2d-drivers"; empty for an `implementation` line
  TextList members;           // as written
  Text interfaceModule = {};  // as written, e.g. "Random.Core"; empty: none
  Text reason = {};           // e.g. "implementation of BRL.Timer"
  RuleOrigin origin = {};

  bool operator==(const ModuleFamily&) const = default;
};

using ModuleFamilies = std::vector<ModuleFamily>;

// A module listed under another name: the classic rules list BRL.Audio's
// commands as BRL.FreeAudioAudio, the driver a classic program imports.
struct ModuleRename {
  Text from;  // as written, e.g. "BRL.Audio"
  Text to;    // as written, e.g. "BRL.FreeAudioAudio"
  RuleOrigin origin = {};

  bool operator==(const ModuleRename&) const = default;
};

// What a program is seen to load, so that the loaders of that kind it may
// also need are offered.
enum class LoadKind { None, Images, Audio };

// A rule for modules that a program needs for the files it loads or the
// streams it opens, which no command of theirs names: a literal that ends in
// `text` (a file type such as ".png"), a literal that holds it (a stream
// protocol such as "http::"), or a whole word (such as "LoadImage").
struct LoaderRule {
  enum class Match { FileType, Stream, Word };
  Match match = Match::Word;
  Text text;    // lower case: ".png", "http::", "loadimage"
  Text module;  // as written; empty when the rule only notes what is loaded
  LoadKind loads = LoadKind::None;
  Text reason;  // for explanations; empty when the word or literal says it all
  RuleOrigin origin = {};

  bool operator==(const LoaderRule&) const = default;
};

struct RuleSet {
  std::vector<SymbolRule> symbols;
  TemplateRules templates;
  ModuleFamilies families;
  std::vector<LoaderRule> loaders;
  std::vector<ModuleRename> renames;
  // Offered as commented lines to a unit that loads images, or sounds, and
  // does not require them already.
  TextList imageLoaders;
  TextList audioLoaders;

  bool operator==(const RuleSet&) const = default;
};

struct RuleBook {
  RuleSet classic;
  RuleSet modern;

  const RuleSet& For(RuleSetKind kind) const {
    return kind == RuleSetKind::Modern ? modern : classic;
  }
  RuleSet& For(RuleSetKind kind) {
    return kind == RuleSetKind::Modern ? modern : classic;
  }

  bool operator==(const RuleBook&) const = default;
};

// Adds the rules of one file, its UTF-8 `text`, to `book`: symbol rules and
// the families of `implementation` lines are appended, template lines,
// families of a name read before, loader rules of the same kind and text
// and `loaders` lists replace the ones before (a family line without an
// interface module keeps that of the family it replaces). Returns the first fault as
// "FILE:LINE: what is wrong" (FILE is `fileName`), and then leaves `book` as it was.
Fault ReadRules(std::string_view text, TextView fileName, RuleBook& book,
                RuleSource source = RuleSource::User);

// The rules of the catalogue's set that can act on its installation (the
// classic set acts as it is, whatever is installed): a symbol rule whose
// module is installed, a template whose
// driver module is installed (the others are left without a module and so
// are not offered), a GUI module that is installed. Families stay whole.
RuleBook InstalledRules(const RuleBook& book, const CatalogueState& catalogue);

// One warning for each rule of the modern set, read from a file of the
// user's, that names a module the installation lacks: "FILE:LINE: BRL.X is
// not installed here; the rule is not used". Family members are
// alternatives and are not warned about (the module of an `implementation`
// line is); an empty catalogue gives none.
std::vector<Text> UninstalledRuleWarnings(const RuleBook& book,
                                          const CatalogueState& catalogue);

// The rules that ship with the program, as built in.
const RuleBook& BuiltInRules();

// The text of the rule file that ships with the program.
std::string_view BuiltInRulesText();

}  // namespace vt
