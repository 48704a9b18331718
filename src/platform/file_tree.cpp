#include "platform/file_tree.h"

#include <algorithm>

#include "base/paths.h"
#include "platform/file_bytes.h"
#include "platform/native_path.h"

namespace vt {

FileKind DiskFileTree::KindOf(TextView path) const { return GetFileKind(path); }

bool DiskFileTree::CanEnter(TextView folder) const { return CanEnterFolder(folder); }

bool DiskFileTree::List(TextView folder, std::vector<Text>& names,
                        std::vector<bool>& folders) const {
  return ListFolder(folder, names, folders);
}

ReadOutcome DiskFileTree::ReadBytes(TextView path, std::string& bytes) const {
  bytes.clear();
  ByteReader reader;
  if (!reader.Open(path)) {
    return reader.OutOfHandles() ? ReadOutcome::OutOfHandles : ReadOutcome::NotOpened;
  }
  reader.TakeRest(bytes);
  return ReadOutcome::Read;
}

Text DiskFileTree::Canonical(TextView path) const { return CanonicalPath(path); }

namespace {

// The one spelling of a path this tree keys by.
Text Key(TextView path) { return NormalisePath(path); }

}  // namespace

void MemoryFileTree::AddEntry(const Text& path, bool folder) {
  if (IsRootFolder(path)) {
    folders_.try_emplace(path);
    return;
  }
  Text parent = FolderPart(path);
  if (parent.empty()) return;
  AddEntry(parent, true);
  Entries& entries = folders_[parent];
  Text name = FileName(path);
  if (std::find(entries.names.begin(), entries.names.end(), name) != entries.names.end()) return;
  entries.names.push_back(name);
  entries.folders.push_back(folder);
  if (folder) folders_.try_emplace(path);
}

void MemoryFileTree::SetFile(TextView path, std::string bytes) {
  Text key = Key(path);
  AddEntry(key, false);
  files_[key] = std::move(bytes);
}

void MemoryFileTree::AddFolder(TextView path) { AddEntry(Key(path), true); }

void MemoryFileTree::ForgetFile(TextView path) {
  Text key = Key(path);
  if (files_.erase(key) == 0) return;
  auto folder = folders_.find(FolderPart(key));
  if (folder == folders_.end()) return;
  Entries& entries = folder->second;
  auto at = std::find(entries.names.begin(), entries.names.end(), FileName(key));
  if (at == entries.names.end()) return;
  entries.folders.erase(entries.folders.begin() + (at - entries.names.begin()));
  entries.names.erase(at);
}

FileKind MemoryFileTree::KindOf(TextView path) const {
  Text key = Key(path);
  if (files_.count(key)) return FileKind::File;
  if (folders_.count(key)) return FileKind::Folder;
  return under_ ? under_->KindOf(path) : FileKind::None;
}

bool MemoryFileTree::CanEnter(TextView folder) const {
  if (folders_.count(Key(folder))) return true;
  return under_ && under_->CanEnter(folder);
}

bool MemoryFileTree::List(TextView folder, std::vector<Text>& names,
                          std::vector<bool>& folders) const {
  names.clear();
  folders.clear();
  bool listed = under_ && under_->List(folder, names, folders);
  auto own = folders_.find(Key(folder));
  if (own == folders_.end()) return listed;
  for (size_t i = 0; i < own->second.names.size(); ++i) {
    const Text& name = own->second.names[i];
    if (std::find(names.begin(), names.end(), name) != names.end()) continue;
    names.push_back(name);
    folders.push_back(own->second.folders[i]);
  }
  return true;
}

ReadOutcome MemoryFileTree::ReadBytes(TextView path, std::string& bytes) const {
  auto file = files_.find(Key(path));
  if (file != files_.end()) {
    bytes = file->second;
    return ReadOutcome::Read;
  }
  bytes.clear();
  return under_ ? under_->ReadBytes(path, bytes) : ReadOutcome::NotOpened;
}

Text MemoryFileTree::Canonical(TextView path) const {
  // Over another tree the folders are that tree's, links and all: a buffer
  // must not give its file a second name.
  return under_ ? under_->Canonical(path) : Key(path);
}

}  // namespace vt
