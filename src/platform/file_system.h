// File-system operations. Every path crosses to the operating system here, so
// that the rest of the tool deals only in 16-bit text with "/" separators.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "base/text.h"

namespace vt {

enum class FileKind { None, File, Folder };

FileKind GetFileKind(TextView path);

// Size in bytes, or -1 when the file does not exist or cannot be read.
int64_t GetFileSize(TextView path);

// Names of the entries of a folder in the file system's own order, without
// "." and "..". An empty list when the folder cannot be listed.
std::vector<Text> ListFolder(TextView path);

// The current folder with "/" separators.
Text CurrentFolder();
bool ChangeFolder(TextView path);

// The folder that holds the running executable, "/"-separated, with no
// trailing slash except at a root.
Text ExecutableFolder();

// The user's home folder on systems that keep programs there ("/"-separated),
// or empty on Windows, where the installation sits in Program Files.
Text HomeFolder();

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

// Writing of bytes to a file that is created or cut to zero length.
class ByteWriter {
 public:
  ByteWriter() = default;
  ByteWriter(const ByteWriter&) = delete;
  ByteWriter& operator=(const ByteWriter&) = delete;
  ~ByteWriter();

  bool Open(TextView path);
  void Write(std::string_view bytes);
  // False when any write or the close failed.
  bool Close();

 private:
  std::FILE* file_ = nullptr;
  bool failed_ = false;
};

}  // namespace vt
