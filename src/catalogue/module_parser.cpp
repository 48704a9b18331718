#include "catalogue/module_parser.h"

#include <memory>
#include <optional>
#include <unordered_set>
#include <utility>
#include <vector>

#include "base/paths.h"
#include "catalogue/module_records.h"
#include "platform/path_case.h"
#include "platform/text_file_reader.h"
#include "platform/file_system.h"

namespace vt {

namespace {

constexpr TextView kFunctionNameChars = u"abcdefghijklmnopqrstuvwxyz0123456789_";

// One file being parsed: its lines, read whole so that no file stays open
// while the files it imports are parsed, and the flags of its own parse.
struct ParseFrame {
  TextFileLines lines;
  size_t next = 0;
  bool inType = false;
  bool inRemark = false;
  bool inPrivate = false;
  // The platform section the line stands in, numbered as modtype::sections
  // (0: none). Each file starts outside any.
  uint16_t section = 0;
  // The lower-cased line being handled, kept for its room.
  Text low;
};

// True when `low` begins with `keyword` as a whole word, so that body lines
// such as "RemoveHook h" or "typeCode = 1" open no block.
bool StartsWithKeyword(TextView low, TextView keyword) {
  if (!StartsWith(low, keyword)) return false;
  return low.size() == keyword.size() ||
         kFunctionNameChars.find(low[keyword.size()]) == TextView::npos;
}

bool IsBlankOrTab(char16_t c) { return c == u' ' || c == u'\t'; }

// The blocks that only the modern distribution declares. On the classic one
// these words are ordinary names ("enum._link=_head._succ" in a method body),
// so a line opens one only when a blank and then a name follow the keyword.
constexpr TextView kModernBlocks[] = {u"struct", u"interface", u"enum"};

// The length of the keyword of `low` when it opens a Struct, Interface or
// Enum block; 0 when it does not.
size_t ModernBlockKeyword(TextView low) {
  for (TextView keyword : kModernBlocks) {
    if (!StartsWith(low, keyword)) continue;
    size_t at = keyword.size();
    if (at >= low.size() || !IsBlankOrTab(low[at])) return 0;
    while (at < low.size() && IsBlankOrTab(low[at])) ++at;
    if (at < low.size() && ((low[at] >= u'a' && low[at] <= u'z') || low[at] == u'_')) {
      return keyword.size();
    }
    return 0;
  }
  return 0;
}

bool ClosesBlock(TextView low) {
  for (TextView keyword : {TextView(u"type"), TextView(u"struct"), TextView(u"interface"),
                           TextView(u"enum")}) {
    if (StartsWith(low, u"end") && StartsWith(low.substr(3), keyword)) return true;
    if (StartsWith(low, u"end ") && StartsWith(low.substr(4), keyword)) return true;
  }
  return false;
}

// "?bmxng" marks code for the modern distribution only.
bool IsModernOnlySection(TextView low) {
  return StartsWithKeyword(low, u"?bmxng");
}

// The number (as modtype::sections counts) of the section that the trimmed
// line "?condition ' comment" opens; 0 for a "?" alone, which ends one. A
// module with more sections than the numbers hold keeps the last ones
// unconditional.
uint16_t SectionNumber(modtype& module, TextView line) {
  TextView condition = line.substr(1);
  condition = TrimView(condition.substr(0, condition.find(u'\'')));
  if (condition.empty()) return 0;
  for (size_t at = 0; at < module.sections.size(); ++at) {
    if (module.sections[at] == condition) return static_cast<uint16_t>(at + 1);
  }
  if (module.sections.size() >= UINT16_MAX) return 0;
  module.sections.emplace_back(condition);
  return static_cast<uint16_t>(module.sections.size());
}

// Notes that entry `at` of a command or type list stands in `section`.
void NoteSection(std::vector<uint16_t>& sections, size_t at, uint16_t section) {
  if (section == 0 && sections.size() <= at) return;
  if (sections.size() <= at) sections.resize(at + 1, 0);
  sections[at] = section;
}

// Appends the names that `low`, a line starting with the keyword "const",
// declares to the module's constants, in `section`: "const a:int = 1,
// b% = max(1, 2)" declares a and b. Each declaration runs to a comma outside
// parentheses, brackets and strings; a "'" outside a string starts a comment.
void AddConstants(modtype& module, TextView low, uint16_t section) {
  size_t at = 5;
  bool nameNext = true;
  bool inString = false;
  int depth = 0;
  while (at < low.size()) {
    char16_t c = low[at];
    if (nameNext) {
      while (at < low.size() && IsBlankOrTab(low[at])) ++at;
      size_t stop = at;
      while (stop < low.size() && kFunctionNameChars.find(low[stop]) != TextView::npos) ++stop;
      if (stop > at) {
        module.constants.emplace_back(low.substr(at, stop - at));
        NoteSection(module.constantSections, module.constants.size() - 1, section);
      }
      at = stop;
      nameNext = false;
      continue;
    }
    ++at;
    if (inString) {
      inString = c != u'"';
    } else if (c == u'"') {
      inString = true;
    } else if (c == u'\'') {
      return;
    } else if (c == u'(' || c == u'[') {
      ++depth;
    } else if ((c == u')' || c == u']') && depth > 0) {
      --depth;
    } else if (c == u',' && depth == 0) {
      nameNext = true;
    }
  }
}

// The name of the type that `low`, a line opening a type block, declares:
// after the keyword of `keywordLength` units and any blanks and tabs, the
// run of function-name characters.
Text ExtractTypeName(TextView low, size_t keywordLength) {
  size_t start = keywordLength;
  while (start < low.size() && (low[start] == u' ' || low[start] == u'\t')) ++start;
  size_t stop = start;
  while (stop < low.size() && kFunctionNameChars.find(low[stop]) != TextView::npos) ++stop;
  return Text(low.substr(start, stop - start));
}

// The module an unquoted Import line names, of any namespace: the name
// characters after "import" and its blanks, when they hold a "." inside.
Text ImportedModuleName(TextView low) {
  size_t start = 6;
  if (start >= low.size() || !IsBlankOrTab(low[start])) return Text();
  while (start < low.size() && IsBlankOrTab(low[start])) ++start;
  size_t stop = start;
  while (stop < low.size() &&
         (kFunctionNameChars.find(low[stop]) != TextView::npos || low[stop] == u'.')) {
    ++stop;
  }
  TextView name = low.substr(start, stop - start);
  size_t dot = name.find(u'.');
  if (dot == TextView::npos || dot == 0 || dot + 1 == name.size()) return Text();
  return Text(name);
}

// Follows the blocks a line opens or closes (Type and the modern blocks,
// Rem, Private and Public, platform sections) in `frame`.
void FollowBlocks(modtype& module, TextView line, const Text& low, ParseFrame& frame) {
  if (frame.inRemark) {
    // Documentation text such as "Private fields are..." opens nothing.
    if (StartsWith(low, u"endrem") || StartsWith(low, u"end rem")) frame.inRemark = false;
    return;
  }
  bool opensType = StartsWithKeyword(low, u"type");
  size_t block = opensType ? 4 : ModernBlockKeyword(low);
  if (block > 0) {
    if (!opensType && !frame.inType) module.modernSource = true;
    // Only a public, top-level type; one opened inside another block is not.
    if (!frame.inType && !frame.inPrivate) {
      Text name = ExtractTypeName(low, block);
      if (!name.empty()) {
        module.types.push_back(std::move(name));
        NoteSection(module.typeSections, module.types.size() - 1, frame.section);
      }
    }
    frame.inType = true;
  }
  if (IsModernOnlySection(low)) module.modernSource = true;
  if (low[0] == u'?') frame.section = SectionNumber(module, line);
  if (StartsWithKeyword(low, u"rem")) frame.inRemark = true;
  // Private and Public inside a type are the type's own sections.
  bool typeOpen = frame.inType;
  if (!typeOpen && StartsWithKeyword(low, u"private")) frame.inPrivate = true;
  if (ClosesBlock(low)) frame.inType = false;
  if (StartsWith(low, u"endrem") || StartsWith(low, u"end rem")) frame.inRemark = false;
  if (!typeOpen && StartsWithKeyword(low, u"public")) frame.inPrivate = false;
}

// An Import line: the file a quoted one names (possibly empty), which the
// caller parses next; a module one is noted and gives null.
std::optional<Text> FollowImport(modtype& module, const Text& low) {
  size_t p = Instr(low, u"\"", 1);
  if (p > 0) {
    size_t q = Instr(low, u"\"", p + 1);
    return q > 0 ? low.substr(p, q - 1 - p) : Text();
  }
  if (low.size() >= 11) {
    TextView collection = TextView(low).substr(7, 4);
    if (collection == u"brl." || collection == u"pub.") module.imports.push_back(low.substr(7));
  }
  if (Text name = ImportedModuleName(low); !name.empty()) {
    module.namedImports.push_back(std::move(name));
  }
  return std::nullopt;
}

// Handles one line of `frame`. Returns the file a quoted Import line names
// (possibly empty), which the caller parses next; otherwise null.
std::optional<Text> HandleLine(modtype& module, TextView raw, ParseFrame& frame) {
  TextView line = TrimView(raw);
  // Every word the parse looks for at the start of a line begins with one
  // of these letters: the other lines, most of a module's, change nothing.
  if (line.empty() || TextView(u"cCeEfFiImMpPrRsStT?").find(line[0]) == TextView::npos) {
    return std::nullopt;
  }
  LowerInto(frame.low, line);
  const Text& low = frame.low;
  FollowBlocks(module, line, low, frame);
  if (frame.inType || frame.inRemark || frame.inPrivate) return std::nullopt;

  if (StartsWith(low, u"function")) {
    module.commands.push_back(ExtractFunctionName(low));
    NoteSection(module.commandSections, module.commands.size() - 1, frame.section);
  }
  if (StartsWithKeyword(low, u"const")) AddConstants(module, low, frame.section);
  if (StartsWith(low, u"module ")) module.declaredName = line.substr(7);
  if (StartsWith(low, u"import")) return FollowImport(module, low);
  return std::nullopt;
}

}  // namespace

Text ExtractFunctionName(TextView low) {
  size_t start = Instr(low, u" ", 1);  // 1-based blank = 0-based index after it
  if (start >= low.size()) return Text();
  size_t stop = start + 1;
  while (stop < low.size() && kFunctionNameChars.find(low[stop]) != TextView::npos) {
    ++stop;
  }
  return Text(low.substr(start, stop - start));
}

namespace {

// The files a module's parse has read, told apart by absolute path.
class ParsedFiles {
 public:
  bool Holds(const Text& found) const { return keys_.count(NormalisePath(found)) > 0; }
  void Add(const Text& found) { keys_.insert(NormalisePath(found)); }

