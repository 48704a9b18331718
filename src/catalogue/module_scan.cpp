#include "catalogue/module_scan.h"

#include <vector>

#include "catalogue/module_parser.h"
#include "platform/file_system.h"

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

bool ScanModFolder(CatalogueState& catalogue, TextView rootFolder) {
  std::vector<Text> listing;
  if (ChangeFolder(Text(rootFolder) + u"/mod")) listing = ListFolder(u".");

  catalogue.Clear();
  bool collectionFound = false;
  for (const Text& name : listing) {
    if (name.empty()) break;
    if (!QualifiesAsModuleFolder(name)) continue;
    collectionFound = true;
    ScanModuleCollection(catalogue, name, name.substr(0, Instr(name, u".", 1)));
  }

  catalogue.CommandCount = 0;
  for (const auto& module : catalogue.ModList) {
    catalogue.CommandCount += static_cast<int>(module->commands.size());
  }
  return collectionFound;
}

void ScanModuleCollection(CatalogueState& catalogue, TextView name,
                          TextView collectionPrefix) {
  FolderVisit visit(name);
  if (!visit.Entered()) return;
  for (const Text& entry : ListFolder(u".")) {
    if (entry.empty()) break;
    if (QualifiesAsModuleFolder(entry)) ScanModuleFolder(catalogue, entry, collectionPrefix);
  }
}

void ScanModuleFolder(CatalogueState& catalogue, TextView name, TextView collectionPrefix) {
  Text base(name.substr(0, name.size() >= 4 ? name.size() - 4 : 0));
  modtype* module = catalogue.CreateModule(Text(collectionPrefix) + base);

  FolderVisit visit(name);
  if (!visit.Entered()) return;
  ParseModuleSource(*module, base + u".bmx");
}

}  // namespace vt
