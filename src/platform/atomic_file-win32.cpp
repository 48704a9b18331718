// The temporary file, the flush and the rename on Windows.
#include <io.h>
#include <windows.h>

#include <string>

#include "base/paths.h"
#include "platform/atomic_file.h"
#include "platform/native_path.h"

namespace vt {

std::FILE* CreateTemporaryBeside(TextView target, Text& temporary) {
  Text folder = FolderPart(target);
  Text stem = (folder.empty() ? Text() : JoinPath(folder, u"")) + u"." + FileName(target) + u".";
  Text process = Decimal(static_cast<long long>(GetCurrentProcessId()));
  for (int attempt = 0; attempt < 100; ++attempt) {
    Text candidate = stem + process + u"-" + Decimal(attempt) + u".tmp";
    // "x": fails instead of opening a file that is already there.
    if (std::FILE* file = OpenNative(candidate, "wbx")) {
      temporary = candidate;
      return file;
    }
  }
  return nullptr;
}

bool FlushToDisk(std::FILE* file) {
  if (std::fflush(file) != 0) return false;
  HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
  return handle != INVALID_HANDLE_VALUE && FlushFileBuffers(handle);
}

bool RenameOver(TextView temporary, TextView target) {
  return MoveFileExW(ToNative(temporary).c_str(), ToNative(target).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace vt
