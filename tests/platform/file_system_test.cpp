#include "platform/file_system.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/test_support.h"

namespace vt {
namespace {

using testing::TempFolder;

TEST(FileSystem, NonAsciiPathsRoundTripThroughTheOperatingSystem) {
  TempFolder tmp;
  tmp.WriteFile(u"café/日本.bmx", "x");
  std::vector<Text> names = ListFolder(tmp / u"café");
  ASSERT_EQ(names.size(), 1u);
  EXPECT_EQ(names[0], u"日本.bmx");
  EXPECT_EQ(GetFileSize(tmp / u"café/" + names[0]), 1);

  Text saved = CurrentFolder();
  ASSERT_TRUE(ChangeFolder(tmp / u"café"));
  EXPECT_EQ(CurrentFolder(), tmp / u"café");
  ChangeFolder(saved);
}

TEST(FileSystem, KindsAndSizes) {
  TempFolder tmp;
  tmp.WriteFile(u"empty.bmx", "");
  tmp.MakeFolder(u"dir.bmx");
  EXPECT_EQ(GetFileKind(tmp / u"empty.bmx"), FileKind::File);
  EXPECT_EQ(GetFileKind(tmp / u"dir.bmx"), FileKind::Folder);
  EXPECT_EQ(GetFileKind(tmp / u"missing"), FileKind::None);
  EXPECT_EQ(GetFileKind(u""), FileKind::None);
  EXPECT_EQ(GetFileSize(tmp / u"empty.bmx"), 0);
  EXPECT_EQ(GetFileSize(tmp / u"dir.bmx"), -1);
  EXPECT_EQ(GetFileSize(tmp / u"missing"), -1);
  ByteReader reader;
  EXPECT_FALSE(reader.Open(tmp / u"dir.bmx"));
  EXPECT_TRUE(ListFolder(tmp / u"missing").empty());
}

TEST(FileSystem, ReaderGivesBytesThenZerosAtTheEnd) {
  TempFolder tmp;
  tmp.WriteFile(u"f", std::string("\x01\xFF", 2));
  ByteReader reader;
  ASSERT_TRUE(reader.Open(tmp / u"f"));
  EXPECT_FALSE(reader.AtEnd());
  EXPECT_EQ(reader.ReadByte(), 1);
  EXPECT_EQ(reader.ReadByte(), 255);
  EXPECT_EQ(reader.Position(), 2);
  EXPECT_TRUE(reader.AtEnd());
  EXPECT_EQ(reader.ReadByte(), 0);
  EXPECT_EQ(reader.Position(), 2);
}

TEST(FileSystem, WriterTruncatesAndRefusesFolders) {
  TempFolder tmp;
  tmp.WriteFile(u"out", "old contents");
  ByteWriter writer;
  ASSERT_TRUE(writer.Open(tmp / u"out"));
  writer.Write("new");
  EXPECT_TRUE(writer.Close());
  EXPECT_EQ(testing::ReadFileBytes(tmp / u"out"), "new");
  tmp.MakeFolder(u"folder");
  EXPECT_FALSE(writer.Open(tmp / u"folder"));
}

TEST(FileSystem, WriteProbeLeavesTheFolderAsItWas) {
  TempFolder tmp;
  tmp.WriteFile(u"kept", "x");
  EXPECT_TRUE(FolderAcceptsNewFiles(tmp.Path()));
  EXPECT_EQ(ListFolder(tmp.Path()), std::vector<Text>{u"kept"});
  EXPECT_FALSE(FolderAcceptsNewFiles(tmp / u"kept"));
  EXPECT_FALSE(FolderAcceptsNewFiles(tmp / u"missing"));
  EXPECT_EQ(GetFileKind(tmp / u"missing"), FileKind::None);
#if defined(__linux__)
  // Read-only whoever asks, root included, whatever its permission bits say.
  EXPECT_FALSE(FolderAcceptsNewFiles(u"/proc"));
#endif
}

TEST(FileSystem, MakeFoldersMakesTheWholeChain) {
  TempFolder tmp;
  EXPECT_TRUE(MakeFolders(tmp / u"a/b/c"));
  EXPECT_EQ(GetFileKind(tmp / u"a/b/c"), FileKind::Folder);
  EXPECT_TRUE(MakeFolders(tmp / u"a/b/c"));
  tmp.WriteFile(u"file", "x");
  EXPECT_FALSE(MakeFolders(tmp / u"file"));
  EXPECT_FALSE(MakeFolders(tmp / u"file/below"));
  EXPECT_FALSE(MakeFolders(u""));
}

TEST(FileSystem, CopyIfMissingNeverReplacesAFile) {
  TempFolder tmp;
  tmp.WriteFile(u"from.gif", std::string("GIF89a\0\xFF", 8));
  tmp.WriteFile(u"there.gif", "mine");
  EXPECT_TRUE(CopyFileIfMissing(tmp / u"from.gif", tmp / u"to.gif"));
  EXPECT_EQ(testing::ReadFileBytes(tmp / u"to.gif"), std::string("GIF89a\0\xFF", 8));
  EXPECT_TRUE(CopyFileIfMissing(tmp / u"from.gif", tmp / u"there.gif"));
  EXPECT_EQ(testing::ReadFileBytes(tmp / u"there.gif"), "mine");

  EXPECT_FALSE(CopyFileIfMissing(tmp / u"absent.gif", tmp / u"new.gif"));
  EXPECT_FALSE(CopyFileIfMissing(tmp / u"from.gif", tmp / u"no/such/folder.gif"));
  tmp.MakeFolder(u"folder.gif");
  EXPECT_FALSE(CopyFileIfMissing(tmp / u"from.gif", tmp / u"folder.gif"));
  // Failed copies leave nothing behind, not even a partial file.
  std::vector<Text> names = ListFolder(tmp.Path());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<Text>{u"folder.gif", u"from.gif", u"there.gif", u"to.gif"}));
}

}  // namespace
}  // namespace vt
