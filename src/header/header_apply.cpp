#include "header/header_apply.h"

#include <optional>
#include <string>

#include "platform/atomic_file.h"
#include "platform/file_bytes.h"
#include "platform/file_system.h"

namespace vt {

namespace {

AppliedFile Outcome(ApplyOutcome outcome, Fault error = Fault()) {
  AppliedFile applied;
  applied.outcome = outcome;
  applied.error = std::move(error);
  return applied;
}

// Whether the plan has the file written; NoEdit or Refused when not.
std::optional<ApplyOutcome> NotToWrite(const FilePlan& file) {
  bool edited = file.changes || file.refusal == WriteRefusal::CannotEncode;
  if (file.Readable() && !edited) return ApplyOutcome::NoEdit;
  if (file.refusal != WriteRefusal::None) return ApplyOutcome::Refused;
  return std::nullopt;
}

// What can be told before anything is written. The disk is read again: the
// plan may have judged an editor's buffer, or the file may have changed
// since.
AppliedFile CheckBeforeWriting(const FilePlan& file) {
  if (std::optional<ApplyOutcome> outcome = NotToWrite(file)) return Outcome(*outcome);
  std::string now;
  if (!ReadFileBytes(file.path, now) || now != file.bytes) {
    return Outcome(ApplyOutcome::ChangedOnDisk);
  }
  if (Fault fault = CheckReplaceable(file.path)) return Outcome(ApplyOutcome::Unwritable, fault);
  return Outcome(ApplyOutcome::Written);
}

AppliedFile ApplyFile(const FilePlan& file, bool keepBackup) {
  AppliedFile applied;
  if (keepBackup) {
    applied.backup = file.path + u".bak";
    applied.backupFromBefore = GetFileKind(applied.backup) == FileKind::File;
  }
  if (keepBackup && !applied.backupFromBefore) {
    if (Fault error = WriteFileAtomically(applied.backup, file.bytes, file.path)) {
      applied.outcome = ApplyOutcome::BackupFailed;
      applied.error = std::move(error);
      return applied;
    }
  }
  std::string bytes = JoinTextLines(file.edit.Result(file.lines));
  if (Fault error = ReplaceFileAtomically(file.path, bytes, file.bytes)) {
    return Outcome(ApplyOutcome::ReplaceFailed, std::move(error));
  }
  applied.outcome = ApplyOutcome::Written;
  return applied;
}

}  // namespace

AppliedFiles ApplyHeaderPlan(const HeaderPlan& plan, bool keepBackup) {
  AppliedFiles applied;
  bool blocked = false;
  for (const FilePlan& file : plan.files) {
    applied.push_back(CheckBeforeWriting(file));
    blocked = blocked || applied.back().Failed();
  }
  // A program half edited may build with neither its old header nor its new.
  for (size_t i = 0; i < plan.files.size(); ++i) {
    if (applied[i].outcome != ApplyOutcome::Written) continue;
    applied[i] = blocked ? Outcome(ApplyOutcome::HeldBack) : ApplyFile(plan.files[i], keepBackup);
  }
  return applied;
}

bool WroteAny(const AppliedFiles& applied) {
  for (const AppliedFile& file : applied) {
    if (file.outcome == ApplyOutcome::Written) return true;
  }
  return false;
}

}  // namespace vt
