#include "base/paths.h"

namespace vt {

bool HasDrivePrefix(TextView path, PathStyle style) {
  return style == PathStyle::Windows && path.size() >= 2 && path[1] == u':';
}

bool IsAbsolutePath(TextView path, PathStyle style) {
  return StartsWith(path, u"/") || HasDrivePrefix(path, style);
}

bool IsRootFolder(TextView folder, PathStyle style) {
  if (folder == u"/") return true;
  return folder.size() == 3 && HasDrivePrefix(folder, style) && folder[2] == u'/';
}

Text UserPath(TextView path, PathStyle style) {
  return style == PathStyle::Windows ? ForwardSlashes(path) : Text(path);
}

Text AnchorPath(TextView path, TextView folder, PathStyle style) {
  Text forward = UserPath(path, style);
  if (forward.empty() || IsAbsolutePath(forward, style) || folder.empty()) return forward;
  return JoinPath(folder, forward);
}

Text FolderPart(TextView path, PathStyle style) {
  size_t slash = path.rfind(u'/');
  if (slash == TextView::npos || slash + 1 == path.size()) return Text();
  TextView withSlash = path.substr(0, slash + 1);
  if (IsRootFolder(withSlash, style)) return Text(withSlash);
  return Text(path.substr(0, slash));
}

Text FileName(TextView path) {
  size_t slash = path.rfind(u'/');
  return Text(slash == TextView::npos ? path : path.substr(slash + 1));
}

Text FileNameOf(TextView path, PathStyle style) {
  size_t cut = path.find_last_of(style == PathStyle::Windows ? u"/\\" : u"/");
  if (cut == TextView::npos) return Text(path);
  return Text(path.substr(cut + 1));
}

Text JoinPath(TextView folder, TextView name) {
  Text joined(folder);
  if (joined.empty() || joined.back() != u'/') joined += u'/';
  return joined + Text(name);
}

std::vector<Text> SplitPath(TextView path, PathStyle style) {
  std::vector<Text> parts(1);
  for (char16_t c : path) {
    if (c == u'/' || (c == u'\\' && style == PathStyle::Windows)) {
      parts.emplace_back();
    } else {
      parts.back() += c;
    }
  }
  return parts;
}

Text NormalisePath(TextView full, PathStyle style) {
  Text root;
  size_t start = 0;
  if (HasDrivePrefix(full, style)) {
    root = Text(full.substr(0, 2)) + u"/";
    start = 2;
  } else if (!full.empty() && full[0] == u'/') {
    root = u"/";
  }
  std::vector<Text> parts;
  for (Text& part : SplitPath(full.substr(start), style)) {
    if (part == u"..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != u".") {
      parts.push_back(std::move(part));
    }
  }
  Text result = root;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) result += u'/';
    result += parts[i];
  }
  return result;
}

namespace {

// The parts of a path, without the empty ones a root or a trailing slash
// leaves; a drive ("C:") is a part like any other.
std::vector<Text> PathParts(TextView path) {
  std::vector<Text> parts;
  for (Text& part : SplitPath(path)) {
    if (!part.empty()) parts.push_back(std::move(part));
  }
  return parts;
}

}  // namespace

Text RelativePath(TextView path, TextView folder) {
  std::vector<Text> to = PathParts(path);
  std::vector<Text> from = PathParts(folder);
  size_t common = 0;
  while (common < to.size() && common < from.size() && to[common] == from[common])
    ++common;
  // Two drives, or a relative path, share no root with anything.
  bool bothRooted = StartsWith(path, u"/") && StartsWith(folder, u"/");
  if (common == 0 && !bothRooted) return Text(path);
  Text relative;
  for (size_t i = common; i < from.size(); ++i) relative += u"../";
  for (size_t i = common; i < to.size(); ++i) {
    relative += to[i];
    if (i + 1 < to.size()) relative += u'/';
  }
  if (relative.empty()) return u".";
  if (relative.back() == u'/') relative.pop_back();
  return relative;
}

}  // namespace vt
