#include "base/paths.h"

namespace vt {

bool IsAbsolutePath(TextView path) {
  return StartsWith(path, u"/") || (path.size() >= 2 && path[1] == u':');
}

Text AnchorPath(TextView path, TextView folder) {
  Text forward = ForwardSlashes(path);
  if (forward.empty() || IsAbsolutePath(forward) || folder.empty()) return forward;
  Text anchored(folder);
  if (anchored.back() != u'/') anchored += u'/';
  return anchored + forward;
}

}  // namespace vt
