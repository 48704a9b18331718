// The per-user data folder follows the environment the way Qt reads it, so
// that the window and the command line agree on it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/file_system.h"
#include "support/test_support.h"

#if !defined(_WIN32)

namespace vt {
namespace {

// Sets (or with nullopt, unsets) a variable for the test's length.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, std::optional<std::string> value) : name_(name) {
    if (const char* old = std::getenv(name)) saved_ = old;
    if (value) {
      setenv(name, value->c_str(), 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedVariable() {
    if (saved_) {
      setenv(name_, saved_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  const char* name_;
  std::optional<std::string> saved_;
};

#if defined(__APPLE__)

TEST(UserDataFolder, LiesInApplicationSupport) {
  ScopedVariable home("HOME", "/Users/ann");
  EXPECT_EQ(UserDataFolder(), u"/Users/ann/Library/Application Support/veltrane");
}

#else

TEST(UserDataFolder, FollowsXdgDataHomeElseTheHomeFolder) {
  ScopedVariable home("HOME", "/home/ann");
  {
    ScopedVariable data("XDG_DATA_HOME", "/data/ann");
    EXPECT_EQ(UserDataFolder(), u"/data/ann/veltrane");
  }
  {
    ScopedVariable data("XDG_DATA_HOME", std::nullopt);
    EXPECT_EQ(UserDataFolder(), u"/home/ann/.local/share/veltrane");
  }
  for (const char* ignored : {"", "relative/data"}) {
    ScopedVariable data("XDG_DATA_HOME", ignored);
    EXPECT_EQ(UserDataFolder(), u"/home/ann/.local/share/veltrane") << ignored;
  }
}

TEST(UserDataFolder, NoAbsoluteBaseGivesNone) {
  ScopedVariable data("XDG_DATA_HOME", std::nullopt);
  {
    ScopedVariable home("HOME", std::nullopt);
    EXPECT_EQ(UserDataFolder(), u"");
  }
  ScopedVariable home("HOME", "somewhere");
  EXPECT_EQ(UserDataFolder(), u"");
}

TEST(UserDataFolder, NonAsciiHomeSurvives) {
  ScopedVariable data("XDG_DATA_HOME", std::nullopt);
  ScopedVariable home("HOME", "/home/zo\xC3\xAB");
  EXPECT_EQ(UserDataFolder(), u"/home/zoë/.local/share/veltrane");
}

#endif

}  // namespace
}  // namespace vt

#endif
