#include "platform/file_system.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#if defined(_WIN32)
#include <windows.h>
#elif defined(__linux__)
#include <unistd.h>
#elif defined(__APPLE__)
#include <mach-o/dyld.h>
#endif

namespace vt {

namespace fs = std::filesystem;

namespace {

fs::path ToNative(TextView path) {
#if defined(_WIN32)
  return fs::path(std::wstring(path.begin(), path.end()));
#else
  std::string utf8 = ToUtf8(path);
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
#endif
}

Text FromNative(const fs::path& path) {
#if defined(_WIN32)
  std::wstring w = path.generic_wstring();
  return ForwardSlashes(Text(w.begin(), w.end()));
#else
  std::u8string u8 = path.generic_u8string();
  return FromUtf8(std::string(u8.begin(), u8.end()));
#endif
}

std::FILE* OpenNative(TextView path, const char* mode) {
  if (path.empty()) return nullptr;
#if defined(_WIN32)
  std::wstring wmode(mode, mode + std::char_traits<char>::length(mode));
  return _wfopen(ToNative(path).c_str(), wmode.c_str());
#else
  return std::fopen(ToUtf8(path).c_str(), mode);
#endif
}

}  // namespace

FileKind GetFileKind(TextView path) {
  if (path.empty()) return FileKind::None;
  std::error_code ec;
  fs::file_status st = fs::status(ToNative(path), ec);
  if (ec) return FileKind::None;
  if (fs::is_directory(st)) return FileKind::Folder;
  if (fs::exists(st)) return FileKind::File;
  return FileKind::None;
}

int64_t GetFileSize(TextView path) {
  if (GetFileKind(path) != FileKind::File) return -1;
  std::FILE* f = OpenNative(path, "rb");
  if (!f) return -1;
  std::fclose(f);
  std::error_code ec;
  auto size = fs::file_size(ToNative(path), ec);
  return ec ? -1 : static_cast<int64_t>(size);
}

std::vector<Text> ListFolder(TextView path) {
  std::vector<Text> names;
  std::error_code ec;
  fs::directory_iterator it(ToNative(path), ec);
  if (ec) return names;
  for (; it != fs::directory_iterator(); it.increment(ec)) {
    if (ec) break;
    names.push_back(FromNative(it->path().filename()));
  }
  return names;
}

Text CurrentFolder() {
  std::error_code ec;
  fs::path p = fs::current_path(ec);
  return ec ? Text() : FromNative(p);
}

bool ChangeFolder(TextView path) {
  if (path.empty()) return false;
  std::error_code ec;
  fs::current_path(ToNative(path), ec);
  return !ec;
}

Text ExecutableFolder() {
  fs::path exe;
#if defined(_WIN32)
  wchar_t buf[32768];
  DWORD length = GetModuleFileNameW(nullptr, buf, 32768);
  if (length > 0 && length < 32768) exe = fs::path(std::wstring(buf, length));
#elif defined(__linux__)
  std::error_code ec;
  exe = fs::read_symlink("/proc/self/exe", ec);
#elif defined(__APPLE__)
  char buf[4096];
  uint32_t size = sizeof(buf);
  if (_NSGetExecutablePath(buf, &size) == 0) exe = fs::path(buf);
#endif
  if (exe.empty()) return CurrentFolder();
  Text folder = FromNative(exe.parent_path());
  if (folder.size() > 1 && folder.back() == u'/' &&
      !(folder.size() == 3 && folder[1] == u':')) {
    folder.pop_back();
  }
  return folder;
}

Text HomeFolder() {
#if defined(_WIN32)
  return Text();
#else
  const char* home = std::getenv("HOME");
  return home ? FromUtf8(home) : Text();
#endif
}

ByteReader::~ByteReader() { Close(); }

bool ByteReader::Open(TextView path) {
  Close();
  if (GetFileKind(path) != FileKind::File) return false;
  file_ = OpenNative(path, "rb");
  return file_ != nullptr;
}

bool ByteReader::Refill() {
  if (!file_) return false;
  length_ = std::fread(buffer_, 1, sizeof(buffer_), file_);
  next_ = 0;
  return length_ > 0;
}

bool ByteReader::AtEnd() { return next_ >= length_ && !Refill(); }

uint8_t ByteReader::ReadByte() {
  if (AtEnd()) return 0;
  ++position_;
  return buffer_[next_++];
}

void ByteReader::Close() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  length_ = next_ = 0;
  position_ = 0;
}

ByteWriter::~ByteWriter() { Close(); }

bool ByteWriter::Open(TextView path) {
  Close();
  failed_ = false;
  if (GetFileKind(path) == FileKind::Folder) return false;
  file_ = OpenNative(path, "wb");
  return file_ != nullptr;
}

void ByteWriter::Write(std::string_view bytes) {
  if (!file_) return;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) failed_ = true;
}

bool ByteWriter::Close() {
  if (!file_) return false;
  bool ok = std::fclose(file_) == 0 && !failed_;
  file_ = nullptr;
  return ok;
}

}  // namespace vt
