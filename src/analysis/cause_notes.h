// Small hooks through which the walk, the command pass and the matching
// note down why: the places of words, the causes of modules and the files
// that could not be read. They only ever add notes; the analysis itself
// does not depend on them.
#pragma once

#include "analysis/source_records.h"
#include "platform/file_system.h"

namespace vt {

// The word just appended to `record.words` stands at `place`, written as
// `spelling`.
void NoteWordSite(sourcemodtype& record, SourcePlace place, TextView spelling);

// Watches one word of a record while it is matched: each module appended
// since the last note was called for by this word, in the way given; so was
// a loader flag that went up. With CauseNotes::Skip it notes nothing.
class CauseWatch {
 public:
  CauseWatch(sourcemodtype& record, size_t word, CauseNotes notes = CauseNotes::Keep);
  void Note(CauseKind kind, TextView declaredBy = {});

 private:
  sourcemodtype& record_;
  size_t word_;
  size_t seen_;
  bool keep_;
};

// `loader`, if just offered to `record`, is there because of the word that
// set `flag` (ImagesUsed or AudioUsed).
void NoteOptionalCause(sourcemodtype& record, TextView loader, CauseKind flag);

// The walk could not enter the folder, of kind `folder`, of a file named
// `name` by the directive line at `at`.
void NoteUnreadFolder(AnalysisState& analysis, SourcePlace at, EntryKind kind, TextView name,
                      FileKind folder);
// The walk could not open the file `name`, of kind `file`.
void NoteUnreadFile(AnalysisState& analysis, SourcePlace at, EntryKind kind, TextView name,
                    FileKind file);

}  // namespace vt
