// The pass over a program's files that follows the walk: the command pass
// and the matching, with what a memo keeps of the examination before.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "analysis/command_matcher.h"
#include "analysis/command_pass.h"
#include "analysis/examination_memo.h"
#include "platform/file_tree.h"

namespace vt {

// The command pass and the matching, fed by the walk one file at a time.
// A record is matched as soon as the walk has left its unit: no later file
// feeds it. Without notes its words are then let go, so that a large
// program never holds the words of all its files at once. Under the modern
// rules a later file may declare a name that hides a word of an earlier one,
// so every record waits for the end of the walk.
//
// With a memo, a stretch of the walk whose files and starting state are
// the same as last time is not read again: the pass holds back while the
// files agree, and reads the stretch from its start once one differs.
class ProgramPass {
 public:
  ProgramPass(AnalysisState& analysis, const CatalogueState& catalogue, const FileTree& files,
              ExaminationMemo* memo);

  // The walk lists the file of entry `i`, with the bytes it read (null when
  // it found no handle: the file is tried again); their lines are decoded
  // only if the pass reads them.
  void Scan(size_t i, TextFileLines* lines);

  // After the walk: every record is matched; the matcher ends here, and
  // nothing may ask it later.
  void Finish();

 private:
  static constexpr size_t kNone = static_cast<size_t>(-1);

  // The files of the stretch under way and what it started from.
  struct Stretch {
    bool open = false;
    size_t unit = kNone;  // whose record it feeds
    sourcemodtype* feeds = nullptr;  // the record it goes on feeding
    std::vector<FileStamp> files;
    // The last examination's stretch from the same entry, while every file
    // so far agrees with it and the pass holds back.
    std::unique_ptr<StretchMemo> candidate;
    bool read = false;      // the pass has read its files
    bool keepable = false;  // a memo may keep it
    bool remIn = false;
    size_t typesIn = 0;
    // The lines its files' command pass counted (the walk counts directive
    // lines as code too, as it goes).
    int32_t totalLines = 0;
    int32_t codeLines = 0;
    sourcemodtype* record = nullptr;
    std::vector<Text> globals;
  };
  // A record's ties to the memo.
  struct RecordTies {
    // Every stretch that fed it came from the memo.
    bool asBefore = false;
    // The memo of the last stretch that fed it, where its match is kept.
    StretchMemo* last = nullptr;
    // While it is as before: the stretch whose record it is, not yet
    // copied in.
    StretchMemo* pending = nullptr;
    // Its place in the examination's records.
    size_t index = 0;
    // While it is as before: the stretches that fed it, in order.
    std::vector<StretchMemo*> fed;
  };

  bool UnitOpen(size_t unit) const;

  void StartStretch(size_t i, const scanlisttype& entry);

  // The memo's stretch from entry `i`, when it started as this one does.
  void TakeCandidate(size_t i);

  void AddFile(size_t i, TextFileLines* lines);

  // The pass reads the stretch from its start: the first `k` files again.
  void StartReading(size_t k);

  // The command pass over file `k` of the stretch, with `lines` or read
  // again when null.
  void ReadFile(size_t k, TextFileLines* lines);

  void EndStretch();

  // The stretch as last time: what its files add, without reading them.
  void Reuse();

  // The stretch as read, for the next examination.
  void Keep();

  // Makes `record` again as the memo's stretches `fed` left it: from the
  // last one's copy, or, without one, from their files.
  void Restore(sourcemodtype& record, const RecordTies& ties);
  // The command pass over `stretch`'s files again, on its own, into the
  // record `made` (null for a stretch that starts one); what else it counts
  // goes to `scratch`. A file that no longer holds the bytes the memo knew
  // has its stamp spoiled, so that the next examination reads it.
  void ReadAgain(StretchMemo& stretch, AnalysisState& scratch, sourcemodtype*& made);

  // Matches the record and offers it the loaders, or takes the memo's
  // record matched as it would be: the memo and the examination then share
  // it, with no copy.
  void Match(sourcemodtype* record);
  void Done(sourcemodtype* record);
  void LeaveUntil(size_t unit);

  AnalysisState& analysis_;
  const CatalogueState& catalogue_;
  const FileTree& files_;
  // The memo's, or one of the pass's own.
  std::optional<CommandMatcher> ownMatcher_;
  CommandMatcher* matcher_ = nullptr;
  bool scoped_;
  std::vector<sourcemodtype*> waiting_;
  // The units whose walk is under way, outermost first: each entry's unit
  // and its record (null when its file could not be read, or until its
  // first stretch ends).
  std::vector<std::pair<size_t, sourcemodtype*>> open_;
  CommandPassState pass_;
  // The room of the files read again.
  TextFileLines reread_;

  ExaminationMemo* memo_;
  Stretch stretch_;
  std::unordered_map<size_t, std::unique_ptr<StretchMemo>> kept_;
  std::unordered_map<const sourcemodtype*, RecordTies> ties_;
  size_t reused_ = 0;
  // How many stretches the memo held, and how many records that came from
  // it had to be matched again: nothing changed when all came and none had.
  size_t previousStretches_ = 0;
  size_t matchedAgain_ = 0;
  // The fingerprint of what the whole program declares, once it is read
  // (under the modern rules; nothing hides a word under the classic ones).
  uint64_t declaredPrint_ = 0;
};

}  // namespace vt
