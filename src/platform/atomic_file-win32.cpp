// The temporary file, the flush and the rename on Windows.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <string>

#include "base/paths.h"
#include "platform/atomic_file.h"
#include "platform/native_path.h"

namespace vt {

namespace {

// Fails instead of opening a file that is already there. The C runtime
// MinGW links (msvcrt.dll) knows no "x" in fopen's mode, so the file is made
// with CREATE_NEW and handed to stdio afterwards.
std::FILE* CreateNewFile(TextView path) {
  HANDLE handle = CreateFileW(ToNative(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_BINARY | _O_WRONLY);
  if (descriptor < 0) {
    CloseHandle(handle);
    return nullptr;
  }
  std::FILE* file = _fdopen(descriptor, "wb");
  if (!file) _close(descriptor);  // closes the handle too
  return file;
}

}  // namespace

std::FILE* CreateTemporaryBeside(TextView target, Text& temporary, TextView /*identityOf*/) {
  Text folder = FolderPart(target);
  Text stem = (folder.empty() ? Text() : JoinPath(folder, u"")) + u"." + FileName(target) + u".";
  Text process = Decimal(static_cast<long long>(GetCurrentProcessId()));
  for (int attempt = 0; attempt < 100; ++attempt) {
    Text candidate = stem + process + u"-" + Decimal(attempt) + u".tmp";
    if (std::FILE* file = CreateNewFile(candidate)) {
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

// Hard links are rare on Windows, and the rename is the only step there
// that is atomic: a linked file is replaced like any other.
size_t LinkCount(TextView) { return 1; }

bool ReplaceInPlace(TextView temporary, TextView target) { return RenameOver(temporary, target); }

bool MayWrite(TextView path) {
  DWORD attributes = GetFileAttributesW(ToNative(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return (attributes & FILE_ATTRIBUTE_READONLY) == 0;
  // A folder's read-only flag means nothing to the files made in it, and its
  // access rules are not to be read from the outside: a file the system
  // removes once it is closed tells.
  Text probe = JoinPath(path, u".veltrane-probe-" +
                                  Decimal(static_cast<long long>(GetCurrentProcessId())) + u".tmp");
  HANDLE handle = CreateFileW(ToNative(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  CloseHandle(handle);
  return true;
}

}  // namespace vt
