// What each unit's header should become, worked out from the suggestion
// without writing anything: the bytes judged, the header there, the one the
// chosen framework block wants, the edit between them, the differences, and
// whether the file may be written. Every source unit of the block is one
// file: the main file and each file reached through a quoted Import. The
// plan is data only; the words for it are the renderers'.
#pragma once

#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include "analysis/present_header.h"
#include "analysis/rule_book.h"
#include "analysis/suggestion.h"
#include "catalogue/module_records.h"
#include "header/header_edit.h"
#include "platform/file_tree.h"

namespace vt {

// Why the analysis wants a module in a unit (the word and where it stands),
// or an empty reason; shown after a missing module.
using ModuleReasons = std::function<Reason(TextView unitPath, TextView module)>;

struct FilePlan;

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
  // When given: units, by the path their box names, whose plans the caller
  // has already; left out, without a look at the disk. The saving, which
  // only every box can tell, is then the caller's to work out.
  const std::unordered_set<Text>* planned = nullptr;
  // Modules (lower-cased) whose Import lines are kept as if marked
  // "veltrane: keep".
  std::unordered_set<Text> keep = {};
  // The families of the rule set in force: a member the header names stands
  // for the one the block wants.
  ModuleFamilies families = {};
  // Where the files' headers are read (an editor's buffers over the disk);
  // the disk when null. A write reads the disk again and edits only what
  // was judged.
  const FileTree* files = nullptr;
  // When not 0: the block the caller planned with last time; a plan that
  // picks another stops after the main file, which the caller plans again
  // from scratch.
  size_t expectedBlock = 0;
  // When given: called with each unit's plan but the main file's as soon as
  // it is judged, before the next is read. It may let go of what it no
  // longer needs of the plan: a program of a thousand units would otherwise
  // hold every unit's text and edit at once.
  std::function<void(FilePlan&)> judged = {};
};

enum class HeaderStatus {
  Done,
  BadTemplate,  // no framework block of that number
  NoUnits,      // the analysis found no source unit to look at
};

// One difference between a file's header and the block; or a note
// (NotInstalled) that is no difference.
struct HeaderFinding {
  Text file;  // as shown: relative to the current folder
  HeaderDifference difference;
  Reason reason;  // for a missing module; empty otherwise

  // A note says something about a header that may well match.
  bool IsNote() const { return difference.kind == HeaderDifferenceKind::NotInstalled; }
};

// Why a file may not be written. The first that holds counts, in this order.
enum class WriteRefusal {
  None,
  Unreadable,    // its bytes could not be read
  CannotEncode,  // its encoding cannot hold a wanted line (HeaderEdit::unencodable)
  InModFolder,   // it lies in the installation's mod folder
  OutsideTree,   // it lies outside the main file's folder tree
};

struct FilePlan {
  Text path;   // as read
  Text shown;  // relative to the current folder
  // The bytes judged, and the same as lines: a write replaces exactly these.
  std::string bytes;
  TextLines lines;
  PresentHeader present;
  // The header the block wants and the edit that puts it in place; both
  // empty when the present one matches.
  std::vector<WantedLine> wanted;
  HeaderEdit edit;
  // Whether the edit changes any byte.
  bool changes = false;
  // The differences, then the notes.
  std::vector<HeaderFinding> findings;
  WriteRefusal refusal = WriteRefusal::None;

  bool Readable() const { return refusal != WriteRefusal::Unreadable; }
  bool Differs() const;
  // An edit to make that may be made.
  bool ToWrite() const { return changes && refusal == WriteRefusal::None; }
  // An edit to make that may not be: the header still differs after a write.
  bool LeftAlone() const { return changes && refusal != WriteRefusal::None; }
};

// Without a Framework line a program imports every module of the brl and pub
// collections; with the block's, only those it names and what they import.
struct FrameworkSaving {
  size_t dropped = 0;
  size_t importedNow = 0;
};

struct HeaderPlan {
  HeaderStatus status = HeaderStatus::Done;
  // The 1-based framework block the plan went by (the one it picked, when
  // asked to); 0 when there was none.
  size_t block = 0;
  // What was asked for and what there was, for a BadTemplate status.
  size_t askedBlock = 0;
  size_t blockCount = 0;
  Text currentFolder;
  std::vector<FilePlan> files;
  FrameworkSaving saving;

  // Some readable file's header differs from the block.
  bool Differs() const;
  // Some file needs an edit that may not be made.
  bool LeavesDifferences() const;
  const FilePlan* Find(TextView shown) const;
};

// What a Framework line with the modules of `boxes` (a block's) would let
// the program drop.
FrameworkSaving SavingOf(const std::vector<const CodeBox*>& boxes, const CatalogueState& catalogue);

// Reads each unit (from `job.files` when given) and judges its header. A
// header the check finds right gets no edit, so that check, diff and write
// always agree. Adds the files planned to `job.handled`.
HeaderPlan PlanHeaders(const HeaderJob& job);

}  // namespace vt
