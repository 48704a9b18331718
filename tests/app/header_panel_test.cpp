// The header panel's content, worked out from an examination of a copy of
// the example game: the chosen block's boxes and their lines, a reason, and
// whether each file's header matches that block.
#include "app/header_panel.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/catalogue_rebuild.h"
#include "app/header_edit_text.h"
#include "header/header_apply.h"
#include "support/test_support.h"

namespace vt {
namespace {

using testing::SourceFolder;
using testing::TempFolder;

class HeaderPanelTest : public testing::FreshState {
 protected:
  void SetUp() override {
    Settings.RootFolder = SourceFolder() + u"/examples/BlitzMax";
    RebuildCatalogue(state);
    std::filesystem::copy(ToUtf8(SourceFolder() + u"/examples/game"), ToUtf8(work.Path()),
                          std::filesystem::copy_options::recursive);
  }

  void Examine() {
    Text program = work / u"game.bmx";
    ShowHeaderPanel(state, program, ExamineSource(state, program, PageChoice::Skip));
  }

  TempFolder work;
};

TEST_F(HeaderPanelTest, ShowsTheChosenBlockAndWhetherEachHeaderMatchesIt) {
  Examine();
  // The second block's header, written: the panel then starts at that block.
  HeaderPlan plan = PlanHeaders(HeaderPanelJob(state, state.Panel, 1));
  ASSERT_TRUE(ApplyErrors(plan, ApplyHeaderPlan(plan, false)).empty());
  Examine();

  const Text math =
      u"Imported Code: " + testing::AsRecorded(u"MathUtil.bmx", u"mathutil.bmx");
  struct Row {
    std::optional<size_t> chosen;
    size_t shown;
    Text framework;
    Text driver;
    HeaderCheckState mainCheck;
  };
  const Row rows[] = {{std::nullopt, 1, u"Framework BRL.D3D7Max2D",
                       u"SetGraphicsDriver D3D7Max2DDriver()", HeaderCheckState::Matches},
                      {0, 0, u"Framework BRL.GLMax2D",
                       u"SetGraphicsDriver GLMax2DDriver()", HeaderCheckState::Differs}};
  for (const Row& row : rows) {
    state.Panel.block = row.chosen;
    HeaderPanelContent content = BuildHeaderPanel(state, state.Panel);
    EXPECT_EQ(content.blockTitles,
              (std::vector<Text>{u"Max OpenGL template", u"Max DirectX template"}));
    EXPECT_EQ(content.block, row.shown);
    ASSERT_EQ(content.boxes.size(), 2u);
    const PanelBox& main = content.boxes[0];
    EXPECT_EQ(main.title, u"Main Source: game.bmx");
    EXPECT_EQ(main.lines.front().text, row.framework);
    EXPECT_EQ(main.lines.back().text, row.driver);
    EXPECT_EQ(main.lines[4].text, u"Import BRL.Retro");
    // The header written above moved the word ten lines down.
    EXPECT_EQ(main.lines[4].reason, u"TRetroCountdown at game.bmx:36");
    EXPECT_EQ(main.check, row.mainCheck);
    EXPECT_EQ(content.boxes[1].title, math);
    EXPECT_EQ(content.boxes[1].check, HeaderCheckState::Matches);
    EXPECT_TRUE(content.warnings.empty());
  }
  EXPECT_EQ(ClipboardText(state.Panel.content.boxes[1]), u"Import BRL.Retro\n");
}

// The window's Apply is all or nothing too: a file changed while the user
// read the diff leaves every file as it was, and the window says so with a
// warning.
TEST_F(HeaderPanelTest, ApplyWritesNothingWhenAFileChangedMeanwhile) {
  Examine();
  std::string game = testing::ReadFileBytes(work / u"game.bmx");
  Text math = testing::AsRecorded(work / u"MathUtil.bmx", u"mathutil.bmx");
  screen.confirm = [&](const Text&) {
    work.WriteFile(FileNameOf(math), "' changed meanwhile\n");
    return true;
  };
  ApplyHeaderBlock(state);
  EXPECT_EQ(testing::ReadFileBytes(work / u"game.bmx"), game);
  ASSERT_EQ(screen.warnings.size(), 1u);
  EXPECT_NE(screen.warnings[0].find(u"changed while being examined; run again"), Text::npos)
      << testing::Show(screen.warnings[0]);
}

}  // namespace
}  // namespace vt
