#include "platform/file_tree.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace vt {
namespace {

std::vector<Text> Names(const FileTree& files, TextView folder) {
  std::vector<Text> names;
  std::vector<bool> folders;
  EXPECT_TRUE(files.List(folder, names, folders));
  return names;
}

// A tree of its own holds what was added, with the folders above it, in
// the order added; one spelling of each path.
TEST(MemoryFileTree, HoldsWhatWasAddedAndTheFoldersAboveIt) {
  MemoryFileTree files;
  files.SetFile(u"/p/main.bmx", "Print 1\n");
  files.SetFile(u"/p/inc/./a.bmx", "x");
  files.AddFolder(u"/p/empty");
  EXPECT_EQ(files.KindOf(u"/p/main.bmx"), FileKind::File);
  EXPECT_EQ(files.KindOf(u"/p/inc"), FileKind::Folder);
  EXPECT_EQ(files.KindOf(u"/p/inc/../main.bmx"), FileKind::File);
  EXPECT_EQ(files.KindOf(u"/p/nothing.bmx"), FileKind::None);
  EXPECT_TRUE(files.CanEnter(u"/p/empty"));
  EXPECT_FALSE(files.CanEnter(u"/p/main.bmx"));
  EXPECT_EQ(Names(files, u"/p"), (std::vector<Text>{u"main.bmx", u"inc", u"empty"}));
  std::string bytes = "old";
  EXPECT_EQ(files.ReadBytes(u"/p/inc/a.bmx", bytes), ReadOutcome::Read);
  EXPECT_EQ(bytes, "x");
  EXPECT_EQ(files.ReadBytes(u"/p/inc", bytes), ReadOutcome::NotOpened);
  EXPECT_EQ(bytes, "");
  std::vector<Text> names;
  std::vector<bool> folders;
  EXPECT_FALSE(files.List(u"/q", names, folders));
}

// Over the disk, a buffer replaces a file's contents or joins its folder;
// forgotten, the disk's file shows again. The disk is never written.
TEST(MemoryFileTree, BuffersLieOverTheDisk) {
  testing::TempFolder tmp;
  tmp.WriteFile(u"main.bmx", "on disk\n");
  tmp.WriteFile(u"inc/a.bmx", "a\n");
  DiskFileTree disk;
  MemoryFileTree files(disk);
  files.SetFile(tmp / u"main.bmx", "unsaved\n");
  files.SetFile(tmp / u"new.bmx", "new\n");
  std::string bytes;
  files.ReadBytes(tmp / u"main.bmx", bytes);
  EXPECT_EQ(bytes, "unsaved\n");
  files.ReadBytes(tmp / u"inc/a.bmx", bytes);
  EXPECT_EQ(bytes, "a\n");
  EXPECT_EQ(files.KindOf(tmp / u"new.bmx"), FileKind::File);
  std::vector<Text> listed = Names(files, tmp.Path());
  EXPECT_EQ(std::count(listed.begin(), listed.end(), u"main.bmx"), 1);
  EXPECT_EQ(std::count(listed.begin(), listed.end(), u"new.bmx"), 1);
  EXPECT_EQ(testing::ReadFileBytes(tmp / u"main.bmx"), "on disk\n");

  files.ForgetFile(tmp / u"main.bmx");
  files.ForgetFile(tmp / u"new.bmx");
  files.ReadBytes(tmp / u"main.bmx", bytes);
  EXPECT_EQ(bytes, "on disk\n");
  EXPECT_EQ(files.KindOf(tmp / u"new.bmx"), FileKind::None);
}

}  // namespace
}  // namespace vt
