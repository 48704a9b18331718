#include "lsp/disk_snapshot.h"

namespace vt::lsp {

namespace {

// The answer kept for `key`, asked of the disk the first time.
template <typename Map, typename Ask>
typename Map::mapped_type Remembered(Map& kept, TextView key, Ask ask) {
  auto found = kept.find(key);
  if (found != kept.end()) return found->second;
  return kept.emplace(Text(key), ask()).first->second;
}

}  // namespace

void DiskSnapshot::Forget() {
  kinds_.clear();
  enterable_.clear();
  listings_.clear();
  bytes_.clear();
  canonical_.clear();
}

FileKind DiskSnapshot::KindOf(TextView path) const {
  if (!keep_) return disk_.KindOf(path);
  return Remembered(kinds_, path, [&] { return disk_.KindOf(path); });
}

bool DiskSnapshot::CanEnter(TextView folder) const {
  if (!keep_) return disk_.CanEnter(folder);
  return Remembered(enterable_, folder, [&] { return disk_.CanEnter(folder); });
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
  return Remembered(canonical_, path, [&] { return disk_.Canonical(path); });
}

}  // namespace vt::lsp
