// Paths on POSIX systems are bytes, UTF-8 by convention but not by force.
#include "platform/native_path.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <system_error>

#include "base/paths.h"
#include "platform/file_system.h"

#if defined(__APPLE__)
#include <mach-o/dyld.h>
#endif

namespace vt {

namespace fs = std::filesystem;

namespace {

constexpr char16_t kEscapedByteBase = 0xDC00;

bool IsEscapedByte(char32_t unit) { return unit >= 0xDC80 && unit <= 0xDCFF; }

// The length of the valid UTF-8 sequence at `at`, or 0 when it is not one.
size_t ValidSequenceLength(std::string_view bytes, size_t at) {
  unsigned char b = static_cast<unsigned char>(bytes[at]);
  if (b < 0x80) return 1;
  size_t length = b >= 0xC2 && b < 0xE0 ? 2 : b >= 0xE0 && b < 0xF0 ? 3 : b >= 0xF0 && b < 0xF5 ? 4 : 0;
  if (length == 0 || at + length > bytes.size()) return 0;
  for (size_t i = 1; i < length; ++i) {
    if ((static_cast<unsigned char>(bytes[at + i]) & 0xC0) != 0x80) return 0;
  }
  unsigned char c = static_cast<unsigned char>(bytes[at + 1]);
  if (b == 0xE0 && c < 0xA0) return 0;   // overlong
  if (b == 0xED && c >= 0xA0) return 0;  // a surrogate
  if (b == 0xF0 && c < 0x90) return 0;   // overlong
  if (b == 0xF4 && c >= 0x90) return 0;  // above U+10FFFF
  return length;
}

}  // namespace

Text FromNativeString(std::string_view bytes) {
  Text out;
  out.reserve(bytes.size());
  size_t at = 0;
  while (at < bytes.size()) {
    size_t length = ValidSequenceLength(bytes, at);
    if (length == 0) {
      out += static_cast<char16_t>(kEscapedByteBase + static_cast<unsigned char>(bytes[at]));
      ++at;
      continue;
    }
    out += FromUtf8(bytes.substr(at, length));
    at += length;
  }
  return out;
}

std::string ToNativeString(TextView text) {
  std::string out;
  out.reserve(text.size());
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (!IsEscapedByte(text[i])) continue;
    out += ToUtf8(text.substr(start, i - start));
    out += static_cast<char>(text[i] - kEscapedByteBase);
    start = i + 1;
  }
  out += ToUtf8(text.substr(start));
  return out;
}

fs::path ToNative(TextView path) { return fs::path(ToNativeString(path)); }

Text FromNative(const fs::path& path) { return FromNativeString(path.generic_string()); }

std::FILE* OpenNative(TextView path, const char* mode) {
  if (path.empty()) return nullptr;
  return std::fopen(ToNativeString(path).c_str(), mode);
}

std::FILE* OpenRegularFile(TextView path) {
  if (path.empty()) return nullptr;
  // Without O_NONBLOCK, opening a FIFO waits for a writer that may never come.
  int fd = open(ToNativeString(path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    return nullptr;
  }
  // O_NONBLOCK may stay: it changes nothing for a regular file.
  std::FILE* file = fdopen(fd, "rb");
  if (!file) close(fd);
  return file;
}

std::optional<FileIdentity> IdentityOf(TextView path) {
  struct stat info;
  if (path.empty() || stat(ToNativeString(path).c_str(), &info) != 0) return std::nullopt;
  return FileIdentity{static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino)};
}

namespace {

int64_t Nanoseconds(const struct timespec& time) {
  return static_cast<int64_t>(time.tv_sec) * 1000000000 + time.tv_nsec;
}

}  // namespace

std::optional<FileState> FileStateOf(TextView path) {
  struct stat info;
  if (path.empty() || stat(ToNativeString(path).c_str(), &info) != 0) return std::nullopt;
  FileState stamp;
  stamp.identity = {static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino)};
  stamp.size = static_cast<int64_t>(info.st_size);
#if defined(__APPLE__)
  stamp.modified = Nanoseconds(info.st_mtimespec);
  stamp.changed = Nanoseconds(info.st_ctimespec);
#else
  stamp.modified = Nanoseconds(info.st_mtim);
  stamp.changed = Nanoseconds(info.st_ctim);
#endif
  struct timespec now;
  clock_gettime(CLOCK_REALTIME, &now);
  stamp.recent = Nanoseconds(now) - stamp.changed < 2000000000;
  return stamp;
}

fs::path ExecutablePath() {
#if defined(__APPLE__)
  char buf[4096];
  uint32_t size = sizeof(buf);
  if (_NSGetExecutablePath(buf, &size) == 0) return fs::path(buf);
  return fs::path();
#else
  std::error_code ec;
  return fs::read_symlink("/proc/self/exe", ec);
#endif
}

TextView ExecutableSuffix() { return u""; }

TextView NativeLineEnding() { return u"\n"; }

bool CanEnterFolder(TextView path) {
  std::string native = ToNativeString(path);
  struct stat status;
  if (::stat(native.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) return false;
  // The effective IDs, as opening an entry would use them.
  return ::faccessat(AT_FDCWD, native.c_str(), X_OK, AT_EACCESS) == 0;
}

Text HomeFolder() {
  const char* home = std::getenv("HOME");
  return home ? FromNativeString(home) : Text();
}

Text EnvironmentVariable(const char* name) {
  const char* value = std::getenv(name);
  return value ? FromNativeString(value) : Text();
}

namespace {

// An environment variable that names an absolute folder, else empty: a
// relative one would move with the current folder.
Text AbsoluteFolderFrom(const char* variable) {
  const char* value = std::getenv(variable);
  if (!value) return Text();
  Text folder = FromUtf8(value);
  return IsAbsolutePath(folder) ? folder : Text();
}

}  // namespace

Text UserDataFolder() {
  Text home = AbsoluteFolderFrom("HOME");
#if defined(__APPLE__)
  if (home.empty()) return Text();
  return JoinPath(home, u"Library/Application Support/veltrane");
#else
  Text base = AbsoluteFolderFrom("XDG_DATA_HOME");
  if (base.empty() && !home.empty()) base = JoinPath(home, u".local/share");
  if (base.empty()) return Text();
  return JoinPath(base, u"veltrane");
#endif
}

}  // namespace vt
