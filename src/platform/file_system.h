// File-system operations. Every path crosses to the operating system here, so
// that the rest of the tool deals only in 16-bit text with "/" separators.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "base/text.h"

namespace vt {

// File is a regular file only; Other is anything else that exists (a FIFO, a
// device, a socket), which the tool never reads.
enum class FileKind { None, File, Folder, Other };

// Follows links: a link to /dev/zero is Other.
FileKind GetFileKind(TextView path);

// Size in bytes, or -1 when the path is not a regular file or cannot be read.
int64_t GetFileSize(TextView path);

// True when `path` is a regular file that can be opened for reading.
bool CanReadFile(TextView path);

// Names of the entries of a folder in the file system's own order, without
// "." and "..". An empty list when the folder cannot be listed.
std::vector<Text> ListFolder(TextView path);
// The same, false when the folder could not be listed (completely).
bool ListFolder(TextView path, std::vector<Text>& names);
// The same, with whether each entry is a folder (links followed) as the
// listing tells it: no status call per entry where the system says.
bool ListFolder(TextView path, std::vector<Text>& names, std::vector<bool>& folders);

// True when both paths name the same existing file (through links, hard
// links, or another spelling of the same path).
bool SameFile(TextView a, TextView b);

// True when `path`, once its links are followed, lies in `folder` or below
// it (at any depth). False when `folder` does not exist.
bool IsInsideFolder(TextView path, TextView folder);

// The current folder with "/" separators; empty when it cannot be told (it
// was removed, or cannot be read). Read only where a path the user gave is
// anchored; nothing in the tool changes it.
Text CurrentFolder();

// True when `path` is a folder whose entries can be opened (on POSIX, one
// the process may search).
bool CanEnterFolder(TextView path);

// What the system's programs' file names end in: ".exe" on Windows, ""
// elsewhere.
TextView ExecutableSuffix();

// The line ending of the system's own text files: "\r\n" on Windows, "\n"
// elsewhere.
TextView NativeLineEnding();

// The folder that holds the running executable, "/"-separated, with no
// trailing slash except at a root.
Text ExecutableFolder();

// The user's home folder on systems that keep programs there ("/"-separated),
// or empty on Windows, where the installation sits in Program Files.
Text HomeFolder();

// The value of the environment variable `name`; empty when it is not set.
Text EnvironmentVariable(const char* name);

// The per-user folder for the program's own files, as Qt names it for an
// application "veltrane" without an organisation: $XDG_DATA_HOME/veltrane or
// ~/.local/share/veltrane, ~/Library/Application Support/veltrane on macOS,
// %APPDATA%/veltrane on Windows. Empty when the system names no absolute
// base folder. Not created here.
Text UserDataFolder();

// True when a new file can be made in `folder`: one is created and removed
// again, since permission bits say nothing of read-only mounts and root.
bool FolderAcceptsNewFiles(TextView folder);

// Creates `folder` and the folders above it as needed. True when it exists.
bool MakeFolders(TextView folder);

// Copies `from` to `to` unless `to` exists. The copy is made under another
// name and renamed, so a failed one leaves no half file. True when `to`
// exists afterwards.
bool CopyFileIfMissing(TextView from, TextView to);

// Buffered reading of bytes. A read error counts as the end of the file.
class ByteReader {
 public:
  ByteReader() = default;
  ByteReader(const ByteReader&) = delete;
  ByteReader& operator=(const ByteReader&) = delete;
  ~ByteReader();

  bool Open(TextView path);
  // Whether the last Open failed because the process or the system had no
  // file handle left (a file that exists, but cannot be opened now).
  bool OutOfHandles() const { return outOfHandles_; }
  bool AtEnd();
  // The next byte, or 0 at the end.
  uint8_t ReadByte();
  // The bytes read ahead from the file and not yet taken (refilled first
  // when none are left); empty at the end. Lets a caller take a run of bytes
  // at once rather than one call per byte.
  std::string_view Buffered();
  // Takes the first `count` bytes of Buffered().
  void Skip(size_t count);
  // Takes every byte left, appended to `out`: the read-ahead ones, then
  // the rest of the file read straight into `out`.
  void TakeRest(std::string& out);
  int64_t Position() const { return position_; }
  void Close();

 private:
  bool Refill();

  std::FILE* file_ = nullptr;
  uint8_t buffer_[65536];
  size_t length_ = 0;
  size_t next_ = 0;
  int64_t position_ = 0;
  bool outOfHandles_ = false;
};

}  // namespace vt
