// What the core reads of a file system, behind one interface: the disk, or
// files held in memory (tests, and an editor's unsaved buffers laid over the
// disk). Paths are absolute and "/"-separated; nothing here depends on the
// current folder.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "base/text.h"
#include "platform/file_system.h"

namespace vt {

enum class ReadOutcome {
  Read,
  NotOpened,     // missing, a folder, or not readable
  OutOfHandles,  // exists, but no file handle was left to open it
};

class FileTree {
 public:
  virtual ~FileTree() = default;
  // What `path` is, links followed.
  virtual FileKind KindOf(TextView path) const = 0;
  // Whether `folder` is a folder whose entries can be opened.
  virtual bool CanEnter(TextView folder) const = 0;
  // The names of `folder`'s entries in the tree's own order, with whether
  // each is a folder; false when it could not be listed (completely).
  virtual bool List(TextView folder, std::vector<Text>& names,
                    std::vector<bool>& folders) const = 0;
  // Every byte of the regular file `path` into `bytes`, emptied first.
  virtual ReadOutcome ReadBytes(TextView path, std::string& bytes) const = 0;
  // `path` with links, "." and ".." resolved as far as it exists.
  virtual Text Canonical(TextView path) const = 0;
};

// The operating system's files. It holds nothing, so any number may exist.
class DiskFileTree final : public FileTree {
 public:
  FileKind KindOf(TextView path) const override;
  bool CanEnter(TextView folder) const override;
  bool List(TextView folder, std::vector<Text>& names, std::vector<bool>& folders) const override;
  ReadOutcome ReadBytes(TextView path, std::string& bytes) const override;
  Text Canonical(TextView path) const override;
};

// Files held in memory. Alone, it holds only what was added; over another
// tree, what was added replaces or joins that tree's files, and everything
// else is the other tree's: an editor's unsaved buffers over the disk.
class MemoryFileTree final : public FileTree {
 public:
  MemoryFileTree() = default;
  // `under` must outlive this tree.
  explicit MemoryFileTree(const FileTree& under) : under_(&under) {}

  // Adds or replaces the file `path` (absolute), making the folders above it.
  void SetFile(TextView path, std::string bytes);
  // Adds the folder `path` (absolute) and those above it.
  void AddFolder(TextView path);
  // Drops a file added here, so that the one underneath shows again.
  void ForgetFile(TextView path);

  FileKind KindOf(TextView path) const override;
  bool CanEnter(TextView folder) const override;
  bool List(TextView folder, std::vector<Text>& names, std::vector<bool>& folders) const override;
  ReadOutcome ReadBytes(TextView path, std::string& bytes) const override;
  Text Canonical(TextView path) const override;

 private:
  // Folder to its entries added here, in the order they were added, each
  // with whether it is a folder.
  struct Entries {
    std::vector<Text> names;
    std::vector<bool> folders;
  };
  void AddEntry(const Text& path, bool folder);

  const FileTree* under_ = nullptr;
  std::map<Text, std::string> files_;
  std::map<Text, Entries> folders_;
};

}  // namespace vt
