// The walk over a program's files: the Main file and, depth first in line
// order, every file and module that its Include and Import lines name.
#pragma once

#include <functional>

#include "analysis/source_records.h"
#include "base/text.h"
#include "platform/text_file_reader.h"

namespace vt {

// What a line of BlitzMax source is, as far as the two passes care.
enum class LineKind { Blank, Comment, RemStart, RemEnd, Remark, Directive, Code };

// Classifies a trimmed, lower-cased line. `inRem` is the caller's Rem
// state: set by a line whose first word is Rem, alone or followed by text
// ("Rem notes", "Rem:"), and cleared by an End Rem line.
LineKind ClassifyLine(TextView low, bool& inRem);
// ClassifyLine looks at no more than this many first units of a line
// ("end rem", "include", "rem" and the unit after it), so a caller may
// lower-case just those.
inline constexpr size_t kClassifiedLength = 7;

// Records the .bmx file `path` of `files` (a relative one from the current
// folder) with `kind` (Main, Include or Imported) in ScanListList
// unless it is there already, then follows its directives, each from the
// folder of the file that names it. The walk keeps one file open at a time
// and any depth of includes; a file that exists but finds no file handle
// free is listed and put in FilesNotRead.
void ScanFile(AnalysisState& analysis, const FileTree& files, TextView path, EntryKind kind);
// The same on the disk.
void ScanFile(AnalysisState& analysis, TextView path, EntryKind kind);

// Told of each file the walk lists, in the order of ScanListList, with the
// bytes it read (null when no file handle was free), so that a second pass
// can use them without reading the file again. Their lines are decoded only
// when the walk needed them (DecodeLinesOf).
using ListedFileVisitor = std::function<void(size_t entry, TextFileLines* lines)>;
void ScanFile(AnalysisState& analysis, const FileTree& files, TextView path, EntryKind kind,
              const ListedFileVisitor& visit);

// Follows one line of a file being walked if it is an Include or Import line.
void ScanDirectiveLine(AnalysisState& analysis, TextView line);

}  // namespace vt
