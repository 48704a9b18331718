// The atomic writer on POSIX systems: open(O_EXCL) in the target's folder,
// fsync, rename(2), then fsync of the folder so that the rename lasts too.
#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>

#include "platform/file_bytes.h"
#include "platform/native_path.h"

namespace vt {

namespace {

namespace fs = std::filesystem;

Text Failure(const std::string& what, int error) {
  return FromUtf8(what + ": " + std::strerror(error));
}

// Removes the temporary file unless the rename has taken it.
class TemporaryFile {
 public:
  TemporaryFile() = default;
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!path_.empty()) ::unlink(path_.c_str());
  }

  // Creates a new file beside `target`; an error text on failure.
  Text Create(const fs::path& target) {
    fs::path folder = target.parent_path();
    if (folder.empty()) folder = ".";
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
      std::string name = "." + target.filename().string() + "." + std::to_string(random()) + ".tmp";
      std::string candidate = (folder / name).string();
      fd_ = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd_ >= 0) {
        path_ = candidate;
        return Text();
      }
      if (errno != EEXIST) return Failure("cannot create a temporary file in its folder", errno);
    }
    return u"cannot create a temporary file in its folder";
  }

  // The owner and permissions of the file it replaces; chown may clear the
  // set-id bits, so the mode comes after it.
  void TakeOwnerAndModeOf(const struct stat& old) {
    if (::fchown(fd_, old.st_uid, old.st_gid) != 0) {
      // Only the owner may give a file away; the mode still carries over.
    }
    ::fchmod(fd_, old.st_mode & 07777);
  }

  Text WriteAll(std::string_view bytes) {
    while (!bytes.empty()) {
      ssize_t written = ::write(fd_, bytes.data(), bytes.size());
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) return Failure("cannot write the temporary file", errno ? errno : EIO);
      bytes.remove_prefix(static_cast<size_t>(written));
    }
    if (::fsync(fd_) != 0) return Failure("cannot flush the temporary file to disk", errno);
    int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) return Failure("cannot close the temporary file", errno);
    return Text();
  }

  Text RenameOver(const fs::path& target) {
    if (::rename(path_.c_str(), target.c_str()) != 0) {
      return Failure("cannot rename the temporary file over it", errno);
    }
    path_.clear();
    return Text();
  }

 private:
  int fd_ = -1;
  std::string path_;
};

void SyncFolderOf(const fs::path& target) {
  fs::path folder = target.parent_path();
  if (folder.empty()) folder = ".";
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

Text WriteAtomically(TextView path, std::string_view bytes, const std::string_view* expected) {
  fs::path target = ToNative(path);
  // Through a symbolic link the file it points to is replaced, not the link.
  std::error_code ec;
  if (fs::is_symlink(fs::symlink_status(target, ec))) {
    target = fs::canonical(target, ec);
    if (ec) return FromUtf8("cannot follow the link: " + ec.message());
  }
  struct stat old {};
  bool exists = ::stat(target.c_str(), &old) == 0;
  if (exists && !S_ISREG(old.st_mode)) return u"not a regular file";

  TemporaryFile temporary;
  if (Text error = temporary.Create(target); !error.empty()) return error;
  if (exists) temporary.TakeOwnerAndModeOf(old);
  if (Text error = temporary.WriteAll(bytes); !error.empty()) return error;
  if (expected) {
    std::string now;
    if (!ReadFileBytes(FromNative(target), now) || now != *expected) {
      return u"it changed on disk since it was read";
    }
  }
  if (Text error = temporary.RenameOver(target); !error.empty()) return error;
  SyncFolderOf(target);
  return Text();
}

}  // namespace

Text WriteFileAtomically(TextView path, std::string_view bytes) {
  return WriteAtomically(path, bytes, nullptr);
}

Text ReplaceFileAtomically(TextView path, std::string_view bytes, std::string_view expected) {
  return WriteAtomically(path, bytes, &expected);
}

}  // namespace vt