 private:
  std::unordered_set<Text> keys_;
};

// Reads the .bmx file `name` (relative to the absolute `folder`) into
// `frame` unless `parsed` holds it already. A file that several sources of
// the module import (or one that imports its importer) would otherwise add
// its commands again, or never stop.
bool LoadFrame(const FileTree& files, TextView folder, TextView name, ParsedFiles& parsed,
               ParseFrame& frame) {
  if (!EndsWith(name, u".bmx")) return false;
  // A plain name that opens as written is the name the case lookup would
  // give: every module's main source is one, and the lookup costs a status
  // call.
  if (name.find_first_of(u"/\\:") == TextView::npos) {
    Text asWritten = AnchorPath(name, folder);
    if (parsed.Holds(asWritten)) return false;
    ReadTextFileLines(files, asWritten, frame.lines);
    if (frame.lines.outcome == ReadOutcome::Read) {
      parsed.Add(asWritten);
      return true;
    }
  }
  Text found = AnchorPath(ResolvePathCase(files, name, folder), folder);
  if (parsed.Holds(found)) return false;
  ReadTextFileLines(files, found, frame.lines);
  if (frame.lines.outcome != ReadOutcome::Read) return false;
  parsed.Add(found);
  return true;
}

}  // namespace

bool ParseModuleSource(modtype& module, TextView folder, TextView name) {
  return ParseModuleSource(module, DiskFileTree(), folder, name);
}

bool ParseModuleSource(modtype& module, const FileTree& files, TextView folder, TextView name) {
  ModuleParseRoom room;
  return ParseModuleSource(module, files, folder, name, room);
}

bool ParseModuleSource(modtype& module, const FileTree& files, TextView folder, TextView name,
                       ModuleParseRoom& room) {
  // Each file once per module record; the files being parsed, innermost
  // last, on an explicit stack so that no chain of imports is too deep.
  ParsedFiles parsed;
  std::vector<ParseFrame> stack;
  auto push = [&] {
    stack.emplace_back();
    if (room.spare.empty()) return;
    stack.back().lines = std::move(room.spare.back());
    room.spare.pop_back();
  };
  auto pop = [&] {
    room.spare.push_back(std::move(stack.back().lines));
    stack.pop_back();
  };
  push();
  if (!LoadFrame(files, folder, name, parsed, stack.back())) {
    pop();
    return false;
  }
  while (!stack.empty()) {
    ParseFrame& frame = stack.back();
    if (frame.next == frame.lines.LineCount()) {
      pop();
      continue;
    }
    std::optional<Text> imported = HandleLine(module, frame.lines.Line(frame.next++), frame);
    if (!imported) continue;
    push();
    // Sources written on Windows separate folders with "\\" on every system.
    if (!LoadFrame(files, folder, ForwardSlashes(*imported), parsed, stack.back())) pop();
  }
  return true;
}

}  // namespace vt
