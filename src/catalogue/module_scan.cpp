#include "catalogue/module_scan.h"

#include <vector>

#include "base/paths.h"
#include "catalogue/module_parser.h"
#include "platform/file_bytes.h"
#include "platform/file_system.h"

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
bool MainSourceUnreadable(TextView source) {
  FileKind kind = GetFileKind(source);
  if (kind == FileKind::Other) return true;
  return kind == FileKind::File && !CanReadFile(source);
}

// Creates the record of the module folder `name` of the absolute
// `collection` folder and parses its main source into it.
void ScanModuleFolder(CatalogueState& catalogue, const Text& collection, TextView name,
                      TextView collectionPrefix, UnreadableParts* unreadable,
                      ModuleParseRoom& room) {
  Text base(name.substr(0, name.size() >= 4 ? name.size() - 4 : 0));
  modtype* module = catalogue.CreateModule(Text(collectionPrefix) + base);

  Text folder = JoinPath(collection, name);
  if (!CanEnterFolder(folder)) {
    NoteUnreadable(unreadable, collection, name);
    return;
  }
  Text source = base + u".bmx";
  // Asked only when the parse could not read it, to spare every module a
  // second opening of its source.
  if (ParseModuleSource(*module, folder, source, room)) return;
  if (MainSourceUnreadable(JoinPath(folder, source))) NoteUnreadable(unreadable, folder, source);
}

// The module folders of the collection folder `name` of the absolute
// `modFolder`, in its listing order.
void ScanModuleCollection(CatalogueState& catalogue, const Text& modFolder, TextView name,
                          TextView collectionPrefix, UnreadableParts* unreadable,
                          ModuleParseRoom& room) {
  // A collection reached through a link is named by where it really lies.
  Text collection = CanonicalPath(JoinPath(modFolder, name));
  std::vector<Text> listing;
  std::vector<bool> folders;
  if (!CanEnterFolder(collection) || !ListFolder(collection, listing, folders)) {
    NoteUnreadable(unreadable, modFolder, name);
  }
  for (size_t i = 0; i < listing.size(); ++i) {
    const Text& entry = listing[i];
    if (entry.empty()) break;
    if (folders[i] && NamesModuleFolder(entry)) {
      ScanModuleFolder(catalogue, collection, entry, collectionPrefix, unreadable, room);
    }
  }
}

}  // namespace

bool ScanModFolder(CatalogueState& catalogue, TextView rootFolder, UnreadableParts* unreadable) {
  std::vector<Text> listing;
  std::vector<bool> folders;
  Text modFolder = Text(rootFolder) + u"/mod";
  // A relative root is the user's, from the folder the run started in.
  Text here = CanonicalPath(AnchorPath(modFolder, CurrentFolder()));
  if (!CanEnterFolder(here) || !ListFolder(here, listing, folders)) {
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
    ScanModuleCollection(catalogue, here, name, name.substr(0, Instr(name, u".", 1)), unreadable,
                         room);
  }

  catalogue.CommandCount = 0;
  for (const auto& module : catalogue.ModList) {
    catalogue.CommandCount += static_cast<int>(module->commands.size());
  }
  return collectionFound;
}

}  // namespace vt
