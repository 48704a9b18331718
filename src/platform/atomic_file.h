// Writing a file so that it is either the whole new content or the old file
// untouched: the bytes go to a temporary file in the same folder, which is
// flushed to the disk and then renamed over the target.
#pragma once

#include <cstdio>
#include <optional>
#include <string_view>

#include "base/fault.h"
#include "base/text.h"
#include "platform/native_path.h"

namespace vt {

class AtomicFileWriter {
 public:
  AtomicFileWriter() = default;
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;
  // Without a successful Commit the temporary file is removed and the target
  // stays as it was.
  ~AtomicFileWriter();

  // Starts the new content of `path`. False when the temporary file cannot be
  // made, or when `path` names something other than a regular file (a
  // folder, a device): those are never replaced. A link is followed, so that
  // the file it leads to gets the new content and the link stays.
  // The new file keeps the permission bits and, where the process may set
  // them, the owner and group of the file it replaces, or of `identityOf`
  // when given (a backup is as private as its original).
  bool Open(TextView path, TextView identityOf = {});
  void Write(std::string_view bytes);
  // Flushes the bytes to the disk and puts the file in place of the target.
  // A target with more than one hard link is written in place, once its old
  // bytes are safe in a temporary copy, so that every link sees the new
  // content. False when any write, the flush or the rename failed; the
  // target is then the old file (or absent, as before) and the temporary
  // file is gone. Also false, with nothing written, when the target is no
  // longer the file it was at Open: someone replaced or changed it meanwhile.
  bool Commit();
  // Whether the last Commit failed because the target changed after Open.
  bool ChangedMeanwhile() const { return changedMeanwhile_; }

 private:
  void Discard();

  std::FILE* file_ = nullptr;
  Text target_;
  Text temporary_;
  // The target as Open found it; nothing when there was none.
  struct TargetState {
    FileState stamp;
    // Of the bytes, taken only when the times alone cannot tell.
    std::optional<size_t> digest;
  };
  static std::optional<TargetState> StateOf(TextView target);
  // Whether the target is still as Open found it.
  bool TargetUnchanged() const;
  std::optional<TargetState> atOpen_;
  bool failed_ = false;
  bool changedMeanwhile_ = false;
};

// Writes `bytes` to `path` with the writer (`identityOf` as for Open). On a
// fault the old file stays as it was.
Fault WriteFileAtomically(TextView path, std::string_view bytes, TextView identityOf = {});

// The same, but leaves the file alone, and says so, when its bytes are no
// longer `expected` just before it is replaced: someone changed it meanwhile.
Fault ReplaceFileAtomically(TextView path, std::string_view bytes, std::string_view expected);

// Why `path` could not be replaced, as far as can be told without writing:
// it is no regular file, it is read-only to this user, or its folder takes
// no new file. Empty when nothing stands in the way.
Fault CheckReplaceable(TextView path);

// The operating system's side of the writer; one implementation per system
// (atomic_file-posix.cpp, -win32.cpp).

// Creates a new, empty temporary file in the folder of `target`, with the
// permissions and, where allowed, the owner and group that `identityOf` has
// (or a new file would get); its path goes to `temporary`. Null when it
// cannot be made.
std::FILE* CreateTemporaryBeside(TextView target, Text& temporary, TextView identityOf);
// Flushes the stream and asks the system to put its bytes on the disk.
bool FlushToDisk(std::FILE* file);
// Renames `temporary` over `target` in one step.
bool RenameOver(TextView temporary, TextView target);
// How many names the file at `path` has; 1 where the system does not say.
size_t LinkCount(TextView path);
// Writes the bytes of `temporary` into `target` itself, keeping its old
// bytes in another temporary file until the new ones are on the disk and
// putting them back on a failure; `temporary` is removed on success.
bool ReplaceInPlace(TextView temporary, TextView target);
// Whether this user may write to the file or folder at `path`.
bool MayWrite(TextView path);

}  // namespace vt
