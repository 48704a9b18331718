// Path text rules that need no file system: paths are "/"-separated, and a
// path is absolute when it starts at a root ("/") or a drive ("C:").
#pragma once

#include "base/text.h"

namespace vt {

bool IsAbsolutePath(TextView path);

// `path` with forward slashes, prefixed with `folder` when it is relative.
Text AnchorPath(TextView path, TextView folder);

}  // namespace vt
