// The walk names every Include or Import file it could not read, at the
// line that names it; a non-.bmx file is no failure.
#include <gtest/gtest.h>
#include <sys/stat.h>
#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#endif

#include <cstring>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "analysis/analyse.h"
#include "support/test_support.h"

namespace vt {
namespace {

using Seen = std::tuple<Text, int32_t, EntryKind, Text, WalkProblem>;

// A file that nobody, root included, can open for reading while the
// returned holder lives: a socket on POSIX; on Windows a file held open
// without sharing.
using Holder = std::shared_ptr<void>;
#if defined(_WIN32)
Holder MakeUnreadableFile(const testing::TempFolder& folder, TextView name) {
  folder.WriteFile(name, "Print 1\n");
  Text path = folder / name;
  HANDLE handle = CreateFileW(std::wstring(path.begin(), path.end()).c_str(), GENERIC_READ, 0,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  return Holder(handle, [](void* h) { CloseHandle(h); });
}
#else
Holder MakeUnreadableFile(const testing::TempFolder& folder, TextView name) {
  int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  if (fd < 0) return nullptr;
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::string native = ToUtf8(folder / name);
  if (native.size() >= sizeof(address.sun_path)) return nullptr;
  std::memcpy(address.sun_path, native.c_str(), native.size() + 1);
  bool made = bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
  close(fd);
  return made ? std::make_shared<int>(0) : nullptr;
}
#endif

class WalkWarnings : public testing::FreshState {
 protected:
  std::vector<Seen> Warnings() const {
    std::vector<Seen> seen;
    for (const WalkWarning& w : Analysis.Warnings) {
      seen.emplace_back(w.file, w.line, w.kind, w.name, w.problem);
    }
    return seen;
  }

  testing::TempFolder tmp;
};

TEST_F(WalkWarnings, MissingFolderAndUnreadableFilesAreNamedAtTheirLine) {
  tmp.WriteFile(u"main.bmx",
                "Include \"missing.bmx\"\n"
                "Include \"folder.bmx\"\n"
                "Import \"locked.bmx\"\n"
                "Import \"glue.c\"\n"
                "Include \"sub/nested.bmx\"\n"
                "Include \"nodir/x.bmx\"\n"
                "Include \"sub/nested.bmx\"\n");
  tmp.WriteFile(u"sub/nested.bmx", "' nested\nInclude \"gone.bmx\"\n");
  tmp.WriteFile(u"glue.c", "int x;\n");
  tmp.MakeFolder(u"folder.bmx");
  Holder locked = MakeUnreadableFile(tmp, u"locked.bmx");
  ASSERT_TRUE(locked);
  AnalyseProgram(Analysis, Catalogue, tmp / u"main.bmx");

  Text main = tmp / u"main.bmx";
  std::vector<Seen> expected = {
      {main, 1, EntryKind::Include, u"missing.bmx", WalkProblem::NotFound},
      {main, 2, EntryKind::Include, u"folder.bmx", WalkProblem::IsFolder},
      {main, 3, EntryKind::Imported, u"locked.bmx", WalkProblem::Unreadable},
      {tmp / u"sub/nested.bmx", 2, EntryKind::Include, u"gone.bmx", WalkProblem::NotFound},
      {main, 6, EntryKind::Include, u"nodir/x.bmx", WalkProblem::NotFound},
  };
  EXPECT_EQ(Warnings(), expected);
  // The walk itself went on as before.
  ASSERT_EQ(Analysis.ScanListList.size(), 2u);
  EXPECT_EQ(Analysis.ScanListList[1].path, tmp / u"sub/nested.bmx");
}

TEST_F(WalkWarnings, AFileWithoutReadPermissionIsUnreadable) {
#if defined(_WIN32)
  GTEST_SKIP() << "POSIX modes do not bind on Windows; the locked file covers it";
#else
  if (geteuid() == 0) GTEST_SKIP() << "root reads every file; the socket case covers it";
#endif
  tmp.WriteFile(u"main.bmx", "Print 1\nInclude \"private.bmx\"\n");
  tmp.WriteFile(u"private.bmx", "Cls\n");
  ASSERT_EQ(chmod(ToUtf8(tmp / u"private.bmx").c_str(), 0), 0);
  AnalyseProgram(Analysis, Catalogue, tmp / u"main.bmx");
  std::vector<Seen> expected = {
      {tmp / u"main.bmx", 2, EntryKind::Include, u"private.bmx", WalkProblem::Unreadable}};
  EXPECT_EQ(Warnings(), expected);
}

TEST(WalkWarningText, SaysWhichDirectiveAndWhatWentWrong) {
  WalkWarning warning{u"/p/main.bmx", 3, EntryKind::Include, u"inc/a.bmx", WalkProblem::NotFound};
  EXPECT_EQ(WarningMessage(warning), u"Include file not found: \"inc/a.bmx\"");
  warning.kind = EntryKind::Imported;
  warning.problem = WalkProblem::IsFolder;
  EXPECT_EQ(WarningMessage(warning), u"Import names a folder, not a file: \"inc/a.bmx\"");
  warning.problem = WalkProblem::Unreadable;
  EXPECT_EQ(WarningMessage(warning), u"Import file cannot be read: \"inc/a.bmx\"");
}

}  // namespace
}  // namespace vt
