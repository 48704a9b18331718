// What an examination notes down so that its suggestion can say why: where
// each word first stands, what called for each module, and the directives
// whose file the walk could not read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "base/position_set.h"
#include "base/text.h"

namespace vt {

// A line of a walked file: the file's index in ScanListList, and the line,
// counted from 1.
struct SourcePlace {
  size_t entry = 0;
  int32_t line = 0;
};

// Where an entry of a record's `words` first stands, and how it is written
// there (case kept; a literal with its opening quote).
struct WordSite {
  SourcePlace place;
  Text spelling;
};

// Whether an examination notes down why (the places of words, the causes of
// modules). Only explanations read the notes; a suggestion shown without
// them need not pay for them.
enum class CauseNotes { Keep, Skip };

enum class CauseKind {
  Command,      // the word is a command the module declares
  WordRule,     // a loader rule for the word (incbin, loadimagefont, ...)
  LiteralRule,  // a loader rule for the literal (file type, http::)
  ImagesUsed,   // the word or literal that first showed images are loaded
  AudioUsed,    // ... or sounds
  Implementation,  // a family default or a symbol rule
  // For the three kinds of rule, `declaredBy` holds the rule's reason.
};

// What made a module enter a record's `modules` or `optionalModules`.
struct ModuleCause {
  size_t word = 0;  // index into the record's `words`
  CauseKind kind = CauseKind::Command;
  // For a command: the module that declares it, as the catalogue names it,
  // when that differs from the name listed (the listing renames it); else
  // empty.
  Text declaredBy;
  // For a module listed in a platform section for a word that stands
  // elsewhere (a command declared only under a condition): that word and
  // its place, since `word` then counts no word of the section. Shared, as
  // most causes have none and copies of a record need no copy of it.
  std::shared_ptr<const WordSite> site = nullptr;
};

// A record's causes by the lower-cased name of the module each brought in,
// the first noted for each, in the order noted. Flat, with the names in one
// text: the records of a large program note tens of thousands, and a map's
// nodes and names would cost several times what the causes hold.
class CauseMap {
 public:
  // Notes `cause` for `key` unless one is noted for it; false then.
  bool TryNote(TextView key, ModuleCause cause);
  const ModuleCause* Find(TextView key) const;
  bool Contains(TextView key) const { return Find(key) != nullptr; }
  size_t size() const { return causes_.size(); }
  bool empty() const { return causes_.empty(); }
  TextView KeyAt(size_t at) const {
    return TextView(keys_).substr(places_[at].start, places_[at].length);
  }
  const ModuleCause& operator[](size_t at) const { return causes_[at]; }
  ModuleCause& operator[](size_t at) { return causes_[at]; }
  // Gives back the room the lists grew into: a matched record's causes
  // change no more.
  void ShrinkToFit();

 private:
  struct KeyPlace {
    uint32_t start = 0;
    uint32_t length = 0;
  };
  Text keys_;
  std::vector<KeyPlace> places_;
  std::vector<ModuleCause> causes_;
  PositionSet index_;
};

// What brought an entry into the walk: the file examined, a file named by
// an Include or a quoted Import line, or a module named by an Import line.
enum class EntryKind { Main, Include, Imported, Module };

// The entry's kind as the page and the JSON name it: "Main", "Include",
// "Imported" or "MOD".
TextView EntryKindName(EntryKind kind);

enum class WalkProblem { NotFound, IsFolder, Unreadable };

// An Include or Import line naming a .bmx file that the walk could not read.
struct WalkWarning {
  Text file;         // full path of the file holding the line
  int32_t line = 0;  // counted from 1
  EntryKind kind = EntryKind::Include;  // Include or Imported
  Text name;         // the file as the line names it
  WalkProblem problem = WalkProblem::NotFound;

  bool operator==(const WalkWarning&) const = default;
};

// The warning's text, without its place: `Include file not found: "a.bmx"`.
Text WarningMessage(const WalkWarning& warning);

// `file:line: warning: message`, the file relative to `folder`: the form
// that editors and terminals make clickable.
Text WarningLine(const WalkWarning& warning, TextView folder);

}  // namespace vt
