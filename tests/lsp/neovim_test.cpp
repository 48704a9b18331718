// Neovim, headless, as the user's editor: it starts the built veltrane-lsp,
// shows its diagnostics, applies "Fix the header", sees them go and writes
// the file, which must then hold what the command line's --write makes.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "lsp_client.h"

namespace vt::lsp {
namespace {

#if defined(_WIN32)

TEST(LspEditor, NeovimRunsOnPosixOnly) { GTEST_SKIP() << "started through a POSIX shell"; }

#else

bool NeovimInstalled() { return std::system("command -v nvim > /dev/null 2>&1") == 0; }

std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

TEST(LspEditor, NeovimShowsTheFindingsAndFixesTheHeader) {
  if (!NeovimInstalled()) GTEST_SKIP() << "nvim is not installed (scripts/install-deps.sh)";
  testing::TempFolder home;
  testing::TempFolder project;
  testing::TempFolder written;
  const char* program =
      "SuperStrict\nFramework BRL.TextStream\nImport BRL.Map\n\n"
      "Local text:String = LoadText(\"notes.txt\")\n"
      "Local names:String[] = ReadFolder(\".\")\n";
  project.WriteFile(u"game.bmx", program);
  written.WriteFile(u"game.bmx", program);
  std::string script = ToUtf8(testing::SourceFolder() + u"/tests/lsp/neovim_client.lua");
  std::string command =
      "cd " + Quoted(ToUtf8(project.Path())) + " && HOME=" + Quoted(ToUtf8(home.Path())) +
      " XDG_CONFIG_HOME= XDG_DATA_HOME= XDG_STATE_HOME= BMXPATH= VELTRANE_LSP=" +
      Quoted(VELTRANE_LSP_PATH) + " VELTRANE_ROOT=" + Quoted(ToUtf8(ModernRoot())) +
      " VELTRANE_PROGRAM=" + Quoted(ToUtf8(project / u"game.bmx")) + " VELTRANE_NVIM_OUT=" +
      Quoted(ToUtf8(project / u"facts.txt")) + " timeout 90 nvim --headless -u NONE -i NONE -n " +
      "-c " + Quoted("luafile " + script) + " > /dev/null 2>&1";
  std::system(command.c_str());
  std::string facts = testing::ReadFileBytes(project / u"facts.txt");
  EXPECT_EQ(facts,
            "diagnostic: missing Import BRL.Path (ReadFolder at game.bmx:6)\n"
            "diagnostic: unneeded Import BRL.Map\n"
            "applied: Fix the header\n"
            "diagnostics after the fix: 0\n"
            "line: SuperStrict\n"
            "line: Framework BRL.TextStream\n"
            "line: Import BRL.Path\n"
            "line: \n"
            "line: Local text:String = LoadText(\"notes.txt\")\n"
            "line: Local names:String[] = ReadFolder(\".\")\n"
            "written\n");
  std::string write = Quoted(VELTRANE_CLI_PATH) + " --root " + Quoted(ToUtf8(ModernRoot())) +
                      " --write " + Quoted(ToUtf8(written / u"game.bmx")) + " > /dev/null 2>&1";
  ASSERT_EQ(std::system(write.c_str()), 0);
  EXPECT_EQ(testing::ReadFileBytes(project / u"game.bmx"),
            testing::ReadFileBytes(written / u"game.bmx"));
}

#endif

}  // namespace
}  // namespace vt::lsp
