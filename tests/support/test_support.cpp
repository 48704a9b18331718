#include "support/test_support.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#if !defined(_WIN32)
#include <unistd.h>
#endif

#include "base/paths.h"
#include "platform/file_system.h"

namespace vt::testing {

namespace fs = std::filesystem;

fs::path NativePath(TextView path) {
  std::string utf8 = ToUtf8(path);
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

TempFolder::TempFolder() {
  std::random_device rd;
  fs::path base = fs::temp_directory_path();
  fs::path dir;
  do {
    dir = base / ("veltrane-test-" + std::to_string(rd()));
  } while (fs::exists(dir));
  fs::create_directories(dir);
  std::u8string u8 = fs::canonical(dir).generic_u8string();
  path_ = FromUtf8(std::string(u8.begin(), u8.end()));
}

TempFolder::~TempFolder() {
  std::error_code ec;
  fs::permissions(NativePath(path_), fs::perms::owner_all, fs::perm_options::add, ec);
  for (auto it = fs::recursive_directory_iterator(NativePath(path_), ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  }
  fs::remove_all(NativePath(path_), ec);
}

Text TempFolder::operator/(TextView relative) const {
  return path_ + u"/" + Text(relative);
}

void TempFolder::WriteFile(TextView relative, std::string_view bytes) const {
  fs::path target = NativePath(*this / relative);
  fs::create_directories(target.parent_path());
  std::ofstream out(target, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void TempFolder::MakeFolder(TextView relative) const {
  fs::create_directories(NativePath(*this / relative));
}

Text MemoryFolder::operator/(TextView relative) const { return JoinPath(path_, relative); }

void MemoryFolder::WriteFile(TextView relative, std::string_view bytes) {
  files_.SetFile(*this / relative, std::string(bytes));
}

void MemoryFolder::MakeFolder(TextView relative) { files_.AddFolder(*this / relative); }

std::string ReadFileBytes(TextView path) {
  std::ifstream in(NativePath(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool FolderNamesIgnoreCase() {
  static const bool ignored = [] {
    TempFolder probe;
    probe.WriteFile(u"Case.probe", "");
    return GetFileKind(probe / u"CASE.PROBE") == FileKind::File;
  }();
  return ignored;
}

Text AsRecorded(TextView onDisk, TextView written) {
  return Text(FolderNamesIgnoreCase() ? written : onDisk);
}

Text ScratchDrive() {
  const char* drive = std::getenv("VELTRANE_TEST_DRIVE");
  if (!drive || !*drive) return Text();
  Text root = FromUtf8(drive);
  return GetFileKind(root + u"/") == FileKind::Folder ? root : Text();
}

Text SourceFolder() { return FromUtf8(VELTRANE_SOURCE_DIR); }

namespace {

// The folder a test made current last, or the one it started in.
Text& ExpectedFolder() {
  static Text folder;
  return folder;
}

}  // namespace

bool EnterFolder(TextView folder) {
  std::error_code ec;
  fs::current_path(NativePath(folder), ec);
  if (!ec) ExpectedFolder() = CurrentFolder();
  return !ec;
}

FreshState::FreshState() : savedFolder_(CurrentFolder()), state(screen, savedFolder_) {
  ExpectedFolder() = savedFolder_;
}

void FreshState::TearDown() {
  // Whatever the test ran, the tool must not have moved the process.
  EXPECT_EQ(CurrentFolder(), ExpectedFolder()) << "the current folder was changed";
  EnterFolder(savedFolder_);
}

#if defined(_WIN32)
WithoutPrivileges::WithoutPrivileges() : wasRoot_(true) {}
WithoutPrivileges::~WithoutPrivileges() = default;
#else
WithoutPrivileges::WithoutPrivileges() : wasRoot_(geteuid() == 0) {
  if (wasRoot_) dropped_ = seteuid(65534) == 0;
}

WithoutPrivileges::~WithoutPrivileges() {
  // Every later test would run unprivileged otherwise.
  if (dropped_ && seteuid(0) != 0) std::abort();
}
#endif

std::string Show(TextView text) { return ToUtf8(text); }

namespace {

void SetVariable(const std::string& name, const std::optional<std::string>& value) {
#if defined(_WIN32)
  _putenv_s(name.c_str(), value ? value->c_str() : "");
#else
  value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
#endif
}

}  // namespace

ScopedEnvironment::ScopedEnvironment(const char* name, const std::string& value) : name_(name) {
  if (const char* old = std::getenv(name)) saved_ = old;
  SetVariable(name_, value);
}

ScopedEnvironment::~ScopedEnvironment() { SetVariable(name_, saved_); }

}  // namespace vt::testing
