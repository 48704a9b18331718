// A module's main source and the sources it imports in quotes: any bytes must
// parse without crashing, looping or reading a file twice in one chain, and
// every command kept must be a lower-case name.
#include <cstdint>

#include "catalogue/module_parser.h"
#include "catalogue/module_records.h"
#include "fuzz/fuzz_support.h"
#include "platform/file_system.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static vt::fuzz::FuzzFolder folder;
  folder.Reset();
  std::vector<std::string> parts = vt::fuzz::SplitInput(data, size, 3);
  folder.Write("m.mod/m.bmx", parts[0]);
  folder.Write("m.mod/a.bmx", parts[1]);
  folder.Write("m.mod/sub/b.bmx", parts[2]);

  vt::CatalogueState catalogue;
  vt::modtype* module = catalogue.CreateModule(u"brl.m");
  vt::ParseModuleSource(*module, folder / "m.mod", u"m.bmx");

  for (const vt::Text& command : module->commands) {
    if (vt::Lower(command) != command) vt::fuzz::Fail();
  }
  for (const vt::Text& import : module->imports) {
    if (!vt::StartsWith(import, u"brl.") && !vt::StartsWith(import, u"pub.")) vt::fuzz::Fail();
  }
  return 0;
}
