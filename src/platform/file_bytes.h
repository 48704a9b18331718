// Whole files as bytes, and the one spelling of a path that the file
// system resolves it to, for deciding which folder a file really lies in.
#pragma once

#include <string>

#include "base/text.h"

namespace vt {

// False when `path` is no file or cannot be read to its end.
bool ReadFileBytes(TextView path, std::string& bytes);

// `path` with symbolic links, "." and ".." resolved as far as the path
// exists, "/"-separated; the path itself when the system cannot tell.
Text CanonicalPath(TextView path);

// Whether `path` lies in `folder` or below it (both canonical).
bool IsInFolderTree(TextView path, TextView folder);

}  // namespace vt
