// The module source parser: a line-prefix recogniser that takes a
// module's commands, its declared name and its brl/pub imports from its
// sources into the record being filled.
#pragma once

#include <vector>

#include "base/text.h"
#include "platform/text_file_reader.h"
#include "catalogue/module_records.h"

namespace vt {

// Reads the source `name` of the absolute module folder `folder` into
// `module`; the files it imports in quotes are named from that folder too.
// A name that does not end in ".bmx" is skipped; a file that cannot be opened
// (a folder named *.bmx included) is skipped silently. Each path component that
// does not exist as written is found by its lower-cased name (`ResolvePathCase`),
// both for the main source and for the files imported in quotes. Each file
// is read at most once per call, so once per module record. True when the
// source `name` itself was read.
bool ParseModuleSource(modtype& module, TextView folder, TextView name);
bool ParseModuleSource(modtype& module, const FileTree& files, TextView folder, TextView name);
// The room of files already parsed, kept for the next parse: a scan over
// thousands of modules then allocates as much as one module needs.
struct ModuleParseRoom {
  std::vector<TextFileLines> spare;
};
bool ParseModuleSource(modtype& module, const FileTree& files, TextView folder, TextView name,
                       ModuleParseRoom& room);

// The function name cut out of `low`, a trimmed, lower-cased line beginning
// with "function": from the character after the first blank (or the start of
// the line when there is none) over the following characters of
// "abcdefghijklmnopqrstuvwxyz0123456789_". May be empty.
Text ExtractFunctionName(TextView low);

}  // namespace vt
