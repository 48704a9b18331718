// Helpers shared by the tests: temporary folders, files made of exact bytes,
// and a fresh global state for each test.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "base/text.h"
#include "platform/screen.h"

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

std::string ReadFileBytes(TextView path);

// The repository's own folder ("/"-separated), for the bundled examples.
Text SourceFolder();

// Restores every global of the tool to the state of a fresh run, installs a
// headless screen for the test to read, and puts the current folder back
// afterwards.
class FreshState : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  HeadlessScreen screen;

 private:
  Text savedFolder_;
};

// Prints 16-bit text readably in assertion failures.
std::string Show(TextView text);

}  // namespace vt::testing
