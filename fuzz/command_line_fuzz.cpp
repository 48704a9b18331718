// Any line must be cut into words without crashing or reading past its end,
// and every word kept must be one the cutting could produce.
#include <cstdint>

#include "analysis/command_pass.h"
#include "analysis/source_records.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vt::AnalysisState analysis;
  vt::sourcemodtype* record = analysis.NewSourceRecord();
  vt::Text line;
  for (size_t i = 0; i + 1 < size; i += 2) {
    line += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
  }
  vt::CommandPassState pass;
  vt::ScanCommandLine(analysis, pass, record, line);
  for (const vt::Text& word : record->words) {
    if (word.size() < 2) __builtin_trap();
  }
  return 0;
}
