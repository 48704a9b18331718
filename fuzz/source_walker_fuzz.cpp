// The walk over a small tree (a main file, a file beside it and one in a
// sub-folder, all made from the input): it must end, list each file once,
// list only files that exist and put the current folder back.
#include <cstdint>
#include <set>

#include "analysis/source_records.h"
#include "analysis/source_walker.h"
#include "fuzz/fuzz_support.h"
#include "platform/file_system.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static vt::fuzz::FuzzFolder folder;
  folder.Reset();
  std::vector<std::string> parts = vt::fuzz::SplitInput(data, size, 3);
  folder.Write("main.bmx", parts[0]);
  folder.Write("inc.bmx", parts[1]);
  folder.Write("sub/Imp.bmx", parts[2]);

  vt::Text before = vt::CurrentFolder();
  vt::AnalysisState analysis;
  vt::ScanFile(analysis, folder / "main.bmx", vt::EntryKind::Main);
  if (vt::CurrentFolder() != before) vt::fuzz::Fail();

  std::set<vt::Text> seen;
  for (const auto& entry : analysis.ScanListList) {
    if (entry.kind == vt::EntryKind::Module) continue;
    if (!seen.insert(entry.path).second) vt::fuzz::Fail();
    if (vt::GetFileKind(entry.path) != vt::FileKind::File) vt::fuzz::Fail();
  }
  if (analysis.ScanListList.empty() || analysis.ScanListList[0].kind != vt::EntryKind::Main) {
    vt::fuzz::Fail();
  }
  return 0;
}
