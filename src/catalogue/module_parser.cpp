#include "catalogue/module_parser.h"

#include <algorithm>
#include <memory>
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

// The files that the current chain of nested parses is reading, outermost
// first, as absolute normalised paths.
using ParseChain = std::vector<Text>;

void ParseFile(modtype& module, TextView path, ParseChain& chain);

// Handles one line of a parse; `inType`, `inRemark` and `inPrivate` are the
// flags of that parse.
void HandleLine(modtype& module, ParseChain& chain, const Text& raw, bool& inType,
                bool& inRemark, bool& inPrivate) {
  Text line = Trim(raw);
  Text low = Lower(line);

  if (StartsWith(low, u"type")) inType = true;
  if (StartsWith(low, u"rem")) inRemark = true;
  if (StartsWith(low, u"private")) inPrivate = true;
  if (StartsWith(low, u"endtype") || StartsWith(low, u"end type")) inType = false;
  if (StartsWith(low, u"endrem") || StartsWith(low, u"end rem")) inRemark = false;
  if (StartsWith(low, u"public")) inPrivate = false;
  if (inType || inRemark || inPrivate) return;

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
      Text quoted = q > 0 ? low.substr(p, q - 1 - p) : Text();
      ParseFile(module, quoted, chain);
      return;
    }
    if (low.size() >= 11) {
      TextView collection = TextView(low).substr(7, 4);
      if (collection == u"brl." || collection == u"pub.") {
        module.imports.push_back(low.substr(7));
      }
    }
  }
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

void ParseFile(modtype& module, TextView path, ParseChain& chain) {
  if (!EndsWith(path, u".bmx")) return;

  Text found = ResolvePathCase(path);
  Text key = AbsoluteNormalPath(found);
  if (std::find(chain.begin(), chain.end(), key) != chain.end()) return;

  bool inType = false, inRemark = false, inPrivate = false;
  std::unique_ptr<TextStream> stream = TextFileReader::OpenTextFile(found, true, 0);
  if (!stream) return;

  // The file stays in the chain while it is read, also if reading throws.
  struct ChainEntry {
    std::vector<Text>& chain;
    ChainEntry(std::vector<Text>& c, Text k) : chain(c) { chain.push_back(std::move(k)); }
    ~ChainEntry() { chain.pop_back(); }
  } entry(chain, key);
  while (!stream->AtEnd()) {
    Text raw = ReadTextLine(*stream);
    HandleLine(module, chain, raw, inType, inRemark, inPrivate);
  }
  stream->Close();
}

}  // namespace

void ParseModuleSource(modtype& module, TextView path) {
  ParseChain chain;
  ParseFile(module, path, chain);
}

}  // namespace vt
