// The command pass: cutting the code lines of the walked files into words
// and literals, one record per Main or Imported file, each Include file's
// feeding the record of the unit it belongs to.
#pragma once

#include <cstdint>
#include <vector>

#include "analysis/program_scopes.h"
#include "analysis/source_records.h"
#include "analysis/word_span.h"
#include "platform/file_tree.h"
#include "platform/text_file_reader.h"

namespace vt {

// The room the cut of one line needs, kept for the next: a large program has
// hundreds of thousands of lines.
struct LineScratch {
  Text low;
  std::vector<WordSpan> spans;
  // How each span stands in the program's scopes (modern rules).
  std::vector<uint32_t> uses;
};

// Where the command pass stands between lines and between files. An
// unclosed Rem block carries over into the files read after it, and so do
// the program's declarations; a platform section ends with its file.
struct CommandPassState {
  bool inRem = false;
  // The condition of the platform section the pass is in, and its key,
  // worked out once per "?" line: what is left of the condition once the
  // modern rules are known to hold, empty outside any section and in one
  // that always holds ("?bmxng").
  Text section;
  Text sectionKey;
  // In a section that never holds ("?Not bmxng"), whose lines add no words.
  bool sectionNeverHolds = false;
  // The program's own declarations, read under the modern rules.
  ProgramScopes scopes;
  // The walk's entry being read, and the analysis' TotalLines before its
  // first line: the place of each word.
  size_t entry = 0;
  int32_t lineBase = 0;
  LineScratch scratch;

  // The line just counted, in the entry being read.
  SourcePlace Here(const AnalysisState& analysis) const {
    return {entry, analysis.TotalLines - lineBase};
  }
};

// Reads the walked file `path` of `kind` from `files` into `file` (whose
// room a pass over many files reuses), counting its lines and collecting
// its words. Main and Imported files get a record of their own; an Include
// file feeds `current`, the record of the unit it belongs to (null before
// any). Module entries are no files. Returns the record that the files
// after this one feed.
sourcemodtype* ScanFileCommands(AnalysisState& analysis, CommandPassState& pass,
                                const FileTree& files, TextView path, EntryKind kind,
                                sourcemodtype* current, TextFileLines& file);
// The same on the disk, as the first file of a pass.
sourcemodtype* ScanFileCommands(AnalysisState& analysis, TextView path, EntryKind kind,
                                sourcemodtype* current);
// The same for the walked file's `lines`, already read.
sourcemodtype* ScanFileLines(AnalysisState& analysis, CommandPassState& pass, TextView path,
                             EntryKind kind, sourcemodtype* current, const TextFileLines& lines);

// Counts one line and, for a code line, hands its words and literals to
// `record` (if there is one).
void ScanCommandLine(AnalysisState& analysis, CommandPassState& pass, sourcemodtype* record,
                     TextView line);

// The condition of a trimmed line "?Win32 ' comment" as written ("Win32");
// empty for a line that ends a platform section.
Text SectionCondition(TextView trimmed);

// Cuts a trimmed, lower-cased code line into words and literals, in order.
TextList CutWords(TextView low);

// The same cut, as places in the line, so that a word can be found again as
// it is written.
std::vector<WordSpan> CutWordSpans(TextView low);
// The same into `words`, emptied first.
void CutWordSpans(TextView low, std::vector<WordSpan>& words);

}  // namespace vt
