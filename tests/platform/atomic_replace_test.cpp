#include "platform/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "base/paths.h"
#include "platform/file_bytes.h"
#include "support/test_support.h"

namespace vt {
namespace {

using testing::ReadFileBytes;
using testing::TempFolder;

size_t EntriesIn(const TempFolder& folder) {
  size_t count = 0;
  for (auto it = std::filesystem::directory_iterator(ToUtf8(folder.Path()));
       it != std::filesystem::directory_iterator(); ++it) {
    ++count;
  }
  return count;
}

TEST(AtomicFile, ReplacesTheFileKeepingItsPermissionsAndLeavesNoTemporaryFile) {
  TempFolder folder;
  folder.WriteFile(u"a.bmx", "old");
  std::string path = ToUtf8(folder / u"a.bmx");
  ASSERT_EQ(chmod(path.c_str(), 0640), 0);
  EXPECT_EQ(ReplaceFileAtomically(folder / u"a.bmx", "new", "old"), Fault());
  EXPECT_EQ(ReadFileBytes(folder / u"a.bmx"), "new");
#if !defined(_WIN32)
  // Windows keeps only a read-only flag of the mode.
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
#endif
  EXPECT_EQ(EntriesIn(folder), 1u);

  EXPECT_EQ(WriteFileAtomically(folder / u"b.bak", "copy"), Fault());
  EXPECT_EQ(ReadFileBytes(folder / u"b.bak"), "copy");
}

TEST(AtomicFile, AFileChangedMeanwhileOrAMissingFolderIsLeftAsItWas) {
  TempFolder folder;
  folder.WriteFile(u"a.bmx", "theirs");
  Fault error = ReplaceFileAtomically(folder / u"a.bmx", "ours", "what we read");
  EXPECT_EQ(error.message(), u"changed while being examined; run again");
  EXPECT_EQ(ReadFileBytes(folder / u"a.bmx"), "theirs");
  EXPECT_EQ(EntriesIn(folder), 1u);

  EXPECT_TRUE(WriteFileAtomically(folder / u"no/such/a.bmx", "x"));
  folder.MakeFolder(u"dir.bmx");
  EXPECT_TRUE(WriteFileAtomically(folder / u"dir.bmx", "x"));
  EXPECT_EQ(EntriesIn(folder), 2u);
}

TEST(AtomicFile, ALinkedFileIsReplacedBehindItsLink) {
  TempFolder folder;
  folder.WriteFile(u"real.bmx", "old");
  std::error_code ec;
  std::filesystem::create_symlink(testing::NativePath(folder / u"real.bmx"),
                                  testing::NativePath(folder / u"link.bmx"), ec);
  // Windows lets only some users make links, and Wine none to files.
  if (ec && kNativePathStyle == PathStyle::Windows) GTEST_SKIP() << "cannot link: " << ec.message();
  ASSERT_FALSE(ec) << ec.message();
  EXPECT_EQ(WriteFileAtomically(folder / u"link.bmx", "new"), Fault());
  EXPECT_TRUE(std::filesystem::is_symlink(ToUtf8(folder / u"link.bmx")));
  EXPECT_EQ(ReadFileBytes(folder / u"real.bmx"), "new");
}

TEST(FileBytes, ReadsWholeFilesAndTellsFolderTrees) {
  TempFolder folder;
  std::string big(200000, 'x');
  folder.WriteFile(u"big", big);
  std::string bytes;
  EXPECT_TRUE(vt::ReadFileBytes(folder / u"big", bytes));
  EXPECT_EQ(bytes, big);
  EXPECT_FALSE(vt::ReadFileBytes(folder / u"missing", bytes));
  EXPECT_TRUE(IsInFolderTree(u"/p/a/b.bmx", u"/p/a"));
  EXPECT_TRUE(IsInFolderTree(u"/p/a/b.bmx", u"/"));
  EXPECT_FALSE(IsInFolderTree(u"/p/ab/b.bmx", u"/p/a"));
  EXPECT_EQ(CanonicalPath(folder.Path() + u"/x/../big"), folder / u"big");
}

}  // namespace
}  // namespace vt
