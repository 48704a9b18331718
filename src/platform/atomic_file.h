// Writing a file so that it is either wholly the old one or wholly the new
// one: the bytes go to a temporary file in the same folder, are flushed to
// the disk and only then renamed over the target. Nothing is left behind on
// failure, and the old file stays as it was.
#pragma once

#include <string_view>

#include "base/text.h"

namespace vt {

// Writes `bytes` to `path`, keeping the permissions of a file already there.
// Empty on success, otherwise what went wrong.
Text WriteFileAtomically(TextView path, std::string_view bytes);

// The same, but leaves the file alone, and says so, when its bytes are no
// longer `expected` just before the rename: someone changed it meanwhile.
Text ReplaceFileAtomically(TextView path, std::string_view bytes, std::string_view expected);

}  // namespace vt
