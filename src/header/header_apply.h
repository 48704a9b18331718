// Making a plan's edits on disk: the only step that writes a header.
#pragma once

#include <vector>

#include "base/fault.h"
#include "header/header_plan.h"

namespace vt {

enum class ApplyOutcome {
  NoEdit,         // its header needs no edit
  Refused,        // the plan says it may not be written (FilePlan::refusal)
  Written,
  ChangedOnDisk,  // its bytes are no longer the ones the plan judged
  Unwritable,     // it cannot be replaced (`error` says why: read-only ...)
  HeldBack,       // another file of the edit cannot be written, so none is
  BackupFailed,   // the backup could not be written (`error` says why)
  ReplaceFailed,  // the file could not be replaced (`error` says why)
};

struct AppliedFile {
  ApplyOutcome outcome = ApplyOutcome::NoEdit;
  // The backup's path, when one is kept, and whether it was there from
  // before (it then holds the file as it was before its first edit).
  Text backup;
  bool backupFromBefore = false;
  // The system's reason for a failure.
  Fault error;

  bool Failed() const {
    return outcome == ApplyOutcome::ChangedOnDisk || outcome == ApplyOutcome::Unwritable ||
           outcome == ApplyOutcome::HeldBack || outcome == ApplyOutcome::BackupFailed ||
           outcome == ApplyOutcome::ReplaceFailed;
  }
};

// One per file of the plan, in its order.
using AppliedFiles = std::vector<AppliedFile>;

// Replaces each file the plan may write, atomically, with the edit of the
// lines it judged. All or nothing: first every such file is checked, that
// the disk still holds the bytes judged and that it can be replaced (a
// regular file this user may write, in a folder that takes a new file);
// when one fails, none is written. With `keepBackup`, NAME.bak keeps the
// file as it was before its first edit, with its permissions: one that
// exists already is never written over. A file that fails is left as it
// was.
AppliedFiles ApplyHeaderPlan(const HeaderPlan& plan, bool keepBackup);

// Some file was written.
bool WroteAny(const AppliedFiles& applied);

}  // namespace vt
