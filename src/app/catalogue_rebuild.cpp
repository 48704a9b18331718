#include "app/catalogue_rebuild.h"

#include "app/main_window.h"
#include "catalogue/distribution.h"
#include "catalogue/import_closure.h"
#include "catalogue/module_scan.h"
#include "platform/file_system.h"

namespace vt {

UnreadableParts RebuildCatalogue(AppState& state) {
  UnreadableParts unreadable;
  // What was matched against the old catalogue says nothing of the new.
  if (state.Memo) state.Memo->Forget();
  bool collectionFound =
      ScanModFolder(state.Catalogue, *state.Files, state.Settings.RootFolder, &unreadable);
  UpdateStatusLine(state);
  if (!collectionFound) {
    state.screen.WarningBox(Text(kNoModuleCollectionsMessage));
    return unreadable;
  }
  CatalogueState& catalogue = state.Catalogue;
  catalogue.ruleSet = state.RuleSetChoice.value_or(DetectRuleSet(catalogue));
  if (catalogue.ruleSet == RuleSetKind::Modern) ImportEveryNamespace(catalogue);
  ExpandModuleImports(catalogue);
  return unreadable;
}

bool ModFolderReadable(const SettingsState& settings) {
  std::vector<Text> names;
  return ListFolder(settings.RootFolder + u"/mod", names);
}

}  // namespace vt
