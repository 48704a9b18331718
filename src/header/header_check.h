// Acting on the suggestion: whether each unit's header matches the chosen
// framework block (check), the edit that would make it match (diff), and
// that edit made on disk (write). Every source unit of the block is one
// file: the main file and each file reached through a quoted Import.
#pragma once

#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include "analysis/present_header.h"
#include "analysis/rule_book.h"
#include "analysis/suggestion.h"
#include "header/header_edit.h"
#include "catalogue/module_records.h"
#include "platform/file_tree.h"

namespace vt {

// Why the analysis wants a module in a unit (the word and where it stands),
// or an empty reason; shown after a missing module.
using ModuleReasons = std::function<Reason(TextView unitPath, TextView module)>;

struct HeaderJob {
  const Suggestion& suggestion;
  const CatalogueState& catalogue;
  // The installation's mod folder: nothing in it is ever written.
  Text modFolder;
  // File names are shown relative to it.
  Text currentFolder;
  // 1-based framework block; 0 picks the block whose Framework is the one
  // the main file names, else the first.
  size_t templateNumber = 0;
  ModuleReasons reasons;
  // Under the modern rules, imports inside platform sections are header.
  SectionImports sections = SectionImports::Ignore;
  // When given: the files an earlier job of the same run looked at, which
  // are left out; the files of this job are added.
  std::unordered_set<Text>* handled = nullptr;
  // Modules (lower-cased) whose Import lines are kept as if marked
  // "veltrane: keep".
  std::unordered_set<Text> keep = {};
  // The families of the rule set in force: a member the header names stands
  // for the one the block wants.
  ModuleFamilies families = {};
  // Where the files' headers are read (an editor's buffers over the disk);
  // the disk when null. A write reads the disk again and edits only what
  // it judged.
  const FileTree* files = nullptr;
};

enum class HeaderStatus {
  Done,
  BadTemplate,  // no framework block of that number
  NoUnits,      // the analysis found no source unit to look at
};

// One difference between a file's header and the block, as --check
// reports it; or a note (NotInstalled) that is no difference.
struct HeaderFinding {
  Text file;  // as shown: relative to the current folder
  HeaderDifference difference;
  Reason reason;  // for a missing module; empty otherwise
  Text text;      // the line --check prints, without its ending

  // A note says something about a header that may well match.
  bool IsNote() const { return difference.kind == HeaderDifferenceKind::NotInstalled; }
};

// One change of a file's lines: `removed` lines from 1-based `line` on go,
// and `inserted` come in their place (at `line`, when none go).
struct LineReplacement {
  size_t line = 1;
  size_t removed = 0;
  std::vector<Text> inserted;
};

// The edit of one file as line ranges, for an editor to apply.
struct FileEdit {
  Text file;  // as shown
  std::vector<LineReplacement> replacements;
};

struct HeaderResult {
  HeaderStatus status = HeaderStatus::Done;
  // The 1-based framework block the job went by (the one it picked, when
  // asked to); 0 when there was none.
  size_t block = 0;
  // Standard output: the differences, or the diff.
  std::string output;
  // The same as data: the differences and notes (check) and the edits
  // (diff).
  std::vector<HeaderFinding> findings;
  std::vector<FileEdit> edits;
  // What was written, one line each ("Wrote ...", or that every header
  // matches): progress that --quiet silences.
  std::vector<Text> written;
  // Files that need an edit but are left alone, with the reason.
  std::vector<Text> messages;
  // What failed, one line each: a file that could not be read, edited or
  // written. A failed file is left as it was.
  std::vector<Text> errors;
  // The files (as shown) whose lines could not be read, as data.
  std::vector<Text> unreadable;
  // Some unit differs (check), would change (diff), or still differs after
  // the write because it was left alone.
  bool differs = false;
};

// The edit of one file as line ranges.
std::vector<LineReplacement> Replacements(const TextLines& before, const HeaderEdit& edit);

// One line per difference, "file:line: missing Import BRL.X" and the like.
HeaderResult CheckHeaders(const HeaderJob& job);

// A unified diff of every file the edit would change. Files that may not
// be written are named in the messages instead.
HeaderResult DiffHeaders(const HeaderJob& job);

// Makes the edit: each changed file is replaced atomically. With
// `keepBackup`, NAME.bak keeps the file as it was before its first edit: one
// that exists already is never written over. A file that changed on disk
// since it was read, lies outside the main file's folder tree or in the mod
// folder, or cannot hold the new lines, is left alone.
HeaderResult WriteHeaders(const HeaderJob& job, bool keepBackup);

}  // namespace vt
