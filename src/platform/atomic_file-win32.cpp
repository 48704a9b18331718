// The atomic writer on Windows: a new file beside the target, flushed with
// FlushFileBuffers, then ReplaceFileW (which keeps the original's attributes
// and security) or, for a new file, MoveFileExW.
#include "platform/atomic_file.h"

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>

#include "platform/file_bytes.h"
#include "platform/native_path.h"

namespace vt {

namespace {

namespace fs = std::filesystem;

Text Failure(const char* what) {
  DWORD code = GetLastError();
  return FromUtf8(std::string(what) + " (Windows error " + std::to_string(code) + ")");
}

// Closes and deletes the temporary file unless the replace has taken it.
class TemporaryFile {
 public:
  TemporaryFile() = default;
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    if (!path_.empty()) DeleteFileW(path_.c_str());
  }

  Text Create(const fs::path& target) {
    fs::path folder = target.parent_path();
    if (folder.empty()) folder = L".";
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
      std::wstring name = target.filename().wstring() + L"." + std::to_wstring(random()) + L".tmp";
      std::wstring candidate = (folder / name).wstring();
      handle_ = CreateFileW(candidate.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
      if (handle_ != INVALID_HANDLE_VALUE) {
        path_ = candidate;
        return Text();
      }
      if (GetLastError() != ERROR_FILE_EXISTS) {
        return Failure("cannot create a temporary file in its folder");
      }
    }
    return u"cannot create a temporary file in its folder";
  }

  Text WriteAll(std::string_view bytes) {
    while (!bytes.empty()) {
      DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 30));
      DWORD written = 0;
      if (!WriteFile(handle_, bytes.data(), chunk, &written, nullptr) || written == 0) {
        return Failure("cannot write the temporary file");
      }
      bytes.remove_prefix(written);
    }
    if (!FlushFileBuffers(handle_)) return Failure("cannot flush the temporary file to disk");
    HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    if (!CloseHandle(handle)) return Failure("cannot close the temporary file");
    return Text();
  }

  Text RenameOver(const fs::path& target, bool exists) {
    BOOL done = exists ? ReplaceFileW(target.c_str(), path_.c_str(), nullptr,
                                      REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)
                       : MoveFileExW(path_.c_str(), target.c_str(),
                                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!done) return Failure("cannot rename the temporary file over it");
    path_.clear();
    return Text();
  }

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
  std::wstring path_;
};

Text WriteAtomically(TextView path, std::string_view bytes, const std::string_view* expected) {
  fs::path target = ToNative(path);
  DWORD attributes = GetFileAttributesW(target.c_str());
  bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return u"not a regular file";
  if (exists && (attributes & FILE_ATTRIBUTE_READONLY)) return u"the file is read-only";

  TemporaryFile temporary;
  if (Text error = temporary.Create(target); !error.empty()) return error;
  if (Text error = temporary.WriteAll(bytes); !error.empty()) return error;
  if (expected) {
    std::string now;
    if (!ReadFileBytes(path, now) || now != *expected) return u"it changed on disk since it was read";
  }
  return temporary.RenameOver(target, exists);
}

}  // namespace

Text WriteFileAtomically(TextView path, std::string_view bytes) {
  return WriteAtomically(path, bytes, nullptr);
}

Text ReplaceFileAtomically(TextView path, std::string_view bytes, std::string_view expected) {
  return WriteAtomically(path, bytes, &expected);
}

}  // namespace vt
