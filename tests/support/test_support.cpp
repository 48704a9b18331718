#include "support/test_support.h"

#include <filesystem>
#include <fstream>
#include <random>

#include <unistd.h>

#include <cstdlib>

#include "platform/file_system.h"

namespace vt::testing {

namespace fs = std::filesystem;

namespace {
fs::path Native(TextView path) {
  std::string utf8 = ToUtf8(path);
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}
}  // namespace

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
  fs::permissions(Native(path_), fs::perms::owner_all, fs::perm_options::add, ec);
  for (auto it = fs::recursive_directory_iterator(Native(path_), ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  }
  fs::remove_all(Native(path_), ec);
}

Text TempFolder::operator/(TextView relative) const {
  return path_ + u"/" + Text(relative);
}

void TempFolder::WriteFile(TextView relative, std::string_view bytes) const {
  fs::path target = Native(*this / relative);
  fs::create_directories(target.parent_path());
  std::ofstream out(target, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void TempFolder::MakeFolder(TextView relative) const {
  fs::create_directories(Native(*this / relative));
}

std::string ReadFileBytes(TextView path) {
  std::ifstream in(Native(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

Text SourceFolder() { return FromUtf8(VELTRANE_SOURCE_DIR); }

FreshState::FreshState() : savedFolder_(CurrentFolder()), state(screen, savedFolder_) {}

void FreshState::TearDown() { ChangeFolder(savedFolder_); }

WithoutPrivileges::WithoutPrivileges() : wasRoot_(geteuid() == 0) {
  if (wasRoot_) dropped_ = seteuid(65534) == 0;
}

WithoutPrivileges::~WithoutPrivileges() {
  // Every later test would run unprivileged otherwise.
  if (dropped_ && seteuid(0) != 0) std::abort();
}

std::string Show(TextView text) { return ToUtf8(text); }

}  // namespace vt::testing
