// How a path of the tool becomes a path of the operating system and back;
// one implementation per system (native_path-posix.cpp, -win32.cpp).
#pragma once

#include <cstdio>
#include <filesystem>

#include "base/text.h"

namespace vt {

std::filesystem::path ToNative(TextView path);
// "/"-separated.
Text FromNative(const std::filesystem::path& path);
// fopen with a tool path; null for an empty path.
std::FILE* OpenNative(TextView path, const char* mode);
// The running executable's own path, or empty when the system cannot tell.
std::filesystem::path ExecutablePath();

}  // namespace vt
