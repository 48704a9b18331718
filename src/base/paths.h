// Path text rules that need no file system. Paths inside the tool are
// "/"-separated. Drive letters ("C:") exist only on Windows; elsewhere a name
// with a colon is an ordinary relative name. Every caller asks here, so that
// all of them agree on what is absolute and what is a root.
#pragma once

#include <vector>

#include "base/text.h"

namespace vt {

enum class PathStyle { Posix, Windows };

#if defined(_WIN32)
inline constexpr PathStyle kNativePathStyle = PathStyle::Windows;
#else
inline constexpr PathStyle kNativePathStyle = PathStyle::Posix;
#endif

// A drive such as "C:" at the start of `path` (any character before the
// colon, as Windows paths have always been read here), under Windows rules.
bool HasDrivePrefix(TextView path, PathStyle style = kNativePathStyle);

// Starts at a root ("/"), or on Windows at a drive ("C:").
bool IsAbsolutePath(TextView path, PathStyle style = kNativePathStyle);

// "/" or, on Windows, a drive root such as "C:/": a folder whose path keeps
// its trailing slash.
bool IsRootFolder(TextView folder, PathStyle style = kNativePathStyle);

// A path as the user names it (command line, dialog, drop) in the tool's
// form: a backslash separates folders on Windows only; elsewhere it is an
// ordinary character of a name.
Text UserPath(TextView path, PathStyle style = kNativePathStyle);

// `path` as UserPath makes it, prefixed with `folder` when it is relative.
Text AnchorPath(TextView path, TextView folder, PathStyle style = kNativePathStyle);

// The folder part of a "/"-separated path, or "" when there is none. A file
// at the root of a file system (or of a drive) keeps the root's slash.
Text FolderPart(TextView path, PathStyle style = kNativePathStyle);

// The text after the last "/" (the whole path when there is none).
Text FileName(TextView path);

// The text after the last "/" (or, on Windows, "\").
Text FileNameOf(TextView path, PathStyle style = kNativePathStyle);

// `folder` + "/" + `name`, without doubling the slash of a root folder.
Text JoinPath(TextView folder, TextView name);

// The components of a "/" (or, on Windows, also "\") separated path; a
// leading separator gives an empty first component.
std::vector<Text> SplitPath(TextView path, PathStyle style = kNativePathStyle);

// An absolute path without empty, "." and ".." components (a ".." at the
// root stays at the root).
Text NormalisePath(TextView absolutePath, PathStyle style = kNativePathStyle);

// `path` relative to `folder` (both absolute and "/"-separated): "inc/a.bmx",
// "../lib/b.bmx", "." for the folder itself; `path` unchanged when the two
// share no root (two drives).
Text RelativePath(TextView path, TextView folder);

}  // namespace vt
