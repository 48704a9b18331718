#include "catalogue/module_scan.h"

#include <vector>

#include "base/paths.h"
#include "catalogue/module_parser.h"
#include "platform/file_system.h"

namespace vt {

namespace {

// Changes into `name` and, on destruction, back to `before`, the folder that
// was current: by its absolute path, so that a folder reached through a link
// does not move the scan elsewhere, and by ".." only when that path is
// unknown or cannot be entered again.
class FolderVisit {
 public:
  FolderVisit(TextView name, Text before) : before_(std::move(before)) {
    entered_ = ChangeFolder(name);
  }
  ~FolderVisit() {
    if (!entered_) return;
    if (before_.empty() || !ChangeFolder(before_)) ChangeFolder(u"..");
  }
  FolderVisit(const FolderVisit&) = delete;
  FolderVisit& operator=(const FolderVisit&) = delete;

  bool Entered() const { return entered_; }
  // The folder that was current before, absolute.
  const Text& Before() const { return before_; }

 private:
  Text before_;
  bool entered_ = false;
};

// Whether a folder's name is that of a module or a collection.
bool NamesModuleFolder(TextView name) {
  return name != u"." && name != u".." && EndsWith(name, u".mod");
}

void NoteUnreadable(UnreadableParts* unreadable, TextView folder, TextView name) {
  if (!unreadable) return;
  unreadable->push_back(folder.empty() ? Text(name) : JoinPath(folder, name));
}

// A main source that exists but cannot be read (no permission, or not a
// regular file) is worth a word; a missing one is an ordinary empty module.
bool MainSourceUnreadable(TextView source) {
  FileKind kind = GetFileKind(source);
  if (kind == FileKind::Other) return true;
  return kind == FileKind::File && !CanReadFile(source);
}

// The scans below with `here`, the absolute path of the current folder, known
// to the caller: asking the system for it again for each of thousands of
// modules would cost as much as reading them.
void ScanModuleFolderIn(CatalogueState& catalogue, TextView name, TextView collectionPrefix,
                        UnreadableParts* unreadable, const Text& here, ModuleParseRoom& room) {
  Text base(name.substr(0, name.size() >= 4 ? name.size() - 4 : 0));
  modtype* module = catalogue.CreateModule(Text(collectionPrefix) + base);

  FolderVisit visit(name, here);
  if (!visit.Entered()) {
    NoteUnreadable(unreadable, visit.Before(), name);
    return;
  }
  Text source = base + u".bmx";
  // Asked only when the parse could not read it, to spare every module a
  // second opening of its source.
  if (ParseModuleSource(*module, source, room)) return;
  if (MainSourceUnreadable(source)) {
    NoteUnreadable(unreadable, JoinPath(visit.Before(), name), source);
  }
}

void ScanModuleCollectionIn(CatalogueState& catalogue, TextView name,
                            TextView collectionPrefix, UnreadableParts* unreadable,
                            const Text& here, ModuleParseRoom& room) {
  FolderVisit visit(name, here);
  std::vector<Text> listing;
  std::vector<bool> folders;
  if (!visit.Entered() || !ListFolder(u".", listing, folders)) {
    NoteUnreadable(unreadable, visit.Before(), name);
  }
  Text collection = listing.empty() ? Text() : CurrentFolder();
  for (size_t i = 0; i < listing.size(); ++i) {
    const Text& entry = listing[i];
    if (entry.empty()) break;
    if (folders[i] && NamesModuleFolder(entry)) {
      ScanModuleFolderIn(catalogue, entry, collectionPrefix, unreadable, collection, room);
    }
  }
}

}  // namespace

bool QualifiesAsModuleFolder(TextView name) {
  return GetFileKind(name) == FileKind::Folder && NamesModuleFolder(name);
}

bool ScanModFolder(CatalogueState& catalogue, TextView rootFolder, UnreadableParts* unreadable) {
  std::vector<Text> listing;
  std::vector<bool> folders;
  Text modFolder = Text(rootFolder) + u"/mod";
  if (!ChangeFolder(modFolder) || !ListFolder(u".", listing, folders)) {
    NoteUnreadable(unreadable, Text(), modFolder);
  }

  catalogue.Clear();
  bool collectionFound = false;
  Text here = listing.empty() ? Text() : CurrentFolder();
  ModuleParseRoom room;
  for (size_t i = 0; i < listing.size(); ++i) {
    const Text& name = listing[i];
    if (name.empty()) break;
    if (!folders[i] || !NamesModuleFolder(name)) continue;
    collectionFound = true;
    ScanModuleCollectionIn(catalogue, name, name.substr(0, Instr(name, u".", 1)), unreadable,
                           here, room);
  }

  catalogue.CommandCount = 0;
  for (const auto& module : catalogue.ModList) {
    catalogue.CommandCount += static_cast<int>(module->commands.size());
  }
  return collectionFound;
}

void ScanModuleCollection(CatalogueState& catalogue, TextView name,
                          TextView collectionPrefix, UnreadableParts* unreadable) {
  ModuleParseRoom room;
  ScanModuleCollectionIn(catalogue, name, collectionPrefix, unreadable, CurrentFolder(), room);
}

void ScanModuleFolder(CatalogueState& catalogue, TextView name, TextView collectionPrefix,
                      UnreadableParts* unreadable) {
  ModuleParseRoom room;
  ScanModuleFolderIn(catalogue, name, collectionPrefix, unreadable, CurrentFolder(), room);
}

}  // namespace vt
