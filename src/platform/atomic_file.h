// Writing a file so that it is either the whole new content or the old file
// untouched: the bytes go to a temporary file in the same folder, which is
// flushed to the disk and then renamed over the target.
#pragma once

#include <cstdio>
#include <string_view>

#include "base/fault.h"
#include "base/text.h"

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
  bool Open(TextView path);
  void Write(std::string_view bytes);
  // Flushes the bytes to the disk and puts the file in place of the target.
  // False when any write, the flush or the rename failed; the target is then
  // the old file (or absent, as before) and the temporary file is gone.
  bool Commit();

 private:
  void Discard();

  std::FILE* file_ = nullptr;
  Text target_;
  Text temporary_;
  bool failed_ = false;
};

// Writes `bytes` to `path` with the writer. On a fault the old file stays as
// it was.
Fault WriteFileAtomically(TextView path, std::string_view bytes);

// The same, but leaves the file alone, and says so, when its bytes are no
// longer `expected` just before it is replaced: someone changed it meanwhile.
Fault ReplaceFileAtomically(TextView path, std::string_view bytes, std::string_view expected);

// The operating system's side of the writer; one implementation per system
// (atomic_file-posix.cpp, -win32.cpp).

// Creates a new, empty temporary file in the folder of `target`, with the
// permissions the target has (or a new file would get); its path goes to
// `temporary`. Null when it cannot be made.
std::FILE* CreateTemporaryBeside(TextView target, Text& temporary);
// Flushes the stream and asks the system to put its bytes on the disk.
bool FlushToDisk(std::FILE* file);
// Renames `temporary` over `target` in one step.
bool RenameOver(TextView temporary, TextView target);

}  // namespace vt
