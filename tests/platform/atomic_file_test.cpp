#include "platform/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#if !defined(_WIN32)
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>

#include "platform/file_system.h"
#include "support/test_support.h"

namespace vt {
namespace {

using testing::ReadFileBytes;
using testing::TempFolder;

std::string Native(TextView path) { return ToUtf8(path); }

bool Write(TextView path, const std::string& bytes) {
  AtomicFileWriter writer;
  if (!writer.Open(path)) return false;
  writer.Write(bytes);
  return writer.Commit();
}

// The folder's entries: a temporary file left behind shows here.
std::vector<Text> Entries(const TempFolder& folder) {
  std::vector<Text> names = ListFolder(folder.Path());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(AtomicFileWriter, ReplacesTheWholeFileKeepingItsModeAndLinks) {
  TempFolder tmp;
  tmp.WriteFile(u"page.htm", "old page that is longer");
#if defined(_WIN32)
  ASSERT_TRUE(Write(tmp / u"page.htm", "new"));
  EXPECT_EQ(ReadFileBytes(tmp / u"page.htm"), "new");
  // Modes and links are POSIX matters; the replacement itself is checked.
  std::vector<Text> expected{u"fresh.htm", u"page.htm"};
#else
  ASSERT_EQ(chmod(Native(tmp / u"page.htm").c_str(), 0640), 0);
  ASSERT_TRUE(Write(tmp / u"page.htm", "new"));
  EXPECT_EQ(ReadFileBytes(tmp / u"page.htm"), "new");
  struct stat info;
  ASSERT_EQ(stat(Native(tmp / u"page.htm").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);

  std::filesystem::create_symlink("page.htm", Native(tmp / u"link.htm"));
  ASSERT_TRUE(Write(tmp / u"link.htm", "through the link"));
  EXPECT_TRUE(std::filesystem::is_symlink(Native(tmp / u"link.htm")));
  EXPECT_EQ(ReadFileBytes(tmp / u"page.htm"), "through the link");

  // Every name of a file with several sees the edit, and nothing is left
  // beside it.
  std::filesystem::create_hard_link(Native(tmp / u"page.htm"), Native(tmp / u"hard.htm"));
  ASSERT_TRUE(Write(tmp / u"page.htm", "seen by both names"));
  EXPECT_EQ(ReadFileBytes(tmp / u"hard.htm"), "seen by both names");
  ASSERT_EQ(stat(Native(tmp / u"hard.htm").c_str(), &info), 0);
  EXPECT_EQ(info.st_nlink, 2u);

  // A user's file that root rewrites stays the user's, and a backup made
  // like it is as private as the original.
  if (geteuid() == 0) {
    ASSERT_EQ(chown(Native(tmp / u"page.htm").c_str(), 65534, 65534), 0);
    ASSERT_EQ(chmod(Native(tmp / u"page.htm").c_str(), 0600), 0);
    EXPECT_EQ(WriteFileAtomically(tmp / u"page.htm", "root's edit"), Fault());
    EXPECT_EQ(WriteFileAtomically(tmp / u"page.bak", "copy", tmp / u"page.htm"), Fault());
    for (const char16_t* name : {u"page.htm", u"page.bak"}) {
      ASSERT_EQ(stat(Native(tmp / name).c_str(), &info), 0);
      EXPECT_EQ(info.st_uid, 65534u) << Native(name);
      EXPECT_EQ(info.st_gid, 65534u) << Native(name);
      EXPECT_EQ(info.st_mode & 0777, 0600u) << Native(name);
    }
    std::filesystem::remove(Native(tmp / u"page.bak"));
  }
  std::vector<Text> expected{u"fresh.htm", u"hard.htm", u"link.htm", u"page.htm"};
#endif

  ASSERT_TRUE(Write(tmp / u"fresh.htm", ""));
  EXPECT_EQ(GetFileSize(tmp / u"fresh.htm"), 0);
  EXPECT_EQ(Entries(tmp), expected);
}

TEST(AtomicFileWriter, NeverReplacesFoldersDevicesOrReadOnlyFiles) {
  TempFolder tmp;
  tmp.MakeFolder(u"folder");
  EXPECT_FALSE(Write(tmp / u"folder", "x"));
  EXPECT_EQ(GetFileKind(tmp / u"folder"), FileKind::Folder);
#if defined(_WIN32)
  GTEST_SKIP() << "no /dev/null to link to, and POSIX modes do not bind on Windows";
#else
  std::filesystem::create_symlink("/dev/null", Native(tmp / u"null.htm"));
  EXPECT_FALSE(Write(tmp / u"null.htm", "x"));
  EXPECT_TRUE(std::filesystem::is_symlink(Native(tmp / u"null.htm")));
  EXPECT_FALSE(Write(tmp / u"missing/page.htm", "x"));

  tmp.WriteFile(u"kept.htm", "read-only");
  ASSERT_EQ(chmod(Native(tmp / u"kept.htm").c_str(), 0444), 0);
  bool written = true;
  {
    testing::WithoutPrivileges user;
    if (!user.Bound()) GTEST_SKIP() << "file permissions do not bind this user";
    written = Write(tmp / u"kept.htm", "x");
  }
  EXPECT_FALSE(written);
  EXPECT_EQ(ReadFileBytes(tmp / u"kept.htm"), "read-only");
  EXPECT_EQ(Entries(tmp), (std::vector<Text>{u"folder", u"kept.htm", u"null.htm"}));
#endif
}

TEST(AtomicFileWriter, AbandonedWriteLeavesTheOldFile) {
  TempFolder tmp;
  tmp.WriteFile(u"page.htm", "old");
  {
    AtomicFileWriter writer;
    ASSERT_TRUE(writer.Open(tmp / u"page.htm"));
    writer.Write("half a pa");
  }
  EXPECT_EQ(ReadFileBytes(tmp / u"page.htm"), "old");
  EXPECT_EQ(Entries(tmp), std::vector<Text>{u"page.htm"});
}

// Someone else's change between Open and Commit wins: whether they wrote
// the file in place, renamed a new one over it, made it where there was
// none or removed it, Commit refuses, says why, and leaves no temporary.
TEST(AtomicFileWriter, TargetChangedAfterOpenIsLeftAsTheyMadeIt) {
  struct Case {
    const char* name;
    bool existsAtOpen;
    std::function<void(const TempFolder&)> change;
    const char* theirs;  // null: no file afterwards
  };
  const Case cases[] = {
      {"written in place, same size", true,
       [](const TempFolder& tmp) { tmp.WriteFile(u"page.htm", "OLD"); }, "OLD"},
      {"renamed over", true,
       [](const TempFolder& tmp) {
         tmp.WriteFile(u"theirs.htm", "their page");
         std::filesystem::rename(std::filesystem::path(Native(tmp / u"theirs.htm")),
                                 std::filesystem::path(Native(tmp / u"page.htm")));
       },
       "their page"},
      {"made meanwhile", false,
       [](const TempFolder& tmp) { tmp.WriteFile(u"page.htm", "new"); }, "new"},
      {"removed", true,
       [](const TempFolder& tmp) {
         std::filesystem::remove(std::filesystem::path(Native(tmp / u"page.htm")));
       },
       nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder tmp;
    if (c.existsAtOpen) tmp.WriteFile(u"page.htm", "old");
    AtomicFileWriter writer;
    ASSERT_TRUE(writer.Open(tmp / u"page.htm"));
    writer.Write("mine");
    c.change(tmp);
    EXPECT_FALSE(writer.Commit());
    EXPECT_TRUE(writer.ChangedMeanwhile());
    if (c.theirs) {
      EXPECT_EQ(ReadFileBytes(tmp / u"page.htm"), c.theirs);
      EXPECT_EQ(Entries(tmp), std::vector<Text>{u"page.htm"});
    } else {
      EXPECT_TRUE(Entries(tmp).empty());
    }
  }
  // Untouched, the same writer's next file goes through.
  TempFolder tmp;
  tmp.WriteFile(u"page.htm", "old");
  AtomicFileWriter writer;
  ASSERT_TRUE(writer.Open(tmp / u"page.htm"));
  writer.Write("mine");
  EXPECT_TRUE(writer.Commit());
  EXPECT_FALSE(writer.ChangedMeanwhile());
}

// A write cut short by the file size limit (as `ulimit -f` does) fails like
// one on a full disk. The limit is set in a child, which reports by its exit
// code whether Commit said false.
TEST(AtomicFileWriter, FailedWriteKeepsTheOldFileAndRemovesTheTemporary) {
  TempFolder tmp;
  tmp.WriteFile(u"page.htm", "old good page");
#if defined(_WIN32)
  GTEST_SKIP() << "Windows has no fork and no file size limit";
#else
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit = {4096, 4096};
    setrlimit(RLIMIT_FSIZE, &limit);
    _exit(Write(tmp / u"page.htm", std::string(100000, 'x')) ? 1 : 0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "Commit reported a cut-off write as success";
  EXPECT_EQ(ReadFileBytes(tmp / u"page.htm"), "old good page");
  EXPECT_EQ(Entries(tmp), std::vector<Text>{u"page.htm"});
#endif
}

// The real thing, where a tiny file system can be mounted (as root).
TEST(AtomicFileWriter, FullDiskKeepsTheOldFile) {
  TempFolder tmp;
  tmp.MakeFolder(u"disk");
  std::string disk = Native(tmp / u"disk");
#if defined(_WIN32)
  GTEST_SKIP() << "Windows mounts no small file system for a test";
#else
  if (mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=16k") != 0) {
    GTEST_SKIP() << "cannot mount a small file system here";
  }
  TempFolder* folder = &tmp;
  ASSERT_TRUE(Write(folder->Path() + u"/disk/page.htm", "old good page"));
  bool written = Write(folder->Path() + u"/disk/page.htm", std::string(64 * 1024, 'x'));
  std::string after = ReadFileBytes(folder->Path() + u"/disk/page.htm");
  std::vector<Text> names = ListFolder(folder->Path() + u"/disk");
  umount(disk.c_str());
  EXPECT_FALSE(written);
  EXPECT_EQ(after, "old good page");
  EXPECT_EQ(names, std::vector<Text>{u"page.htm"});
#endif
}

}  // namespace
}  // namespace vt
