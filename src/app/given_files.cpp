#include "app/given_files.h"

#include <algorithm>
#include <unordered_set>

#include "base/paths.h"
#include "platform/file_bytes.h"
#include "platform/file_system.h"

namespace vt {

namespace {

// Appends the .bmx files under `folder`, sub-folders included, in name order.
void AddFolderSources(const Text& folder, std::vector<Text>& out) {
  std::vector<Text> names = ListFolder(folder);
  std::sort(names.begin(), names.end());
  for (const Text& name : names) {
    if (name == u"." || name == u"..") continue;
    Text path = JoinPath(folder, name);
    FileKind kind = GetFileKind(path);
    if (kind == FileKind::Folder) {
      AddFolderSources(path, out);
    } else if (kind == FileKind::File && EndsWith(Lower(name), u".bmx")) {
      out.push_back(path);
    }
  }
}

}  // namespace

GivenFiles ExpandPaths(const std::vector<Text>& paths, bool folders) {
  GivenFiles given;
  for (const Text& path : paths) {
    if (!folders || GetFileKind(path) != FileKind::Folder) {
      if (GetFileSize(path) > 0) {
        given.files.push_back(path);
      } else {
        given.unusable.push_back(path);
      }
      continue;
    }
    size_t before = given.files.size();
    AddFolderSources(path, given.files);
    if (given.files.size() == before) given.unusable.push_back(path);
  }
  return given;
}

std::vector<size_t> MainFiles(const std::vector<Text>& files,
                              const std::vector<std::vector<Text>>& reached) {
  std::vector<Text> canonical;
  for (const Text& file : files) canonical.push_back(CanonicalPath(file));
  std::vector<std::unordered_set<Text>> reaches(files.size());
  for (size_t i = 0; i < reached.size() && i < files.size(); ++i) {
    for (const Text& path : reached[i]) reaches[i].insert(CanonicalPath(path));
  }
  // X is no main file when another reaches it, unless X reaches that one
  // too (a cycle of imports) and comes first.
  auto excluded = [&](size_t x) {
    for (size_t y = 0; y < files.size(); ++y) {
      if (canonical[y] == canonical[x] || !reaches[y].count(canonical[x])) continue;
      if (!reaches[x].count(canonical[y]) || y < x) return true;
    }
    return false;
  };
  std::vector<size_t> mains;
  std::unordered_set<Text> taken;
  for (size_t i = 0; i < files.size(); ++i) {
    // A file given twice, or inside a folder given too, is one main file.
    if (excluded(i) || !taken.insert(canonical[i]).second) continue;
    mains.push_back(i);
  }
  return mains;
}

}  // namespace vt
