// How a path is shown to someone working in a folder: relative to it, the way
// compilers and diff tools name files.
#pragma once

#include "base/paths.h"

namespace vt {

// `path` relative to `folder` (both absolute and "/"-separated), going up
// with "../" where needed; `path` itself when they share no root.
Text RelativePath(TextView path, TextView folder, PathStyle style = kNativePathStyle);

}  // namespace vt
