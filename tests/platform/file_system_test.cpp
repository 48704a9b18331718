#include "platform/file_system.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "base/paths.h"
#include "platform/native_path.h"

#include "support/test_support.h"

namespace vt {
namespace {

using testing::Show;
using testing::TempFolder;

TEST(FileSystem, NonAsciiPathsRoundTripThroughTheOperatingSystem) {
  TempFolder tmp;
  tmp.WriteFile(u"café/日本.bmx", "x");
  std::vector<Text> names = ListFolder(tmp / u"café");
  ASSERT_EQ(names.size(), 1u);
  EXPECT_EQ(names[0], u"日本.bmx");
  EXPECT_EQ(GetFileSize(tmp / u"café/" + names[0]), 1);

  Text saved = CurrentFolder();
  ASSERT_TRUE(testing::EnterFolder(tmp / u"café"));
  EXPECT_EQ(CurrentFolder(), tmp / u"café");
  testing::EnterFolder(saved);
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

// A FIFO would block the first read (or the open) until a writer comes, and
// /dev/zero never ends: only regular files are read.
TEST(FileSystem, OnlyRegularFilesAreRead) {
#if defined(_WIN32)
  GTEST_SKIP() << "Windows has no FIFOs and no /dev/zero";
#else
  TempFolder tmp;
  ASSERT_EQ(mkfifo(ToUtf8(tmp / u"pipe.bmx").c_str(), 0644), 0);
  std::filesystem::create_symlink("/dev/zero", ToUtf8(tmp / u"zero.bmx"));
  tmp.WriteFile(u"real.bmx", "x");
  std::filesystem::create_symlink(ToUtf8(tmp / u"real.bmx"), ToUtf8(tmp / u"link.bmx"));
  for (const char16_t* name : {u"pipe.bmx", u"zero.bmx"}) {
    EXPECT_EQ(GetFileKind(tmp / name), FileKind::Other) << Show(name);
    EXPECT_EQ(GetFileSize(tmp / name), -1) << Show(name);
    EXPECT_FALSE(CanReadFile(tmp / name)) << Show(name);
    ByteReader reader;
    EXPECT_FALSE(reader.Open(tmp / name)) << Show(name);
  }
  // A link to a regular file is that file.
  EXPECT_EQ(GetFileKind(tmp / u"link.bmx"), FileKind::File);
  EXPECT_EQ(GetFileSize(tmp / u"link.bmx"), 1);
#endif
}

// Names that are not UTF-8 are bytes on POSIX; each must be found again.
TEST(FileSystem, NamesThatAreNotUtf8RoundTripExactly) {
#if defined(_WIN32)
  GTEST_SKIP() << "names on Windows are UTF-16, never loose bytes";
#else
  TempFolder tmp;
  std::string raw = ToUtf8(tmp.Path()) + "/caf\xe9 \xff\xc3(";
  std::filesystem::create_directory(raw);
  std::vector<Text> names = ListFolder(tmp.Path());
  ASSERT_EQ(names.size(), 1u);
  EXPECT_EQ(names[0], u"caf\xDCE9 \xDCFF\xDCC3(");
  EXPECT_EQ(GetFileKind(tmp / names[0]), FileKind::Folder);
  EXPECT_EQ(ToNativeString(tmp / names[0]), raw);
  // Valid UTF-8 stays what it is; escaped bytes never mix with it.
  EXPECT_EQ(FromNativeString("caf\xc3\xa9 \xed\xb2\x80"), u"caf\u00e9 \xDCED\xDCB2\xDC80");
  EXPECT_EQ(ToNativeString(u"caf\u00e9 \xDCED\xDCB2\xDC80"), "caf\xc3\xa9 \xed\xb2\x80");
#endif
}

TEST(FileSystem, SameFileAndInsideFolderFollowLinks) {
  TempFolder tmp;
  tmp.WriteFile(u"mod/a.mod/a.bmx", "x");
  tmp.WriteFile(u"other.bmx", "y");
  std::error_code ec;
  std::filesystem::create_directory_symlink(testing::NativePath(tmp / u"mod"),
                                            testing::NativePath(tmp / u"alias"), ec);
  // Windows lets only some users make links.
  if (ec && kNativePathStyle == PathStyle::Windows) GTEST_SKIP() << "cannot link: " << ec.message();
  ASSERT_FALSE(ec) << ec.message();
  EXPECT_TRUE(SameFile(tmp / u"alias/a.mod/a.bmx", tmp / u"mod/./a.mod/a.bmx"));
  EXPECT_FALSE(SameFile(tmp / u"other.bmx", tmp / u"mod/a.mod/a.bmx"));
  EXPECT_FALSE(SameFile(tmp / u"missing", tmp / u"missing"));
  // A hard link is the same file under another name.
  std::filesystem::create_hard_link(testing::NativePath(tmp / u"other.bmx"),
                                    testing::NativePath(tmp / u"page.htm"), ec);
  ASSERT_FALSE(ec) << ec.message();
  EXPECT_TRUE(SameFile(tmp / u"page.htm", tmp / u"other.bmx"));
  EXPECT_TRUE(IsInsideFolder(tmp / u"alias/a.mod/new.htm", tmp / u"mod"));
  EXPECT_TRUE(IsInsideFolder(tmp / u"mod/../mod/x.htm", tmp / u"mod"));
  EXPECT_FALSE(IsInsideFolder(tmp / u"modern.htm", tmp / u"mod"));
  EXPECT_FALSE(IsInsideFolder(tmp / u"mod/../x.htm", tmp / u"mod"));
}

TEST(FileSystem, WhetherAFolderTakesNewFilesIsAskedWithoutWriting) {
  TempFolder tmp;
  tmp.WriteFile(u"kept", "x");
  EXPECT_TRUE(FolderAcceptsNewFiles(tmp.Path()));
  EXPECT_EQ(ListFolder(tmp.Path()), std::vector<Text>{u"kept"});
  EXPECT_FALSE(FolderAcceptsNewFiles(tmp / u"kept"));
  EXPECT_FALSE(FolderAcceptsNewFiles(tmp / u"missing"));
  EXPECT_EQ(GetFileKind(tmp / u"missing"), FileKind::None);
#if !defined(_WIN32)
  tmp.MakeFolder(u"locked");
  std::filesystem::permissions(ToUtf8(tmp / u"locked"), std::filesystem::perms(0555));
  bool accepts = true;
  {
    testing::WithoutPrivileges user;
    if (!user.Bound()) GTEST_SKIP() << "file permissions do not bind this user";
    accepts = FolderAcceptsNewFiles(tmp / u"locked");
  }
  EXPECT_FALSE(accepts);
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
