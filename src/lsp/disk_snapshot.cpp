#include "lsp/disk_snapshot.h"

namespace vt::lsp {

void DiskSnapshot::Forget() {
  kinds_.clear();
  enterable_.clear();
  listings_.clear();
  bytes_.clear();
  canonical_.clear();
}

FileKind DiskSnapshot::KindOf(TextView path) const {
  if (!keep_) return disk_.KindOf(path);
  auto found = kinds_.find(path);
  if (found != kinds_.end()) return found->second;
  FileKind kind = disk_.KindOf(path);
  kinds_.emplace(Text(path), kind);
  return kind;
}

bool DiskSnapshot::CanEnter(TextView folder) const {
  if (!keep_) return disk_.CanEnter(folder);
  auto found = enterable_.find(folder);
  if (found != enterable_.end()) return found->second;
  bool can = disk_.CanEnter(folder);
  enterable_.emplace(Text(folder), can);
  return can;
}

bool DiskSnapshot::List(TextView folder, std::vector<Text>& names,
                        std::vector<bool>& folders) const {
  if (!keep_) return disk_.List(folder, names, folders);
  auto found = listings_.find(folder);
  if (found == listings_.end()) {
    Listing listing;
    listing.listed = disk_.List(folder, listing.names, listing.folders);
    found = listings_.emplace(Text(folder), std::move(listing)).first;
  }
  names = found->second.names;
  folders = found->second.folders;
  return found->second.listed;
}

ReadOutcome DiskSnapshot::ReadBytes(TextView path, std::string& bytes) const {
  if (!keep_) return disk_.ReadBytes(path, bytes);
  auto found = bytes_.find(path);
  if (found != bytes_.end()) {
    bytes = found->second;
    return ReadOutcome::Read;
  }
  ReadOutcome outcome = disk_.ReadBytes(path, bytes);
  if (outcome == ReadOutcome::Read) bytes_.emplace(Text(path), bytes);
  return outcome;
}

Text DiskSnapshot::Canonical(TextView path) const {
  if (!keep_) return disk_.Canonical(path);
  auto found = canonical_.find(path);
  if (found != canonical_.end()) return found->second;
  Text canonical = disk_.Canonical(path);
  canonical_.emplace(Text(path), canonical);
  return canonical;
}

}  // namespace vt::lsp
