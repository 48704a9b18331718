#include "platform/file_system.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "base/paths.h"
#include "platform/native_path.h"

namespace vt {

namespace fs = std::filesystem;

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
  fs::path exe = ExecutablePath();
  if (exe.empty()) return CurrentFolder();
  Text folder = FromNative(exe.parent_path());
  if (folder.size() > 1 && folder.back() == u'/' && !IsRootFolder(folder)) {
    folder.pop_back();
  }
  return folder;
}

ByteReader::~ByteReader() { Close(); }

bool ByteReader::Open(TextView path) {
  Close();
  outOfHandles_ = false;
  if (GetFileKind(path) != FileKind::File) return false;
  errno = 0;
  file_ = OpenNative(path, "rb");
  if (!file_) outOfHandles_ = errno == EMFILE || errno == ENFILE;
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
