// What one examination's command pass and matching made of each stretch of
// the walk, kept by a long-running process (the window, an editor's server)
// so that the next examination of the same program reads and matches again
// only the stretches whose files changed.
//
// A stretch is a run of files, one after the other in the walk, that feed
// one record: a file that starts a record (the Main file, an Imported one)
// with the Include files after it, or Include files that go on feeding a
// record after another unit's files, or an Include file whose unit was
// already left (which feeds none). What a stretch makes depends only on its
// files' bytes, on the record as the stretches before left it, and on
// three things the files before it leave behind: the Rem state, how many
// types the program has declared, and the entries' numbers. A matched
// record depends, under the modern rules, on what the whole program
// declares too.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "analysis/command_matcher.h"
#include "analysis/examination.h"
#include "analysis/program_scopes.h"
#include "analysis/reasons.h"
#include "analysis/rule_book.h"
#include "analysis/source_records.h"

namespace vt {

// One file of a stretch, as the walk read it.
struct FileStamp {
  size_t entry = 0;
  Text path;
  EntryKind kind = EntryKind::Main;
  size_t size = 0;
  size_t hash = 0;  // of the bytes

  bool operator==(const FileStamp&) const = default;
};

struct StretchMemo {
  std::vector<FileStamp> files;
  // What the files before it left behind.
  bool remIn = false;
  size_t typesIn = 0;
  // What its files add or leave behind.
  bool remOut = false;
  int32_t totalLines = 0;
  int32_t codeLines = 0;
  ProgramScopes::Declarations declared;
  // The entry whose record its files feed (the first file's, for a stretch
  // that starts one), or none; and whether there was such a record to feed.
  std::optional<size_t> recordEntry;
  bool fedRecord = false;
  // Under the modern rules, that record as the stretch left it, not yet
  // matched: what a file adds to it depends on every declaration read
  // before, so it cannot be read again alone. Under the classic rules a
  // record is made again from its stretches' files when it is wanted, which
  // a large program's memo could not afford to hold. And, when the stretch
  // was the last to feed it, the record matched, under declarations whose
  // fingerprint is `matchedUnder`.
  std::optional<sourcemodtype> after;
  std::shared_ptr<sourcemodtype> matched;
  uint64_t matchedUnder = 0;
};

// Who keeps the findings of the last examination for the next one: the
// memo, as a copy; or its caller, who holds them anyway and lends them back
// (a server that keeps each program's last check), so that a large
// program's findings are not held twice.
enum class FindingsKeeper { Memo, Caller };

class ExaminationMemo {
 public:
  explicit ExaminationMemo(FindingsKeeper keeper = FindingsKeeper::Memo) : keeper_(keeper) {}
  FindingsKeeper Keeper() const { return keeper_; }
  // Drops everything: for a catalogue scanned again, or other rules.
  void Forget();
  // Whether what is kept was made with this catalogue, these rules and
  // notes; when not, forgets it and keeps their marks for what comes.
  void Fit(const CatalogueState& catalogue, RuleSetKind ruleSet, const RuleSet& rules,
           CauseNotes notes);
  // The stretch that started at entry `first` last time, if any; it is
  // taken out of the memo.
  std::unique_ptr<StretchMemo> Take(size_t first);
  // Keeps the stretches of this examination in place of the last one's;
  // `unchanged` when every one came from the memo and no record was matched
  // again.
  void Replace(std::unordered_map<size_t, std::unique_ptr<StretchMemo>> stretches,
               size_t reused, bool unchanged);
  // The findings of an examination, for the next one that finds nothing
  // changed; with reasons, also the records they were explained from, so
  // that the next explanation takes what still holds. A memo whose caller
  // keeps the findings keeps no copy of them.
  void KeepFindings(const Examination& findings, ReasonChoice reasons,
                    const AnalysisState& analysis);
  // The last explanation and its records, when the last findings kept
  // were explained; else none. `lent` is what the caller kept of the last
  // examination, for a memo whose caller keeps the findings.
  std::optional<ExplainedBefore> LastExplained(const Examination* lent) const;
  // The findings kept, when the last examination found nothing changed
  // since they were made and asked for the same reasons; else null.
  const Examination* UnchangedFindings(ReasonChoice reasons, const Examination* lent) const;
  // The matcher of the catalogue and rules the memo fits (see Fit), made
  // once for every examination after: building its index of a large
  // catalogue costs more than an edit's matching.
  CommandMatcher& Matcher();
  // How many stretches the last examination took from the memo.
  size_t LastReused() const { return reused_; }
  size_t StretchCount() const { return stretches_.size(); }

 private:
  const CatalogueState* catalogue_ = nullptr;
  size_t moduleCount_ = 0;
  int commandCount_ = 0;
  RuleSetKind ruleSet_ = RuleSetKind::Classic;
  RuleSet rules_;
  CauseNotes notes_ = CauseNotes::Keep;
  std::unordered_map<size_t, std::unique_ptr<StretchMemo>> stretches_;
  size_t reused_ = 0;
  bool unchanged_ = false;
  // The last findings, or what can tell that the ones lent are those.
  const Examination* Kept(const Examination* lent) const;

  FindingsKeeper keeper_;
  std::optional<Examination> findings_;
  bool kept_ = false;
  size_t keptWalked_ = 0;
  int32_t keptLines_ = 0;
  ReasonChoice findingsReasons_ = ReasonChoice::Give;
  std::vector<std::shared_ptr<const sourcemodtype>> explainedRecords_;
  // Reads rules_, which stays as it is while the matcher lasts.
  std::unique_ptr<CommandMatcher> matcher_;
};

}  // namespace vt
