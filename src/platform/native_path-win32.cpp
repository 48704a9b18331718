// Paths on Windows are UTF-16, like the tool's own text.
#include "platform/native_path.h"

#include <cstring>
#include <string>

#include <sys/stat.h>
#include <windows.h>

#include <cstdlib>
#include <cwchar>
#include <string>

#include "base/paths.h"
#include "platform/file_system.h"

namespace vt {

namespace fs = std::filesystem;

fs::path ToNative(TextView path) { return fs::path(std::wstring(path.begin(), path.end())); }

Text FromNative(const fs::path& path) {
  std::wstring w = path.generic_wstring();
  return ForwardSlashes(Text(w.begin(), w.end()));
}

// Names on Windows are UTF-16 already; byte strings only meet the console.
std::string ToNativeString(TextView text) { return ToUtf8(text); }
Text FromNativeString(std::string_view bytes) { return FromUtf8(bytes); }

std::FILE* OpenNative(TextView path, const char* mode) {
  if (path.empty()) return nullptr;
  std::wstring wmode(mode, mode + std::char_traits<char>::length(mode));
  return _wfopen(ToNative(path).c_str(), wmode.c_str());
}

std::FILE* OpenRegularFile(TextView path) {
  std::FILE* file = OpenNative(path, "rb");
  if (!file) return nullptr;
  struct _stat64 info;
  if (_fstat64(_fileno(file), &info) != 0 || (info.st_mode & _S_IFMT) != _S_IFREG) {
    std::fclose(file);
    return nullptr;
  }
  return file;
}

std::optional<FileIdentity> IdentityOf(TextView path) {
  if (path.empty()) return std::nullopt;
  // Backup semantics, so that a folder opens too; no access is asked for.
  HANDLE handle = CreateFileW(ToNative(path).c_str(), 0,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info;
  bool known = GetFileInformationByHandle(handle, &info) != 0;
  CloseHandle(handle);
  if (!known) return std::nullopt;
  uint64_t file = (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  return FileIdentity{info.dwVolumeSerialNumber, file};
}

std::optional<FileState> FileStateOf(TextView path) {
  if (path.empty()) return std::nullopt;
  HANDLE handle = CreateFileW(ToNative(path).c_str(), 0,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info;
  bool known = GetFileInformationByHandle(handle, &info) != 0;
  CloseHandle(handle);
  if (!known) return std::nullopt;
  auto join = [](DWORD high, DWORD low) {
    return static_cast<int64_t>((static_cast<uint64_t>(high) << 32) | low);
  };
  FileState stamp;
  stamp.identity = {info.dwVolumeSerialNumber,
                    static_cast<uint64_t>(join(info.nFileIndexHigh, info.nFileIndexLow))};
  stamp.size = join(info.nFileSizeHigh, info.nFileSizeLow);
  stamp.modified = join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime);
  // Windows keeps no change time a user cannot set; the write time serves.
  stamp.changed = stamp.modified;
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  stamp.recent = join(now.dwHighDateTime, now.dwLowDateTime) - stamp.changed < 20000000;
  return stamp;
}

fs::path ExecutablePath() {
  wchar_t buf[32768];
  DWORD length = GetModuleFileNameW(nullptr, buf, 32768);
  if (length > 0 && length < 32768) return fs::path(std::wstring(buf, length));
  return fs::path();
}

TextView ExecutableSuffix() { return u".exe"; }

TextView NativeLineEnding() { return u"\r\n"; }

// Windows has no search permission apart from reading.
bool CanEnterFolder(TextView path) { return GetFileKind(path) == FileKind::Folder; }

// The installation sits in Program Files, not in the user's home.
Text HomeFolder() { return Text(); }

Text EnvironmentVariable(const char* name) {
  std::wstring wide(name, name + std::strlen(name));
  const wchar_t* value = _wgetenv(wide.c_str());
  if (!value) return Text();
  return Text(value, value + std::wcslen(value));
}

// The roaming application data folder, where Qt keeps an application's data.
Text UserDataFolder() {
  const wchar_t* appData = _wgetenv(L"APPDATA");
  if (!appData || !*appData) return Text();
  Text base = ForwardSlashes(Text(appData, appData + std::wcslen(appData)));
  if (!IsAbsolutePath(base)) return Text();
  return JoinPath(base, u"veltrane");
}

}  // namespace vt
