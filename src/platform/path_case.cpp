#include "platform/path_case.h"

#include <vector>

#include "base/paths.h"
#include "platform/file_tree.h"

namespace vt {

namespace {

// `path` as the system should look it up: relative paths from `base` when
// one is given, else from the current folder.
Text FromBase(const Text& path, TextView base) {
  return base.empty() ? path : AnchorPath(path, base);
}

// The first entry of the listing of `folder` ("" for the base folder) that
// equals `lowered` when lower-cased, listing the folder now or taking the
// listing from `listings`.
Text ListedEntry(const FileTree& files, const Text& folder, const Text& name, TextView base,
                 FolderListings* listings) {
  Text key = Lower(name);
  Text listed = folder.empty() ? Text(u".") : folder;
  if (listings) {
    Text absolute = base.empty() ? AnchorPath(listed, CurrentFolder()) : AnchorPath(listed, base);
    const Text* found = listings->Find(files, absolute, key);
    return found ? *found : name;
  }
  std::vector<Text> entries;
  std::vector<bool> folders;
  files.List(FromBase(listed, base), entries, folders);
  for (const Text& entry : entries) {
    if (Lower(entry) == key) return entry;
  }
  return name;
}

// The name under which `name` is found in `folder` ("" for the base one).
Text FindEntry(const FileTree& files, const Text& folder, const Text& name, TextView base,
               FolderListings* listings) {
  Text asWritten = folder.empty() ? name : JoinPath(folder, name);
  if (files.KindOf(FromBase(asWritten, base)) != FileKind::None) return name;
  return ListedEntry(files, folder, name, base, listings);
}

Text Resolve(const FileTree& files, TextView path, TextView base, FolderListings* listings) {
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
    resolved += isDrive || isSpecial ? part : FindEntry(files, resolved, part, base, listings);
  }
  return resolved;
}

}  // namespace

const Text* FolderListings::Find(const FileTree& files, const Text& folder, const Text& lowered) {
  auto [listing, added] = byFolder_.try_emplace(folder);
  if (added) {
    std::vector<Text> entries;
    std::vector<bool> folders;
    files.List(folder, entries, folders);
    for (Text& entry : entries) listing->second.try_emplace(Lower(entry), std::move(entry));
  }
  auto found = listing->second.find(lowered);
  return found == listing->second.end() ? nullptr : &found->second;
}

Text ResolvePathCase(TextView path) { return Resolve(DiskFileTree(), path, {}, nullptr); }

Text ResolvePathCase(TextView path, TextView base) {
  return Resolve(DiskFileTree(), path, base, nullptr);
}

Text ResolvePathCase(const FileTree& files, TextView path, TextView base) {
  return Resolve(files, path, base, nullptr);
}

Text ResolvePathCase(const FileTree& files, TextView path, TextView base,
                     FolderListings& listings) {
  return Resolve(files, path, base, &listings);
}

}  // namespace vt
