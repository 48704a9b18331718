#include "catalogue/module_scan.h"

#include <vector>

#include "app/main_window.h"
#include "app/settings.h"
#include "catalogue/import_closure.h"
#include "catalogue/module_parser.h"
#include "catalogue/module_records.h"
#include "platform/file_system.h"
#include "platform/screen.h"

namespace vt {

namespace {

// Changes into `name` and, on destruction, back to the folder that was
// current before: by its absolute path, so that a folder reached through a
// link does not move the scan elsewhere, and by ".." only when that path is
// unknown or cannot be entered again.
class FolderVisit {
 public:
  explicit FolderVisit(TextView name) : before_(CurrentFolder()) {
    entered_ = ChangeFolder(name);
  }
  ~FolderVisit() {
    if (!entered_) return;
    if (before_.empty() || !ChangeFolder(before_)) ChangeFolder(u"..");
  }
  FolderVisit(const FolderVisit&) = delete;
  FolderVisit& operator=(const FolderVisit&) = delete;

  bool Entered() const { return entered_; }

 private:
  Text before_;
  bool entered_ = false;
};

}  // namespace

bool QualifiesAsModuleFolder(TextView name) {
  if (GetFileKind(name) != FileKind::Folder) return false;
  if (name == u"." || name == u"..") return false;
  return EndsWith(name, u".mod");
}

void ScanModFolder() {
  std::vector<Text> listing;
  if (ChangeFolder(Settings.RootFolder + u"/mod")) listing = ListFolder(u".");

  Catalogue.CurrentModule = nullptr;
  Catalogue.ModList.clear();
  bool collectionFound = false;

  for (const Text& name : listing) {
    if (name.empty()) break;
    if (!QualifiesAsModuleFolder(name)) continue;
    Catalogue.CollectionPrefix = name.substr(0, Instr(name, u".", 1));
    collectionFound = true;
    ScanModuleCollection(name);
  }

  Catalogue.CommandCount = 0;
  for (const auto& module : Catalogue.ModList) {
    Catalogue.CommandCount += static_cast<int>(module->commands.size());
  }

  UpdateStatusLine();

  if (!collectionFound) {
    CurrentScreen().InformationBox(Text(kNoModuleCollectionsMessage));
  } else {
    ExpandModuleImports();
  }
}

void ScanModuleCollection(TextView name) {
  FolderVisit visit(name);
  if (!visit.Entered()) return;
  for (const Text& entry : ListFolder(u".")) {
    if (entry.empty()) break;
    if (QualifiesAsModuleFolder(entry)) ScanModuleFolder(entry);
  }
}

void ScanModuleFolder(TextView name) {
  Text base(name.substr(0, name.size() >= 4 ? name.size() - 4 : 0));
  modtype* module = modtype::Create();
  Catalogue.CurrentModule = module;
  Catalogue.ParsedSources.clear();
  module->name = Catalogue.CollectionPrefix + base;

  FolderVisit visit(name);
  if (!visit.Entered()) return;
  ParseModuleSource(base + u".bmx");
}

}  // namespace vt
