#include "analysis/cause_notes.h"

#include "base/paths.h"
#include "platform/file_system.h"

namespace vt {

namespace {

void NoteWarning(AnalysisState& analysis, SourcePlace at, EntryKind kind, TextView name,
                 WalkProblem problem) {
  // The Main file has no directive naming it; its failures are the caller's.
  if (kind == EntryKind::Main) return;
  if (at.entry >= analysis.ScanListList.size()) return;
  analysis.Warnings.push_back(
      {analysis.ScanListList[at.entry].path, at.line, kind, Text(name), problem});
}

}  // namespace

void NoteWordSite(sourcemodtype& record, SourcePlace place, TextView spelling) {
  // Words added some other way leave the two lists out of step for good.
  if (record.wordSites.size() + 1 != record.words.size()) return;
  record.wordSites.push_back({place, Text(spelling)});
}

CauseWatch::CauseWatch(sourcemodtype& record, size_t word, CauseNotes notes)
    : record_(record),
      word_(word),
      seen_(record.modules.size()),
      keep_(notes == CauseNotes::Keep) {}

void CauseWatch::Note(CauseKind kind, TextView declaredBy) {
  if (!keep_) return;
  // Matching only ever appends, so what lies past `seen_` is new.
  for (; seen_ < record_.modules.size(); ++seen_) {
    const Text& listed = record_.modules[seen_];
    bool renamed = kind != CauseKind::Command || !EqualFolded(declaredBy, listed);
    record_.causes.TryNote(Lower(listed),
                           ModuleCause{word_, kind, Text(renamed ? declaredBy : TextView())});
  }
  if (record_.imagesUsed && !record_.imagesWord) record_.imagesWord = word_;
  if (record_.audioUsed && !record_.audioWord) record_.audioWord = word_;
}

void NoteOptionalCause(sourcemodtype& record, TextView loader, CauseKind flag) {
  const std::optional<size_t>& word =
      flag == CauseKind::ImagesUsed ? record.imagesWord : record.audioWord;
  // Only a loader that was just offered: it is then the last one listed.
  if (!word || record.optionalModules.empty() ||
      record.optionalModules.back() != loader) {
    return;
  }
  record.optionalCauses.TryNote(Lower(loader), ModuleCause{*word, flag, Text()});
}

void NoteUnreadFolder(AnalysisState& analysis, SourcePlace at, EntryKind kind, TextView name,
                      FileKind folder) {
  bool exists = folder == FileKind::Folder;
  NoteWarning(analysis, at, kind, name,
              exists ? WalkProblem::Unreadable : WalkProblem::NotFound);
}

void NoteUnreadFile(AnalysisState& analysis, SourcePlace at, EntryKind kind, TextView name,
                    FileKind file) {
  switch (file) {
    case FileKind::None:
      return NoteWarning(analysis, at, kind, name, WalkProblem::NotFound);
    case FileKind::Folder:
      return NoteWarning(analysis, at, kind, name, WalkProblem::IsFolder);
    case FileKind::File:
    case FileKind::Other:  // a FIFO or a device is never read
      return NoteWarning(analysis, at, kind, name, WalkProblem::Unreadable);
  }
}

TextView EntryKindName(EntryKind kind) {
  switch (kind) {
    case EntryKind::Main:
      return u"Main";
    case EntryKind::Include:
      return u"Include";
    case EntryKind::Imported:
      return u"Imported";
    case EntryKind::Module:
      break;
  }
  return u"MOD";
}

Text WarningMessage(const WalkWarning& warning) {
  Text directive = warning.kind == EntryKind::Include ? u"Include" : u"Import";
  Text quoted = u"\"" + warning.name + u"\"";
  switch (warning.problem) {
    case WalkProblem::NotFound:
      return directive + u" file not found: " + quoted;
    case WalkProblem::IsFolder:
      return directive + u" names a folder, not a file: " + quoted;
    case WalkProblem::Unreadable:
      break;
  }
  return directive + u" file cannot be read: " + quoted;
}

Text WarningLine(const WalkWarning& warning, TextView folder) {
  return RelativePath(warning.file, folder) + u":" + Decimal(warning.line) +
         u": warning: " + WarningMessage(warning);
}

}  // namespace vt
