#include "analysis/analyse.h"

#include "analysis/command_matcher.h"
#include "analysis/loader_rules.h"
#include "analysis/source_records.h"
#include "analysis/source_walker.h"
#include "catalogue/module_records.h"

namespace vt {

namespace {

// Nothing of an earlier examination may leak into this one: an unclosed Rem
// block would silence it, and the cursors would point into emptied lists.
void StartExamination() {
  Analysis.TotalLines = 0;
  Analysis.CodeLines = 0;
  Analysis.InRemDirectives = 0;
  Analysis.InRemCommands = 0;
  Analysis.CurrentSource = nullptr;
  Analysis.SourceModList.clear();
  Catalogue.CurrentScanEntry = nullptr;
  Catalogue.ScanListList.clear();
}

}  // namespace

void AnalyseProgram(TextView mainPath) {
  StartExamination();
  ScanFile(mainPath, u"Main");
  for (size_t i = 0; i < Catalogue.ScanListList.size(); ++i) {
    scanlisttype* entry = Catalogue.ScanListList[i].get();
    Catalogue.CurrentScanEntry = entry;
    ScanFileCommands(entry->path, entry->kind);
  }
  MatchCommands();
  SuggestLoaders();
}

}  // namespace vt
