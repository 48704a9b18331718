#include "header/header_apply.h"

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

AppliedFile ApplyFile(const FilePlan& file, bool keepBackup) {
  bool edited = file.changes || file.refusal == WriteRefusal::CannotEncode;
  if (file.Readable() && !edited) return {};
  if (file.refusal != WriteRefusal::None) return Outcome(ApplyOutcome::Refused);
  // The disk is read again: the plan may have judged an editor's buffer,
  // or the file may have changed since.
  std::string now;
  if (!ReadFileBytes(file.path, now) || now != file.bytes) {
    return Outcome(ApplyOutcome::ChangedOnDisk);
  }
  AppliedFile applied;
  if (keepBackup) {
    applied.backup = file.path + u".bak";
    applied.backupFromBefore = GetFileKind(applied.backup) == FileKind::File;
  }
  if (keepBackup && !applied.backupFromBefore) {
    if (Fault error = WriteFileAtomically(applied.backup, file.bytes)) {
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
  for (const FilePlan& file : plan.files) applied.push_back(ApplyFile(file, keepBackup));
  return applied;
}

bool WroteAny(const AppliedFiles& applied) {
  for (const AppliedFile& file : applied) {
    if (file.outcome == ApplyOutcome::Written) return true;
  }
  return false;
}

}  // namespace vt
