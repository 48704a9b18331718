#include "catalogue/module_parser.h"

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "base/paths.h"
#include "catalogue/module_records.h"
#include "catalogue/path_case.h"
#include "catalogue/text_file_reader.h"
#include "platform/file_system.h"

namespace vt {

namespace {

constexpr TextView kFunctionNameChars = u"abcdefghijklmnopqrstuvwxyz0123456789_";

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

// Handles one line of a parse; `inType`, `inRemark` and `inPrivate` are the
// flags of that parse.
void HandleLine(const Text& raw, bool& inType, bool& inRemark, bool& inPrivate) {
  modtype* module = Catalogue.CurrentModule;
  Text line = Trim(raw);
  Text low = Lower(line);

  if (inRemark) {
    // Documentation text such as "Private fields are..." opens nothing.
    if (StartsWith(low, u"endrem") || StartsWith(low, u"end rem")) inRemark = false;
  } else {
    if (StartsWithKeyword(low, u"type")) {
      // Only a public, top-level type; one opened inside another block is not.
      if (!inType && !inPrivate && module) {
        Text name = ExtractTypeName(low);
        if (!name.empty()) module->types.push_back(std::move(name));
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
  if (inType || inRemark || inPrivate) return;

  if (StartsWith(low, u"function")) {
    if (module) module->commands.push_back(ExtractFunctionName(low));
  }
  if (StartsWith(low, u"module ")) {
    if (module) module->declaredName = line.substr(7);
  }
  if (StartsWith(low, u"import")) {
    size_t p = Instr(low, u"\"", 1);
    if (p > 0) {
      size_t q = Instr(low, u"\"", p + 1);
      Text quoted = q > 0 ? low.substr(p, q - 1 - p) : Text();
      ParseModuleSource(quoted);
      return;
    }
    if (low.size() >= 11) {
      TextView collection = TextView(low).substr(7, 4);
      if (collection == u"brl." || collection == u"pub.") {
        if (module) module->imports.push_back(low.substr(7));
      }
    }
  }
}

}  // namespace

Text AbsoluteNormalPath(TextView path) {
  Text full = AnchorPath(path, CurrentFolder());
  // The root: "/" or a drive such as "C:" followed by "/".
  Text root;
  size_t start = 0;
  if (full.size() >= 2 && full[1] == u':') {
    root = full.substr(0, 2) + u"/";
    start = 2;
  } else if (!full.empty() && full[0] == u'/') {
    root = u"/";
  }
  std::vector<Text> parts;
  Text part;
  for (size_t i = start; i <= full.size(); ++i) {
    if (i == full.size() || full[i] == u'/') {
      if (part == u"..") {
        if (!parts.empty()) parts.pop_back();
      } else if (!part.empty() && part != u".") {
        parts.push_back(part);
      }
      part.clear();
    } else {
      part += full[i];
    }
  }
  Text result = root;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) result += u'/';
    result += parts[i];
  }
  return result;
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

void ParseModuleSource(TextView path) {
  if (!EndsWith(path, u".bmx")) return;

  Text found = ResolvePathCase(path);
  Text key = AbsoluteNormalPath(found);
  // A file that several sources of the module import (or one that imports its
  // importer) would otherwise add its commands again, or never stop.
  if (Catalogue.ParsedSources.count(key) > 0) return;

  bool inType = false, inRemark = false, inPrivate = false;
  std::unique_ptr<TextStream> stream = TextFileReader::OpenTextFile(found, true, 0);
  if (!stream) return;

  Catalogue.ParsedSources.insert(std::move(key));
  while (!stream->AtEnd()) {
    Text raw = ReadTextLine(*stream);
    HandleLine(raw, inType, inRemark, inPrivate);
  }
  stream->Close();
}

}  // namespace vt
