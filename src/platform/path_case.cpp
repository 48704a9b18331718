#include "platform/path_case.h"

#include <vector>

#include "base/paths.h"
#include "platform/file_system.h"

namespace vt {

namespace {

// The name under which `name` is found in `folder` ("" for the current one).
Text FindEntry(const Text& folder, const Text& name) {
  Text asWritten = folder.empty() ? name : JoinPath(folder, name);
  if (GetFileKind(asWritten) != FileKind::None) return name;
  Text key = Lower(name);
  for (const Text& entry : ListFolder(folder.empty() ? Text(u".") : folder)) {
    if (Lower(entry) == key) return entry;
  }
  return name;
}

}  // namespace

Text ResolvePathCase(TextView path) {
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
    resolved += isDrive || isSpecial ? part : FindEntry(resolved, part);
  }
  return resolved;
}

}  // namespace vt
