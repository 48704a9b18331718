// Paths on POSIX systems are UTF-8 bytes.
#include "platform/native_path.h"

#include <cstdlib>
#include <string>
#include <system_error>

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

}  // namespace vt
