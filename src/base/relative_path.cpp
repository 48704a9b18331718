#include "base/relative_path.h"

namespace vt {

namespace {

std::vector<Text> Components(TextView path) {
  std::vector<Text> parts;
  for (Text& part : SplitPath(path)) {
    if (!part.empty()) parts.push_back(std::move(part));
  }
  return parts;
}

}  // namespace

Text RelativePath(TextView path, TextView folder, PathStyle style) {
  if (!IsAbsolutePath(path, style) || !IsAbsolutePath(folder, style)) return Text(path);
  std::vector<Text> target = Components(path);
  std::vector<Text> base = Components(folder);
  size_t shared = 0;
  while (shared < target.size() && shared < base.size() && target[shared] == base[shared]) {
    ++shared;
  }
  // Another drive has no way there but its own root.
  if (style == PathStyle::Windows && shared == 0) return Text(path);
  std::vector<Text> steps(base.size() - shared, Text(u".."));
  steps.insert(steps.end(), target.begin() + static_cast<std::ptrdiff_t>(shared), target.end());
  if (steps.empty()) return Text(u".");
  Text out = steps.front();
  for (size_t i = 1; i < steps.size(); ++i) out += u"/" + steps[i];
  return out;
}

}  // namespace vt
