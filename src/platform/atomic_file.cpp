#include "platform/atomic_file.h"

#include "platform/file_bytes.h"
#include "platform/file_system.h"

#include <filesystem>
#include <system_error>

#include "platform/native_path.h"

namespace vt {

namespace fs = std::filesystem;

namespace {

// The file a write to `path` is meant for: where a link leads, so that the
// link itself survives. Empty when `path` names a folder or a special file.
Text WriteTarget(TextView path) {
  std::error_code ec;
  fs::path native = ToNative(path);
  fs::file_status status = fs::symlink_status(native, ec);
  if (ec || !fs::exists(status)) return Text(path);
  if (fs::is_symlink(status)) {
    fs::path resolved = fs::weakly_canonical(native, ec);
    if (ec) return Text();
    native = resolved;
    status = fs::status(native, ec);
    if (ec) return Text();
    if (!fs::exists(status)) return FromNative(native);
  }
  return fs::is_regular_file(status) ? FromNative(native) : Text();
}

}  // namespace

AtomicFileWriter::~AtomicFileWriter() { Discard(); }

bool AtomicFileWriter::Open(TextView path) {
  Discard();
  failed_ = false;
  if (path.empty()) return false;
  target_ = WriteTarget(path);
  if (target_.empty()) return false;
  file_ = CreateTemporaryBeside(target_, temporary_);
  return file_ != nullptr;
}

void AtomicFileWriter::Write(std::string_view bytes) {
  if (!file_ || failed_) return;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) failed_ = true;
}

bool AtomicFileWriter::Commit() {
  if (!file_) return false;
  bool ok = !failed_ && FlushToDisk(file_);
  ok = std::fclose(file_) == 0 && ok;
  file_ = nullptr;
  if (ok) ok = RenameOver(temporary_, target_);
  if (ok) temporary_.clear();
  Discard();
  return ok;
}

void AtomicFileWriter::Discard() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  if (temporary_.empty()) return;
  std::error_code ec;
  fs::remove(ToNative(temporary_), ec);
  temporary_.clear();
}

namespace {

// `expected` null: no check before the rename.
Fault WriteChecked(TextView path, std::string_view bytes, const std::string_view* expected) {
  if (GetFileKind(path) == FileKind::Folder || GetFileKind(path) == FileKind::Other) {
    return Fault(u"not a regular file");
  }
  AtomicFileWriter out;
  if (!out.Open(path)) return Fault(u"cannot create a temporary file in its folder");
  out.Write(bytes);
  if (expected) {
    std::string now;
    if (!ReadFileBytes(path, now) || now != *expected) {
      return Fault(u"it changed on disk since it was read");
    }
  }
  if (!out.Commit()) return Fault(u"cannot write it (is the disk full?)");
  return Fault();
}

}  // namespace

Fault WriteFileAtomically(TextView path, std::string_view bytes) {
  return WriteChecked(path, bytes, nullptr);
}

Fault ReplaceFileAtomically(TextView path, std::string_view bytes, std::string_view expected) {
  return WriteChecked(path, bytes, &expected);
}

}  // namespace vt
