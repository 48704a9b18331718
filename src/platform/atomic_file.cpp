#include "platform/atomic_file.h"

#include "base/paths.h"
#include "platform/file_bytes.h"
#include "platform/file_system.h"

#include <filesystem>
#include <functional>
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

bool AtomicFileWriter::Open(TextView path, TextView identityOf) {
  Discard();
  failed_ = false;
  changedMeanwhile_ = false;
  if (path.empty()) return false;
  target_ = WriteTarget(path);
  if (target_.empty()) return false;
  atOpen_ = StateOf(target_);
  // A file the user made read-only is not to be replaced behind its back,
  // although the rename alone would be allowed.
  if (GetFileKind(target_) == FileKind::File && !MayWrite(target_)) return false;
  file_ = CreateTemporaryBeside(target_, temporary_, identityOf.empty() ? TextView(target_)
                                                                        : identityOf);
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
  if (ok && !TargetUnchanged()) {
    changedMeanwhile_ = true;
    ok = false;
  }
  if (ok) {
    ok = LinkCount(target_) > 1 ? ReplaceInPlace(temporary_, target_)
                                : RenameOver(temporary_, target_);
  }
  if (ok) temporary_.clear();
  Discard();
  return ok;
}

namespace {

size_t DigestOf(TextView path) {
  std::string bytes;
  ReadFileBytes(path, bytes);
  return std::hash<std::string_view>{}(bytes);
}

}  // namespace

// The times and size tell a change, except one made within the clock's
// coarse tick of the last: then the bytes are read, at Open and again here.
std::optional<AtomicFileWriter::TargetState> AtomicFileWriter::StateOf(TextView target) {
  std::optional<FileState> stamp = FileStateOf(target);
  if (!stamp) return std::nullopt;
  TargetState state{*stamp, std::nullopt};
  if (stamp->recent) state.digest = DigestOf(target);
  return state;
}

bool AtomicFileWriter::TargetUnchanged() const {
  std::optional<FileState> now = FileStateOf(target_);
  if (!now || !atOpen_) return !now && !atOpen_;
  if (!(*now == atOpen_->stamp)) return false;
  return !atOpen_->digest || DigestOf(target_) == *atOpen_->digest;
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
Fault WriteChecked(TextView path, std::string_view bytes, const std::string_view* expected,
                   TextView identityOf) {
  if (Fault fault = CheckReplaceable(path)) return fault;
  AtomicFileWriter out;
  if (!out.Open(path, identityOf)) return Fault(u"cannot create a temporary file in its folder");
  out.Write(bytes);
  if (expected) {
    std::string now;
    if (!ReadFileBytes(path, now) || now != *expected) {
      return Fault(u"changed while being examined; run again");
    }
  }
  if (!out.Commit()) {
    return Fault(out.ChangedMeanwhile() ? u"changed while being examined; run again"
                                        : u"cannot write it (is the disk full?)");
  }
  return Fault();
}

}  // namespace

Fault WriteFileAtomically(TextView path, std::string_view bytes, TextView identityOf) {
  return WriteChecked(path, bytes, nullptr, identityOf);
}

Fault ReplaceFileAtomically(TextView path, std::string_view bytes, std::string_view expected) {
  return WriteChecked(path, bytes, &expected, {});
}

Fault CheckReplaceable(TextView path) {
  FileKind kind = GetFileKind(path);
  if (kind == FileKind::Folder || kind == FileKind::Other) return Fault(u"not a regular file");
  Text target = WriteTarget(path);
  if (target.empty()) return Fault(u"not a regular file");
  if (kind == FileKind::File && !MayWrite(target)) return Fault(u"read-only");
  Text folder = FolderPart(target);
  if (!MayWrite(folder.empty() ? Text(u".") : folder)) {
    return Fault(u"its folder takes no new file (read-only)");
  }
  return Fault();
}

}  // namespace vt
