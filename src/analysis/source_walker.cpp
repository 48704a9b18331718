#include "analysis/source_walker.h"

#include "analysis/cause_notes.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "analysis/command_pass.h"
#include "base/paths.h"
#include "catalogue/platform_condition.h"
#include "platform/file_system.h"
#include "platform/path_case.h"
#include "platform/text_file_reader.h"

namespace vt {

namespace {

// The text between the double quote at 1-based `first` and the next one;
// "" when there is no quote or no text between them.
Text Quoted(const Text& low, size_t first) {
  if (first == 0) return Text();
  size_t second = Instr(low, u"\"", first + 1);
  if (second <= first + 1) return Text();
  return low.substr(first, second - first - 1);
}

// Whether only line feeds end the lines of `bytes` (a carriage return
// before one belongs to it).
bool OnlyFeedsEndLines(std::string_view bytes) {
  if (bytes.find('\0') != std::string_view::npos) return false;
  for (size_t at = bytes.find('\r'); at != std::string_view::npos; at = bytes.find('\r', at + 1)) {
    if (at + 1 >= bytes.size() || bytes[at + 1] != '\n') return false;
  }
  return true;
}

// One walk. The files whose lines are still being followed form an explicit
// stack, so deep includes cost memory, not call stack; each file is read
// whole and closed before its directives are followed, so that one file is
// open at a time whatever the depth. The order of the walk is that of
// following each directive at once, depth first.
class SourceWalk {
 public:
  SourceWalk(AnalysisState& analysis, const FileTree& files,
             const ListedFileVisitor* visit = nullptr)
      : analysis_(analysis), files_(files), visit_(visit), here_(CurrentFolder()) {
    for (const auto& entry : analysis.ScanListList) listed_.insert(entry.path);
  }

  // Records and reads the file `path`, named in the file whose lines are
  // being followed (relative to its folder); its lines are followed by Run.
  void Enter(TextView path, EntryKind kind);
  // Follows one line of the file on top.
  void Follow(TextView line);
  // Follows the line of `kind` (ClassifyLine's) whose text, trimmed, is
  // `trimmed`.
  void FollowKind(LineKind kind, TextView trimmed);

  // Follows the lines of every file entered, depth first.
  void Run();

 private:
  struct File {
    Text folder;
    TextFileLines lines;
    // The lines followed so far.
    size_t next = 0;
    // In a file whose encoding writes every plain character as one byte,
    // the lines are followed on the bytes, from `at`: only directive and
    // section lines are decoded. Otherwise they are decoded first.
    bool bytewise = false;
    TextEncoding encoding = TextEncoding::Latin1;
    size_t at = 0;
    // Its entry in ScanListList, for the place of a warning.
    size_t entry = 0;
    // The entry of the Main or Imported file it belongs to: itself, or for
    // an Include file the unit of the file that includes it.
    size_t unit = 0;
    // Whether the line being followed stands in a platform section that
    // never holds under the modern rules ("?Not bmxng"), where Include and
    // Import lines are not followed. A file starts outside any section.
    bool inDeadSection = false;
  };

  // The unit of the file whose lines are being followed.
  size_t ReachingUnit() const { return open_.empty() ? 0 : open_.back().unit; }
  void List(TextView path, EntryKind kind) {
    analysis_.NewScanEntry(path, kind)->unit = ReachingUnit();
    // Only files are looked up (by their full path, which no module name
    // can equal); a program names the same modules thousands of times.
    if (kind != EntryKind::Module) listed_.insert(Text(path));
  }
  // The absolute path of `folder`, relative to here_, with its links
  // resolved, or null when it cannot be entered.
  const Text* EnterableFolder(const Text& folder);
  void FollowInclude(const Text& low);
  void FollowImport(const Text& low);
  // A "?condition" or "?" line of the file on top.
  void FollowSection(TextView trimmed);
  // Follows the next line of a file read bytewise.
  void FollowBytes(File& file);

