// A whole examination: an installation of two modules and a program of three
// files, all made from the input. The page must be written, well-formed, and
// hold no markup from the input.
#include <cstdint>

#include "app/app_state.h"
#include "app/catalogue_rebuild.h"
#include "app/examine.h"
#include "fuzz/fuzz_support.h"
#include "platform/file_system.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static vt::fuzz::FuzzFolder folder;
  folder.Reset();
  std::vector<std::string> parts = vt::fuzz::SplitInput(data, size, 5);
  folder.Write("root/mod/brl.mod/one.mod/one.bmx", parts[0]);
  folder.Write("root/mod/pub.mod/two.mod/two.bmx", parts[1]);
  folder.Write("prog/main.bmx", "Rem\n" + parts[2]);  // never empty, so never ignored
  folder.Write("prog/inc.bmx", parts[3]);
  folder.Write("prog/sub/imp.bmx", parts[4]);
  folder.Write("out/keep", "");

  vt::Text before = vt::CurrentFolder();
  vt::fuzz::QuietScreen screen;
  vt::AppState state(screen, folder / "out");
  state.Settings.RootFolder = folder / "root";
  state.Settings.RootFolderVerified = true;
  state.Report.ReportFile = folder / "out/results.htm";
  vt::RebuildCatalogue(state);
  vt::ExaminedSource examination = vt::ExamineSource(state, folder / "prog/main.bmx");
  if (vt::CurrentFolder() != before) vt::fuzz::Fail();

  if (examination.outcome != vt::ExamineOutcome::ReportWritten) vt::fuzz::Fail();
  vt::fuzz::CheckPage(vt::fuzz::ReadBytes(folder / "out/results.htm"));
  return 0;
}
