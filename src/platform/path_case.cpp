#include "platform/path_case.h"

#include <vector>

#include "base/paths.h"
#include "platform/file_system.h"

namespace vt {

namespace {

// The first entry of the listing of `folder` ("" for the current one) that
// equals `lowered` when lower-cased, listing the folder now or taking the
// listing from `listings`.
Text ListedEntry(const Text& folder, const Text& name, FolderListings* listings) {
  Text key = Lower(name);
  Text listed = folder.empty() ? Text(u".") : folder;
  if (listings) {
    const Text* found = listings->Find(AnchorPath(listed, CurrentFolder()), key);
    return found ? *found : name;
  }
  for (const Text& entry : ListFolder(listed)) {
    if (Lower(entry) == key) return entry;
  }
  return name;
}

// The name under which `name` is found in `folder` ("" for the current one).
Text FindEntry(const Text& folder, const Text& name, FolderListings* listings) {
  Text asWritten = folder.empty() ? name : JoinPath(folder, name);
  if (GetFileKind(asWritten) != FileKind::None) return name;
  return ListedEntry(folder, name, listings);
}

Text Resolve(TextView path, FolderListings* listings) {
  std::vector<Text> parts = SplitPath(path);
  Text resolved;
  for (size_t i = 0; i < parts.size(); ++i) {
    const Text& part = parts[i];
    if (i > 0 && resolved != u"/") resolved += u'/';
    if (i == 0 && part.empty()) {
      if (parts.size() > 1) resolved += u'/';
      continue;
    }
    bool isDrive = i == 0 && part.size() == 2 && HasDrivePrefix(part);
    bool isSpecial = part.empty() || part == u"." || part == u"..";
    resolved += isDrive || isSpecial ? part : FindEntry(resolved, part, listings);
  }
  return resolved;
}

}  // namespace

const Text* FolderListings::Find(const Text& folder, const Text& lowered) {
  auto [listing, added] = byFolder_.try_emplace(folder);
  if (added) {
    for (Text& entry : ListFolder(folder)) listing->second.try_emplace(Lower(entry), std::move(entry));
  }
  auto found = listing->second.find(lowered);
  return found == listing->second.end() ? nullptr : &found->second;
}

Text ResolvePathCase(TextView path) { return Resolve(path, nullptr); }

Text ResolvePathCase(TextView path, FolderListings& listings) { return Resolve(path, &listings); }

}  // namespace vt
