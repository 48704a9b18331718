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

// The name of the type that `low`, a line opening a type block, declares:
// after "type" and any blanks and tabs, the run of function-name characters.
Text ExtractTypeName(TextView low) {
  size_t start = 4;
  while (start < low.size() && (low[start] == u' ' || low[start] == u'\t')) ++start;
  size_t stop = start;
  while (stop < low.size() && kFunctionNameChars.find(low[stop]) != TextView::npos) ++stop;
  return Text(low.substr(start, stop - start));
}

// Handles one line of `frame`. Returns the file a quoted Import line names
// (possibly empty), which the caller parses next; otherwise null.
std::optional<Text> HandleLine(modtype& module, TextView raw, ParseFrame& frame) {
  bool& inType = frame.inType;
  bool& inRemark = frame.inRemark;
  bool& inPrivate = frame.inPrivate;
  TextView line = TrimView(raw);
  LowerInto(frame.low, line);
  const Text& low = frame.low;

  if (inRemark) {
    // Documentation text such as "Private fields are..." opens nothing.
    if (StartsWith(low, u"endrem") || StartsWith(low, u"end rem")) inRemark = false;
  } else {
    if (StartsWithKeyword(low, u"type")) {
      // Only a public, top-level type; one opened inside another block is not.
      if (!inType && !inPrivate) {
        Text name = ExtractTypeName(low);
        if (!name.empty()) module.types.push_back(std::move(name));
      }
      inType = true;
    }
    if (StartsWithKeyword(low, u"rem")) inRemark = true;
    // Private and Public inside a type are the type's own sections.
    bool typeOpen = inType;
    if (!typeOpen && StartsWithKeyword(low, u"private")) inPrivate = true;
    if (StartsWith(low, u"endtype") || StartsWith(low, u"end type")) inType = false;
    if (StartsWith(low, u"endrem") || StartsWith(low, u"end rem")) inRemark = false;
    if (!typeOpen && StartsWithKeyword(low, u"public")) inPrivate = false;
  }
  if (inType || inRemark || inPrivate) return std::nullopt;

  if (StartsWith(low, u"function")) {
    module.commands.push_back(ExtractFunctionName(low));
  }
  if (StartsWith(low, u"module ")) {
    module.declaredName = line.substr(7);
  }
  if (StartsWith(low, u"import")) {
    size_t p = Instr(low, u"\"", 1);
    if (p > 0) {
      size_t q = Instr(low, u"\"", p + 1);
      return q > 0 ? low.substr(p, q - 1 - p) : Text();
    }
    if (low.size() >= 11) {
      TextView collection = TextView(low).substr(7, 4);
      if (collection == u"brl." || collection == u"pub.") {
        module.imports.push_back(low.substr(7));
      }
    }
  }
  return std::nullopt;
}

}  // namespace

Text AbsoluteNormalPath(TextView path) {
  return NormalisePath(AnchorPath(path, CurrentFolder()));
}

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

// The files a module's parse has read, told apart by absolute path. The
// current folder is asked only once a second file comes: most modules import
// nothing in quotes, and asking costs a system call.
class ParsedFiles {
 public:
  bool Holds(const Text& found) {
    if (!first_) return false;
    KeyFirst();
    return keys_.count(Key(found)) > 0;
  }
  void Add(const Text& found) {
    if (!first_) {
      first_ = found;
      return;
    }
    KeyFirst();
    keys_.insert(Key(found));
  }

 private:
  Text Key(const Text& found) {
    if (!folderKnown_) {
      folder_ = CurrentFolder();
      folderKnown_ = true;
    }
    return NormalisePath(AnchorPath(found, folder_));
  }
  void KeyFirst() {
    if (keys_.empty()) keys_.insert(Key(*first_));
  }

  std::optional<Text> first_;
  Text folder_;
  bool folderKnown_ = false;
  std::unordered_set<Text> keys_;
};

// Reads the .bmx file at `path` into `frame` unless `parsed` holds it already.
// A file that several sources of the module import (or one that imports its
// importer) would otherwise add its commands again, or never stop.
bool LoadFrame(TextView path, ParsedFiles& parsed, ParseFrame& frame) {
  if (!EndsWith(path, u".bmx")) return false;
  Text found = ResolvePathCase(path);
  if (parsed.Holds(found)) return false;
  ReadTextFileLines(found, frame.lines);
  if (frame.lines.outcome != ReadOutcome::Read) return false;
  parsed.Add(found);
  return true;
}

}  // namespace

bool ParseModuleSource(modtype& module, TextView path) {
  // Each file once per module record; the files being parsed, innermost
  // last, on an explicit stack so that no chain of imports is too deep.
  ParsedFiles parsed;
  std::vector<ParseFrame> stack(1);
  if (!LoadFrame(path, parsed, stack.back())) return false;
  while (!stack.empty()) {
    ParseFrame& frame = stack.back();
    if (frame.next == frame.lines.LineCount()) {
      stack.pop_back();
      continue;
    }
    std::optional<Text> imported = HandleLine(module, frame.lines.Line(frame.next++), frame);
    if (!imported) continue;
    ParseFrame child;
    if (LoadFrame(*imported, parsed, child)) stack.push_back(std::move(child));
  }
  return true;
}

}  // namespace vt
