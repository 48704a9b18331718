#include "catalogue/module_scan.h"

#include <vector>

#include "base/paths.h"
#include "catalogue/module_parser.h"
#include "platform/file_tree.h"

namespace vt {

namespace {

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
// Asked once its parse could not read it.
bool MainSourceUnreadable(const FileTree& files, TextView source) {
  FileKind kind = files.KindOf(source);
  return kind == FileKind::Other || kind == FileKind::File;
}

// Creates the record of the module folder `name` of the absolute
// `collection` folder and parses its main source into it.
void ScanModuleFolder(CatalogueState& catalogue, const FileTree& files, const Text& collection,
                      TextView name, TextView collectionPrefix, UnreadableParts* unreadable,
                      ModuleParseRoom& room) {
  Text base(name.substr(0, name.size() >= 4 ? name.size() - 4 : 0));
  modtype* module = catalogue.CreateModule(Text(collectionPrefix) + base);

  Text folder = JoinPath(collection, name);
  if (!files.CanEnter(folder)) {
    NoteUnreadable(unreadable, collection, name);
    return;
  }
  Text source = base + u".bmx";
  // Asked only when the parse could not read it, to spare every module a
  // second opening of its source.
  if (ParseModuleSource(*module, files, folder, source, room)) return;
  if (MainSourceUnreadable(files, JoinPath(folder, source))) {
    NoteUnreadable(unreadable, folder, source);
  }
}

// The module folders of the collection folder `name` of the absolute
// `modFolder`, in its listing order.
void ScanModuleCollection(CatalogueState& catalogue, const FileTree& files,
                          const Text& modFolder, TextView name, TextView collectionPrefix,
                          UnreadableParts* unreadable, ModuleParseRoom& room) {
  // A collection reached through a link is named by where it really lies.
  Text collection = files.Canonical(JoinPath(modFolder, name));
  std::vector<Text> listing;
  std::vector<bool> folders;
  if (!files.CanEnter(collection) || !files.List(collection, listing, folders)) {
    NoteUnreadable(unreadable, modFolder, name);
  }
  for (size_t i = 0; i < listing.size(); ++i) {
    const Text& entry = listing[i];
    if (entry.empty()) break;
    if (folders[i] && NamesModuleFolder(entry)) {
      ScanModuleFolder(catalogue, files, collection, entry, collectionPrefix, unreadable, room);
    }
  }
}

}  // namespace

bool ScanModFolder(CatalogueState& catalogue, TextView rootFolder, UnreadableParts* unreadable) {
  return ScanModFolder(catalogue, DiskFileTree(), rootFolder, unreadable);
}

bool ScanModFolder(CatalogueState& catalogue, const FileTree& files, TextView rootFolder,
                   UnreadableParts* unreadable) {
  std::vector<Text> listing;
  std::vector<bool> folders;
  Text modFolder = Text(rootFolder) + u"/mod";
  // A relative root is the user's, from the folder the run started in.
  Text here = files.Canonical(AnchorPath(modFolder, CurrentFolder()));
  if (!files.CanEnter(here) || !files.List(here, listing, folders)) {
    NoteUnreadable(unreadable, Text(), modFolder);
  }

  catalogue.Clear();
  bool collectionFound = false;
  ModuleParseRoom room;
  for (size_t i = 0; i < listing.size(); ++i) {
    const Text& name = listing[i];
    if (name.empty()) break;
    if (!folders[i] || !NamesModuleFolder(name)) continue;
    collectionFound = true;
    ScanModuleCollection(catalogue, files, here, name, name.substr(0, Instr(name, u".", 1)),
                         unreadable, room);
  }

  catalogue.CommandCount = 0;
  for (const auto& module : catalogue.ModList) {
    catalogue.CommandCount += static_cast<int>(module->commands.size());
  }
  return collectionFound;
}

}  // namespace vt
