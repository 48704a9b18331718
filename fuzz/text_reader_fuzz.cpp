// Any bytes must read as lines without crashing, reading past the end or
// losing the stream's place; a whole file decoded at once must give exactly
// the lines that the line reader gives.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include <unistd.h>

#include "platform/text_file_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = "/tmp/veltrane-fuzz-" + std::to_string(getpid()) + ".bmx";
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  auto stream = vt::TextFileReader::OpenTextFile(vt::FromUtf8(path), true, 0);
  if (!stream) return 0;
  size_t units = 0;
  std::vector<vt::Text> lines;
  while (!stream->AtEnd()) {
    lines.push_back(vt::ReadTextLine(*stream));
    units += lines.back().size() + 1;
  }
  if (units > 2 * size + 2) __builtin_trap();
  vt::TextFileLines file = vt::ReadTextFileLines(vt::FromUtf8(path));
  if (file.LineCount() != lines.size()) __builtin_trap();
  for (size_t i = 0; i < lines.size(); ++i) {
    if (file.Line(i) != lines[i]) __builtin_trap();
  }
  return 0;
}
