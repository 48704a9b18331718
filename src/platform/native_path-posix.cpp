// Paths on POSIX systems are UTF-8 bytes.
#include "platform/native_path.h"

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

fs::path ToNative(TextView path) {
  std::string utf8 = ToUtf8(path);
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

Text FromNative(const fs::path& path) {
  std::u8string u8 = path.generic_u8string();
  return FromUtf8(std::string(u8.begin(), u8.end()));
}

std::FILE* OpenNative(TextView path, const char* mode) {
  if (path.empty()) return nullptr;
  return std::fopen(ToUtf8(path).c_str(), mode);
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

Text HomeFolder() {
  const char* home = std::getenv("HOME");
  return home ? FromUtf8(home) : Text();
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
