// Helpers shared by the tests: temporary folders, files made of exact bytes,
// and a fresh global state for each test.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "app/app_state.h"
#include "base/text.h"
#include "platform/file_tree.h"
#include "support/headless_screen.h"

namespace vt::testing {

// A temporary folder, removed with everything in it on destruction.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // "/"-separated absolute path of the folder.
  const Text& Path() const { return path_; }
  // Path of `relative` inside the folder.
  Text operator/(TextView relative) const;

  // Writes `bytes` to `relative`, creating the folders on the way.
  void WriteFile(TextView relative, std::string_view bytes) const;
  void MakeFolder(TextView relative) const;

 private:
  Text path_;
};

// A folder held in memory, filled as a TempFolder is: for tests of the
// core, which reads through a FileTree. Nothing touches the disk.
class MemoryFolder {
 public:
  MemoryFolder() = default;

  const Text& Path() const { return path_; }
  Text operator/(TextView relative) const;
  void WriteFile(TextView relative, std::string_view bytes);
  void MakeFolder(TextView relative);
  const FileTree& Files() const { return files_; }

 private:
  Text path_ = u"/mem";
  MemoryFileTree files_;
};

std::string ReadFileBytes(TextView path);

// A path of the tests as the standard library takes it.
std::filesystem::path NativePath(TextView path);

// True where the file system finds a name whatever its case (Windows, and
// macOS as a rule): there a file is found, and recorded, as the source names
// it, and the lookup of its name on disk is never needed.
bool FolderNamesIgnoreCase();

// The path a walk records for a file that lies on disk as `onDisk` and is
// named `written` in a source (lower-cased, as the walk reads it).
Text AsRecorded(TextView onDisk, TextView written);

// A drive ("R:") whose root the tests may fill, named by the environment
// variable VELTRANE_TEST_DRIVE (the Windows test run maps one under Wine);
// empty elsewhere, or when the drive's root is not a folder.
Text ScratchDrive();

// The repository's own folder ("/"-separated), for the bundled examples.
Text SourceFolder();

// Makes `folder` the current one: for tests of how relative paths the user
// gives are taken. The tool itself never changes it.
bool EnterFolder(TextView folder);

// Sets an environment variable (which started programs inherit) for its
// lifetime, then puts back what was there.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const std::string& value);
  ~ScopedEnvironment();
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  std::string name_;
  std::optional<std::string> saved_;
};

// The state of a fresh run on a headless screen for the test to read, with
// the current folder as the application folder; the current folder is put
// back afterwards.
class FreshState : public ::testing::Test {
 protected:
  FreshState();
  void TearDown() override;

  Text savedFolder_;
  HeadlessScreen screen;
  AppState state;
  // Shorthands for the parts of the state, named as the tool names them.
  SettingsState& Settings = state.Settings;
  CatalogueState& Catalogue = state.Catalogue;
  // A scratch examination for the tests of its parts.
  AnalysisState Analysis;
  ReportState& Report = state.Report;
  ShellState& Shell = state.Shell;
  htmltype Html{state.Report.ReportLines};
};

// Runs as an unprivileged user for its lifetime when started as root, so
// that file permissions apply. On Windows, POSIX modes set with chmod do
// not become access rules (Wine run as root ignores even the read-only
// flag), so they never bind there and the tests that need them skip.
class WithoutPrivileges {
 public:
  WithoutPrivileges();
  ~WithoutPrivileges();
  WithoutPrivileges(const WithoutPrivileges&) = delete;
  WithoutPrivileges& operator=(const WithoutPrivileges&) = delete;
  bool Bound() const { return !wasRoot_ || dropped_; }

 private:
  bool wasRoot_;
  bool dropped_ = false;
};

// Prints 16-bit text readably in assertion failures.
std::string Show(TextView text);

}  // namespace vt::testing
