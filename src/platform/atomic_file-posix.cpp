// The temporary file, the flush and the rename on POSIX systems.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "base/paths.h"
#include "platform/atomic_file.h"
#include "platform/native_path.h"

namespace vt {

namespace {

// What a new file would get: 0666 less the process's mask.
mode_t NewFileMode() {
  mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

// Makes the rename itself survive a crash; a folder that cannot be synced
// costs only that.
void SyncFolderOf(TextView path) {
  Text folder = FolderPart(path);
  if (folder.empty()) folder = u".";
  int fd = open(ToNativeString(folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

}  // namespace

std::FILE* CreateTemporaryBeside(TextView target, Text& temporary) {
  // A file the user made read-only is not to be replaced behind its back,
  // although the rename alone would be allowed.
  std::string native = ToNativeString(target);
  if (access(native.c_str(), F_OK) == 0 && access(native.c_str(), W_OK) != 0) return nullptr;
  Text folder = FolderPart(target);
  Text pattern = (folder.empty() ? Text() : JoinPath(folder, u"")) + u"." + FileName(target) +
                 u".XXXXXX";
  std::string name = ToNativeString(pattern);
  std::vector<char> buffer(name.begin(), name.end());
  buffer.push_back('\0');
  int fd = mkstemp(buffer.data());
  if (fd < 0) return nullptr;
  temporary = FromNativeString(buffer.data());

  struct stat old;
  mode_t mode = stat(native.c_str(), &old) == 0 ? (old.st_mode & 07777)
                                                                  : NewFileMode();
  fchmod(fd, mode);
  std::FILE* file = fdopen(fd, "wb");
  if (file) return file;
  close(fd);
  unlink(buffer.data());
  temporary.clear();
  return nullptr;
}

bool FlushToDisk(std::FILE* file) {
  if (std::fflush(file) != 0) return false;
  int result;
  do {
    result = fsync(fileno(file));
  } while (result != 0 && errno == EINTR);
  return result == 0;
}

bool RenameOver(TextView temporary, TextView target) {
  if (std::rename(ToNativeString(temporary).c_str(), ToNativeString(target).c_str()) != 0) {
    return false;
  }
  SyncFolderOf(target);
  return true;
}

}  // namespace vt
