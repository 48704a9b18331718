// The module source parser: a line-prefix recogniser that takes a
// module's commands, its declared name and its brl/pub imports from its
// sources into the record being filled.
#pragma once

#include <vector>

#include "base/text.h"
#include "platform/text_file_reader.h"
#include "catalogue/module_records.h"

namespace vt {

// Reads the source at `path` (relative to the current folder, which is the
// module folder during a scan, or absolute) into `module`.
// A path that does not end in ".bmx" is skipped; a file that cannot be opened
// (a folder named *.bmx included) is skipped silently. Each path component that
// does not exist as written is found by its lower-cased name (`ResolvePathCase`),
// both for the main source and for the files imported in quotes. Each file
// is read at most once per call, so once per module record. True when the
// source at `path` itself was read.
bool ParseModuleSource(modtype& module, TextView path);
// The room of files already parsed, kept for the next parse: a scan over
// thousands of modules then allocates as much as one module needs.
struct ModuleParseRoom {
  std::vector<TextFileLines> spare;
};
bool ParseModuleSource(modtype& module, TextView path, ModuleParseRoom& room);

// The function name cut out of `low`, a trimmed, lower-cased line beginning
// with "function": from the character after the first blank (or the start of
// the line when there is none) over the following characters of
// "abcdefghijklmnopqrstuvwxyz0123456789_". May be empty.
Text ExtractFunctionName(TextView low);

// `path` made absolute against the current folder, with "/" separators and
// without empty, "." and ".." components (a ".." at the root stays at the
// root). The key by which the parser tells files apart.
Text AbsoluteNormalPath(TextView path);

}  // namespace vt
