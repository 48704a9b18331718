#include "app/catalogue_rebuild.h"

#include "app/main_window.h"
#include "catalogue/import_closure.h"
#include "catalogue/module_scan.h"

namespace vt {

void RebuildCatalogue(AppState& state) {
  bool collectionFound = ScanModFolder(state.Catalogue, state.Settings.RootFolder);
  UpdateStatusLine(state);
  if (!collectionFound) {
    state.screen.InformationBox(Text(kNoModuleCollectionsMessage));
    return;
  }
  ExpandModuleImports(state.Catalogue);
}

}  // namespace vt
