#include "analysis/source_walker.h"

#include "analysis/cause_notes.h"
#include "base/paths.h"
#include "platform/path_case.h"
#include "platform/text_file_reader.h"
#include "platform/file_system.h"

namespace vt {

namespace {

// Puts the current folder back when a walk step ends, however it ends.
class FolderRestorer {
 public:
  FolderRestorer() : saved_(CurrentFolder()) {}
  ~FolderRestorer() { ChangeFolder(saved_); }
  FolderRestorer(const FolderRestorer&) = delete;
  FolderRestorer& operator=(const FolderRestorer&) = delete;

 private:
  Text saved_;
};

bool AlreadyScanned(const AnalysisState& analysis, const Text& fullPath) {
  for (const auto& entry : analysis.ScanListList) {
    if (entry->path == fullPath) return true;
  }
  return false;
}

// The text between the double quote at 1-based `first` and the next one;
// "" when there is no quote or no text between them.
Text Quoted(const Text& low, size_t first) {
  if (first == 0) return Text();
  size_t second = Instr(low, u"\"", first + 1);
  if (second <= first + 1) return Text();
  return low.substr(first, second - first - 1);
}

void FollowInclude(AnalysisState& analysis, const Text& low) {
  size_t first = Instr(low, u"\"");
  if (first <= 6) return;
  Text name = Quoted(low, first);
  if (!name.empty()) ScanFile(analysis, name, u"Include");
}

void FollowImport(AnalysisState& analysis, const Text& low) {
  if (size_t first = Instr(low, u"\""); first != 0) {
    ScanFile(analysis, Quoted(low, first), u"Imported");
    return;
  }
  size_t blank = low.find(u' ');
  Text module = Trim(blank == Text::npos ? TextView(low) : TextView(low).substr(blank));
  analysis.NewScanEntry(module, u"MOD");
}

}  // namespace

LineKind ClassifyLine(TextView low, int& remFlag) {
  if (low.empty()) return LineKind::Blank;
  if (low[0] == u'\'') return LineKind::Comment;
  if (low == u"rem") {
    remFlag = 1;
    return LineKind::RemStart;
  }
  if (StartsWith(low, u"end rem") || StartsWith(low, u"endrem")) {
    remFlag = 0;
    return LineKind::RemEnd;
  }
  if (remFlag) return LineKind::Remark;
  if (StartsWith(low, u"include") || StartsWith(low, u"import")) return LineKind::Directive;
  return LineKind::Code;
}

void ScanFile(AnalysisState& analysis, TextView path, TextView kind) {
  if (!EndsWith(Lower(path), u".bmx")) return;
  // Sources name files in lower case; find them as they are written on disk.
  Text found = ResolvePathCase(ForwardSlashes(path));
  FolderRestorer restorer;
  Text folder = FolderPart(found);
  if (!folder.empty() && !ChangeFolder(folder)) {
    NoteUnreadFolder(analysis, kind, path, folder);
    return;
  }
  Text name = FileName(found);
  Text fullPath = JoinPath(CurrentFolder(), name);
  if (AlreadyScanned(analysis, fullPath)) return;
  // A folder named like a source does not open either: no entry.
  std::unique_ptr<TextStream> stream = TextFileReader::OpenTextFile(name, true, 0);
  if (!stream) {
    NoteUnreadFile(analysis, kind, path, name);
    return;
  }
  analysis.NewScanEntry(fullPath, kind);
  size_t entry = analysis.ScanListList.size() - 1;
  for (int32_t line = 1; !stream->AtEnd(); ++line) {
    analysis.WalkAt = {entry, line};
    ScanDirectiveLine(analysis, ReadTextLine(*stream));
  }
  stream->Close();
}

void ScanDirectiveLine(AnalysisState& analysis, TextView line) {
  Text low = Lower(Trim(line));
  if (ClassifyLine(low, analysis.InRemDirectives) != LineKind::Directive) return;
  ++analysis.CodeLines;
  if (StartsWith(low, u"include")) {
    FollowInclude(analysis, low);
  } else {
    FollowImport(analysis, low);
  }
}

}  // namespace vt
