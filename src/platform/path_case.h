// Finding a file named in a source by its lower-cased name on a file system
// that tells case apart.
#pragma once

#include "base/text.h"

namespace vt {

// `path` ("/" or "\" separated, absolute or relative to the current folder)
// with every component that does not exist as written replaced by the first
// entry of its folder's listing that equals it when both are lower-cased
// (A..Z only). A component with no such entry stays as written. The result
// uses "/" separators.
Text ResolvePathCase(TextView path);

}  // namespace vt
