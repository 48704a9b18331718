// The paths given to veltrane-cli or dropped on the window, as the main
// files of one run: files as they are, folders as the .bmx files in them,
// and of all those only the ones that no other reaches through Import or
// Include.
#pragma once

#include <vector>

#include "base/text.h"

namespace vt {

struct GivenFiles {
  std::vector<Text> files;  // anchored, in the order given; a folder's sorted
  // Paths that are neither a readable file nor a folder with a .bmx file.
  std::vector<Text> unusable;
};

// Expands `paths`: with `folders`, a folder stands for its .bmx files, in
// its sub-folders too, in name order; without, a folder is unusable.
GivenFiles ExpandPaths(const std::vector<Text>& paths, bool folders);

// The files of `files` that none of the others reaches. `reached[i]` lists
// the files that the walk from `files[i]` reached (full paths). A file that
// one main file imports is then an imported file in every result of the
// run, never a main file of its own.
std::vector<size_t> MainFiles(const std::vector<Text>& files,
                              const std::vector<std::vector<Text>>& reached);

}  // namespace vt
