#include "app/recent_programs.h"

#include <algorithm>
#include <string>

#include "base/paths.h"
#include "platform/atomic_file.h"
#include "platform/file_bytes.h"

namespace vt {

Text RecentProgramsFile(TextView settingsFolder) { return JoinPath(settingsFolder, u"recent.txt"); }

std::vector<Text> ReadRecentPrograms(TextView file) {
  std::vector<Text> programs;
  std::string bytes;
  if (!ReadFileBytes(file, bytes)) return programs;
  size_t start = 0;
  while (start < bytes.size() && programs.size() < kMostRecentPrograms) {
    size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) programs.push_back(FromUtf8(line));
    start = end + 1;
  }
  return programs;
}

bool WriteRecentPrograms(TextView file, const std::vector<Text>& programs) {
  std::string bytes;
  for (const Text& program : programs) bytes += ToUtf8(program) + "\n";
  return !WriteFileAtomically(file, bytes);
}

void RememberProgram(std::vector<Text>& programs, const Text& program) {
  programs.erase(std::remove(programs.begin(), programs.end(), program), programs.end());
  programs.insert(programs.begin(), program);
  if (programs.size() > kMostRecentPrograms) programs.resize(kMostRecentPrograms);
}

}  // namespace vt
