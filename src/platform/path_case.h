// Finding a file named in a source by its lower-cased name on a file system
// that tells case apart.
#pragma once

#include <unordered_map>

#include "base/text.h"

namespace vt {
class FileTree;
}

namespace vt {

// The listings of the folders looked into, each read once, for one walk over
// a program: a name missing as written is then found without listing its
// folder again. Folders are told apart by absolute path.
class FolderListings {
 public:
  // The first entry of `folder`'s listing that equals `lowered` when
  // lower-cased, or null. `folder` is absolute.
  const Text* Find(const FileTree& files, const Text& folder, const Text& lowered);

 private:
  // Per folder, each lower-cased name to the first entry that gives it.
  std::unordered_map<Text, std::unordered_map<Text, Text>> byFolder_;
};

// `path` ("/" or "\" separated, absolute or relative to the current folder)
// with every component that does not exist as written replaced by the first
// entry of its folder's listing that equals it when both are lower-cased
// (A..Z only). A component with no such entry stays as written. The result
// uses "/" separators.
Text ResolvePathCase(TextView path);

// The same with a relative `path` taken from the absolute folder `base`
// rather than the current one; the result stays relative.
Text ResolvePathCase(TextView path, TextView base);

// The same in `files`.
Text ResolvePathCase(const FileTree& files, TextView path, TextView base);

// The same, with the listings kept in `listings`: for a walk that looks up
// many names while the folders stay as they are.
Text ResolvePathCase(const FileTree& files, TextView path, TextView base,
                     FolderListings& listings);

}  // namespace vt
