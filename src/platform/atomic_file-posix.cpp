// The temporary file, the flush and the rename on POSIX systems.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "base/paths.h"
#include "platform/atomic_file.h"
#include "platform/file_bytes.h"
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

// Gives the new file `fd` the identity of the file at `like`: owner and
// group where the process may set them (root may; a user may pick a group
// of its own), then the permission bits, which a change of owner can clear.
void TakeIdentity(int fd, TextView like) {
  struct stat old;
  if (stat(ToNativeString(like).c_str(), &old) != 0) {
    fchmod(fd, NewFileMode());
    return;
  }
  if (fchown(fd, old.st_uid, old.st_gid) != 0 && fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0) {
    // Neither may be set: the file stays this user's, as any new file would.
  }
  fchmod(fd, old.st_mode & 07777);
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t wrote = write(fd, bytes.data(), bytes.size());
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(wrote));
  }
  return fsync(fd) == 0;
}

// Puts `bytes` into the file at `path` itself, truncating it first.
bool OverwriteInPlace(TextView path, std::string_view bytes) {
  int fd = open(ToNativeString(path).c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = WriteAll(fd, bytes);
  return close(fd) == 0 && ok;
}

}  // namespace

std::FILE* CreateTemporaryBeside(TextView target, Text& temporary, TextView identityOf) {
  Text folder = FolderPart(target);
  Text pattern = (folder.empty() ? Text() : JoinPath(folder, u"")) + u"." + FileName(target) +
                 u".XXXXXX";
  std::string name = ToNativeString(pattern);
  std::vector<char> buffer(name.begin(), name.end());
  buffer.push_back('\0');
  int fd = mkstemp(buffer.data());
  if (fd < 0) return nullptr;
  temporary = FromNativeString(buffer.data());
  TakeIdentity(fd, identityOf);
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

size_t LinkCount(TextView path) {
  struct stat info;
  if (stat(ToNativeString(path).c_str(), &info) != 0) return 1;
  return static_cast<size_t>(info.st_nlink);
}

bool ReplaceInPlace(TextView temporary, TextView target) {
  std::string old, now;
  if (!ReadFileBytes(target, old) || !ReadFileBytes(temporary, now)) return false;
  // The old bytes are kept on the disk until the new ones are, so that a
  // crash in between leaves them recoverable beside the file.
  Text safety;
  std::FILE* keep = CreateTemporaryBeside(target, safety, target);
  if (!keep) return false;
  bool kept = std::fwrite(old.data(), 1, old.size(), keep) == old.size() && FlushToDisk(keep);
  kept = std::fclose(keep) == 0 && kept;
  if (!kept || !OverwriteInPlace(target, now)) {
    // Put the old bytes back; only when even that fails is the copy left.
    if (kept && OverwriteInPlace(target, old)) unlink(ToNativeString(safety).c_str());
    return false;
  }
  unlink(ToNativeString(safety).c_str());
  unlink(ToNativeString(temporary).c_str());
  return true;
}

bool MayWrite(TextView path) {
  std::string native = ToNativeString(path);
  struct stat info;
  if (stat(native.c_str(), &info) != 0) return false;
  int wanted = S_ISDIR(info.st_mode) ? (W_OK | X_OK) : W_OK;
  // As the process acts, not as the user who started it.
  return faccessat(AT_FDCWD, native.c_str(), wanted, AT_EACCESS) == 0;
}

}  // namespace vt
