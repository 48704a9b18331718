#include "platform/file_system.h"

#include "platform/atomic_file.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <random>
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
  if (fs::is_regular_file(st)) return FileKind::File;
  if (fs::exists(st)) return FileKind::Other;
  return FileKind::None;
}

int64_t GetFileSize(TextView path) {
  std::FILE* f = OpenRegularFile(path);
  if (!f) return -1;
  std::fclose(f);
  std::error_code ec;
  auto size = fs::file_size(ToNative(path), ec);
  return ec ? -1 : static_cast<int64_t>(size);
}

bool CanReadFile(TextView path) {
  std::FILE* f = OpenRegularFile(path);
  if (!f) return false;
  std::fclose(f);
  return true;
}

std::vector<Text> ListFolder(TextView path) {
  std::vector<Text> names;
  ListFolder(path, names);
  return names;
}

bool ListFolder(TextView path, std::vector<Text>& names) {
  std::vector<bool> folders;
  return ListFolder(path, names, folders);
}

bool ListFolder(TextView path, std::vector<Text>& names, std::vector<bool>& folders) {
  names.clear();
  folders.clear();
  std::error_code ec;
  fs::directory_iterator it(ToNative(path), ec);
  if (ec) return false;
  for (; it != fs::directory_iterator(); it.increment(ec)) {
    if (ec) return false;
    names.push_back(FromNative(it->path().filename()));
    std::error_code kindError;
    folders.push_back(it->is_directory(kindError) && !kindError);
  }
  return true;
}

bool SameFile(TextView a, TextView b) {
  std::optional<FileIdentity> first = IdentityOf(a);
  return first && IdentityOf(b) == first;
}

bool IsInsideFolder(TextView path, TextView folder) {
  if (path.empty() || folder.empty()) return false;
  std::error_code ec;
  fs::path container = fs::canonical(ToNative(folder), ec);
  if (ec) return false;
  fs::path inside = fs::weakly_canonical(ToNative(path), ec);
  if (ec) return false;
  auto mismatch = std::mismatch(container.begin(), container.end(), inside.begin(), inside.end());
  return mismatch.first == container.end();
}

Text CurrentFolder() {
  std::error_code ec;
  fs::path p = fs::current_path(ec);
  return ec ? Text() : FromNative(p);
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

namespace {

// A name no other file in the folder is likely to have.
Text UniqueName(TextView prefix) {
  std::random_device random;
  return Text(prefix) + Decimal(random()) + Decimal(random());
}

}  // namespace

bool FolderAcceptsNewFiles(TextView folder) {
  return GetFileKind(folder) == FileKind::Folder && MayWrite(folder);
}

bool MakeFolders(TextView folder) {
  if (folder.empty()) return false;
  std::error_code ec;
  fs::create_directories(ToNative(folder), ec);
  return GetFileKind(folder) == FileKind::Folder;
}

bool CopyFileIfMissing(TextView from, TextView to) {
  if (GetFileKind(to) != FileKind::None) return GetFileKind(to) == FileKind::File;
  if (GetFileKind(from) != FileKind::File) return false;
  Text partial = Text(to) + UniqueName(u".part");
  std::error_code ec;
  fs::copy_file(ToNative(from), ToNative(partial), ec);
  if (!ec) fs::rename(ToNative(partial), ToNative(to), ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(ToNative(partial), ignored);
    return GetFileKind(to) == FileKind::File;
  }
  return true;
}

ByteReader::~ByteReader() { Close(); }

bool ByteReader::Open(TextView path) {
  Close();
  outOfHandles_ = false;
  errno = 0;
  file_ = OpenRegularFile(path);
  if (!file_) {
    outOfHandles_ = errno == EMFILE || errno == ENFILE;
    return false;
  }
  // The reader has a buffer of its own; a second one in the stream would
  // only cost a copy (and a status call) per file.
  std::setvbuf(file_, nullptr, _IONBF, 0);
  return true;
}

bool ByteReader::Refill() {
  // Once the end was reached, asking the system again would only hear so.
  if (!file_ || std::feof(file_)) return false;
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

std::string_view ByteReader::Buffered() {
  if (AtEnd()) return {};
  return {reinterpret_cast<const char*>(buffer_ + next_), length_ - next_};
}

void ByteReader::Skip(size_t count) {
  count = std::min(count, length_ - next_);
  next_ += count;
  position_ += static_cast<int64_t>(count);
}

void ByteReader::TakeRest(std::string& out) {
  std::string_view ahead = Buffered();
  out.append(ahead);
  Skip(ahead.size());
  if (!file_ || std::feof(file_)) return;
  size_t got = 0;
  do {
    size_t used = out.size();
    out.resize(used + sizeof(buffer_));
    got = std::fread(out.data() + used, 1, sizeof(buffer_), file_);
    out.resize(used + got);
    position_ += static_cast<int64_t>(got);
  } while (got > 0);
}

void ByteReader::Close() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  length_ = next_ = 0;
  position_ = 0;
}

}  // namespace vt
