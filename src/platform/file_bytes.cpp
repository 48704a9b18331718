#include "platform/file_bytes.h"

#include <filesystem>
#include <system_error>

#include "base/paths.h"
#include "platform/file_system.h"
#include "platform/native_path.h"

namespace vt {

namespace fs = std::filesystem;

bool ReadFileBytes(TextView path, std::string& bytes) {
  bytes.clear();
  if (GetFileKind(path) != FileKind::File) return false;
  std::FILE* file = OpenNative(path, "rb");
  if (!file) return false;
  char buffer[65536];
  size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof(buffer), file)) > 0) bytes.append(buffer, got);
  bool ok = !std::ferror(file);
  std::fclose(file);
  return ok;
}

Text CanonicalPath(TextView path) {
  std::error_code ec;
  fs::path resolved = fs::weakly_canonical(ToNative(path), ec);
  return ec ? Text(path) : FromNative(resolved);
}

bool IsInFolderTree(TextView path, TextView folder) {
  if (folder.empty()) return false;
  Text prefix(folder);
  if (prefix.back() != u'/') prefix += u'/';
  return StartsWith(path, prefix);
}

}  // namespace vt
