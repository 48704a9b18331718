// How a path of the tool becomes a path of the operating system and back;
// one implementation per system (native_path-posix.cpp, -win32.cpp).
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "base/text.h"

namespace vt {

std::filesystem::path ToNative(TextView path);
// "/"-separated.
Text FromNative(const std::filesystem::path& path);

// A name as the system's byte-string calls take it, and back. On POSIX a
// name is bytes that need not be UTF-8: a byte that is not part of valid
// UTF-8 becomes the lone surrogate U+DC80..U+DCFF and turns back into the
// same byte, so that every existing name can be reached again.
std::string ToNativeString(TextView text);
Text FromNativeString(std::string_view bytes);

// fopen with a tool path; null for an empty path.
std::FILE* OpenNative(TextView path, const char* mode);
// Opens a regular file for reading in binary mode; null for anything else
// (a folder, a FIFO, a device) without waiting for a writer or a device.
std::FILE* OpenRegularFile(TextView path);
// Which file a path names, links followed: two paths name one file when
// their identities are equal. Nothing when the path names no file.
struct FileIdentity {
  uint64_t device = 0;
  uint64_t file = 0;
  bool operator==(const FileIdentity&) const = default;
};
std::optional<FileIdentity> IdentityOf(TextView path);
// What tells one state of a file from a later one: which file it is, its
// size, when its bytes changed and (where the system keeps it) when anything
// about it last changed, which no user can set back. Nothing when the path
// names no file.
struct FileState {
  FileIdentity identity;
  int64_t size = 0;
  int64_t modified = 0;
  int64_t changed = 0;
  // The file changed so lately (within two seconds) that a change made now
  // could leave the times as they are, the system's clock being coarse: only
  // its bytes can tell. Not part of the comparison.
  bool recent = false;
  bool operator==(const FileState& other) const {
    return identity == other.identity && size == other.size && modified == other.modified &&
           changed == other.changed;
  }
};
std::optional<FileState> FileStateOf(TextView path);
// The running executable's own path, or empty when the system cannot tell.
std::filesystem::path ExecutablePath();

}  // namespace vt