  AnalysisState& analysis_;
  const FileTree& files_;
  const ListedFileVisitor* visit_;
  // The folder of the file whose lines are followed, which its relative
  // names start from; at first the folder a relative Main path starts from.
  Text here_;
  // The entry of the file here_ is the folder of.
  size_t hereEntry_ = static_cast<size_t>(-1);
  // The paths of ScanListList, for the test that reads each file once.
  std::unordered_set<Text> listed_;
  FolderListings listings_;
  // Folders entered, by the folder they were named in and their name: a
  // program names the same few folders from many files.
  std::unordered_map<Text, Text> absolute_;
  std::vector<File> open_;
  std::vector<TextFileLines> spare_;
  // The room of a line decoded alone, and of its classified start.
  static constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";
  std::string oneBytes_;
  TextFileLines oneLine_;
  Text start_;
  // Inside a Rem block: one left open silences the files walked after it.
  bool inRem_ = false;
  // The directive line followed, for the place of a warning.
  SourcePlace at_;
};

void SourceWalk::Enter(TextView path, EntryKind kind) {
  if (!EndsWith(Lower(path), u".bmx")) return;
  // Sources name files in lower case; find them as they are written on disk.
  // A program written on Windows separates folders with "\\" on every
  // system; the Main file's path is the user's, already in the tool's form.
  Text found =
      ResolvePathCase(files_, kind == EntryKind::Main ? Text(path) : ForwardSlashes(path), here_,
                      listings_);
  Text folder = FolderPart(found);
  const Text* current = EnterableFolder(folder);
  if (!current) {
    NoteUnreadFolder(analysis_, at_, kind, path, files_.KindOf(AnchorPath(folder, here_)));
    return;
  }
  Text name = FileName(found);
  Text fullPath = JoinPath(*current, name);
  if (listed_.count(fullPath)) return;
  // A folder named like a source does not open either: no entry.
  TextFileLines file;
  // The room of a file already followed, so that a walk over many files
  // allocates as much as its deepest chain of them needs.
  if (!spare_.empty()) {
    file = std::move(spare_.back());
    spare_.pop_back();
  }
  ReadTextFileBytes(files_, fullPath, file);
  if (file.outcome == ReadOutcome::NotOpened) {
    NoteUnreadFile(analysis_, at_, kind, path, files_.KindOf(fullPath));
    return;
  }
  size_t reaching = ReachingUnit();
  List(fullPath, kind);
  size_t entry = analysis_.ScanListList.size() - 1;
  // The Main file is its own unit.
  if (open_.empty()) analysis_.ScanListList.back().unit = entry;
  size_t unit = kind == EntryKind::Include && !open_.empty() ? reaching : entry;
  if (file.outcome == ReadOutcome::OutOfHandles) {
    // Nothing else of the walk is open, so no handle can be freed to retry:
    // the file stays listed and is reported as not read.
    analysis_.FilesNotRead.push_back(fullPath);
    if (visit_) (*visit_)(entry, nullptr);
    return;
  }
  size_t markLength = 0;
  TextEncoding encoding = EncodingOfMark(file.bytes, &markLength);
  // A character 0 or a carriage return alone ends a line as a line feed
  // does, and a line too long comes in pieces: such files are decoded, as
  // files of two bytes a character are.
  bool bytewise = (encoding == TextEncoding::Latin1 || encoding == TextEncoding::Utf8) &&
                  file.bytes.size() < TextStream::kLongestLine &&
                  OnlyFeedsEndLines(file.bytes);
  if (!bytewise) DecodeLinesOf(file);
  if (visit_) (*visit_)(entry, &file);
  File opened{*current, std::move(file), 0, bytewise, encoding, markLength};
  opened.entry = entry;
  opened.unit = unit;
  open_.push_back(std::move(opened));
}

const Text* SourceWalk::EnterableFolder(const Text& folder) {
  if (folder.empty()) return &here_;
  Text key = here_ + u'\0' + folder;
  if (auto known = absolute_.find(key); known != absolute_.end()) return &known->second;
  // The files of ScanListList are named by the folder's path with its links
  // resolved.
  Text absolute = AnchorPath(folder, here_);
  if (!files_.CanEnter(absolute)) return nullptr;
  return &absolute_.try_emplace(std::move(key), files_.Canonical(absolute)).first->second;
}

void SourceWalk::Run() {
  while (!open_.empty()) {
    File& top = open_.back();
    // Read bytewise, a file of no bytes has no line, and one of a mark
    // alone one empty line, as decoded.
    bool done = top.bytewise
                    ? top.at >= top.lines.bytes.size() && (top.next > 0 || top.lines.bytes.empty())
                    : top.next >= top.lines.LineCount();
    if (done) {
      spare_.push_back(std::move(top.lines));
      open_.pop_back();
      continue;
    }
    if (hereEntry_ != top.entry) {
      here_ = top.folder;
      hereEntry_ = top.entry;
    }
    if (top.bytewise) {
      FollowBytes(top);
      continue;
    }
    // Follow is done with the line before it enters a file, which may move
    // `top` and so the text the view points into.
    TextView line = top.lines.Line(top.next++);
    at_ = {top.entry, static_cast<int32_t>(top.next)};
    Follow(line);
  }
}

void SourceWalk::FollowBytes(File& file) {
  std::string_view bytes = file.lines.bytes;
  size_t begin = file.at;
  size_t feed = bytes.find('\n', begin);
  size_t end = feed == std::string_view::npos ? bytes.size() : feed;
  file.at = end + 1;
  at_ = {file.entry, static_cast<int32_t>(++file.next)};
  // Blanks are the units up to the space, as the decoder leaves them.
  size_t first = begin;
  while (first < end && static_cast<unsigned char>(bytes[first]) <= 32) ++first;
  size_t last = end;
  while (last > first && static_cast<unsigned char>(bytes[last - 1]) <= 32) --last;
  size_t length = std::min(last - first, kClassifiedLength);
  // A carriage return the decoder drops, or in UTF-8 a character of several
  // bytes, would make the start differ from the decoded one's.
  bool plain = true;
  for (size_t i = first; i < first + length; ++i) {
    unsigned char unit = static_cast<unsigned char>(bytes[i]);
    if (unit == '\r' || (unit >= 0x80 && file.encoding == TextEncoding::Utf8)) plain = false;
  }
  auto decoded = [&]() {
    // Decoded as a file's first line, after a mark of its own, which the
    // decoder drops: a mark the line itself starts with then stays, as it
    // does in a decoded file.
    oneBytes_.assign(file.encoding == TextEncoding::Utf8 ? kUtf8Mark : "");
    oneBytes_.append(bytes.substr(begin, end - begin));
    DecodeTextLines(oneBytes_, file.encoding, oneLine_);
    return oneLine_.LineCount() == 0 ? TextView() : oneLine_.Line(0);
  };
  if (!plain) {
    Follow(decoded());
    return;
  }
  start_.resize(length);
  for (size_t i = 0; i < length; ++i) {
    char16_t unit = static_cast<unsigned char>(bytes[first + i]);
    start_[i] = unit >= u'A' && unit <= u'Z' ? static_cast<char16_t>(unit + 32) : unit;
  }
  LineKind kind = ClassifyLine(start_, inRem_);
  bool section = kind == LineKind::Code && bytes[first] == '?';
  if (kind == LineKind::Directive || section) FollowKind(kind, TrimView(decoded()));
}

void SourceWalk::Follow(TextView line) {
  TextView trimmed = TrimView(line);
  // Most lines are no directive: their start tells, without lowering them whole.
  Text start = Lower(trimmed.substr(0, kClassifiedLength));
  FollowKind(ClassifyLine(start, inRem_), trimmed);
}

void SourceWalk::FollowKind(LineKind kind, TextView trimmed) {
  if (kind == LineKind::Code && trimmed[0] == u'?') FollowSection(trimmed);
  if (kind != LineKind::Directive) return;
  ++analysis_.CodeLines;
  if (!open_.empty() && open_.back().inDeadSection) return;
  Text low = Lower(trimmed);
  if (StartsWith(low, u"include")) {
    FollowInclude(low);
  } else {
    FollowImport(low);
  }
}

void SourceWalk::FollowSection(TextView trimmed) {
  if (analysis_.ruleSet != RuleSetKind::Modern || open_.empty()) return;
  KnownCondition known = SimplifyCondition(SectionCondition(trimmed), true);
  open_.back().inDeadSection = known.kind == KnownCondition::Kind::Never;
}

void SourceWalk::FollowInclude(const Text& low) {
  size_t first = Instr(low, u"\"");
  if (first <= 6) return;
  Text name = Quoted(low, first);
  if (!name.empty()) Enter(name, EntryKind::Include);
}

void SourceWalk::FollowImport(const Text& low) {
  if (size_t first = Instr(low, u"\""); first != 0) {
    Enter(Quoted(low, first), EntryKind::Imported);
    return;
  }
  size_t blank = low.find(u' ');
  List(Trim(blank == Text::npos ? TextView(low) : TextView(low).substr(blank)), EntryKind::Module);
}

bool IsNameUnit(char16_t unit) {
  return (unit >= u'a' && unit <= u'z') || (unit >= u'0' && unit <= u'9') || unit == u'_';
}

// "rem" as a whole word: text may follow the keyword ("Rem notes", "Rem:"),
// but "RemoveHook x" and "Remaining = 2" are code.
bool OpensRem(TextView low) {
  return StartsWith(low, u"rem") && (low.size() == 3 || !IsNameUnit(low[3]));
}

}  // namespace

LineKind ClassifyLine(TextView low, bool& inRem) {
  if (low.empty()) return LineKind::Blank;
  if (low[0] == u'\'') return LineKind::Comment;
  if (OpensRem(low)) {
    inRem = true;
    return LineKind::RemStart;
  }
  if (StartsWith(low, u"end rem") || StartsWith(low, u"endrem")) {
    inRem = false;
    return LineKind::RemEnd;
  }
  if (inRem) return LineKind::Remark;
  if (StartsWith(low, u"include") || StartsWith(low, u"import")) return LineKind::Directive;
  return LineKind::Code;
}

void ScanFile(AnalysisState& analysis, TextView path, EntryKind kind) {
  ScanFile(analysis, DiskFileTree(), path, kind);
}

void ScanFile(AnalysisState& analysis, const FileTree& files, TextView path, EntryKind kind) {
  SourceWalk walk(analysis, files);
  walk.Enter(path, kind);
  walk.Run();
}

void ScanFile(AnalysisState& analysis, const FileTree& files, TextView path, EntryKind kind,
              const ListedFileVisitor& visit) {
  SourceWalk walk(analysis, files, &visit);
  walk.Enter(path, kind);
  walk.Run();
}

void ScanDirectiveLine(AnalysisState& analysis, TextView line) {
  DiskFileTree disk;
  SourceWalk walk(analysis, disk);
  walk.Follow(line);
  walk.Run();
}

}  // namespace vt
