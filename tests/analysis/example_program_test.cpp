// The bundled example program, analysed against the bundled installation.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "analysis/analyse.h"
#include "analysis/source_records.h"
#include "catalogue/import_closure.h"
#include "catalogue/module_records.h"
#include "catalogue/module_scan.h"
#include "support/test_support.h"

namespace vt {
namespace {

using Entry = std::pair<Text, Text>;  // path, kind

class ExampleProgram : public testing::FreshState {
 protected:
  void SetUp() override {
    FreshState::SetUp();
    ASSERT_TRUE(ScanModFolder(Catalogue, testing::SourceFolder() + u"/examples/BlitzMax"));
    ExpandModuleImports(Catalogue);
    AnalyseProgram(Analysis, Catalogue, Game(u"game.bmx"));
  }

  static Text Game(TextView relative) {
    return testing::SourceFolder() + u"/examples/game/" + Text(relative);
  }
};

TEST_F(ExampleProgram, WalksEveryFileOnceDepthFirst) {
  std::vector<Entry> entries;
  for (const auto& entry : Analysis.ScanListList) entries.emplace_back(entry.path, EntryKindName(entry.kind));
  std::vector<Entry> expected = {
      {Game(u"game.bmx"), u"Main"},
      {u"brl.linkedlist", u"MOD"},
      // Imported as "mathutil.bmx"; recorded as it is named on disk.
      {Game(testing::AsRecorded(u"MathUtil.bmx", u"mathutil.bmx")), u"Imported"},
      {Game(u"inc/player.bmx"), u"Include"},
      // Named by player.bmx and found beside it.
      {Game(u"inc/shots.bmx"), u"Include"},
  };
  EXPECT_EQ(entries, expected);
}

TEST_F(ExampleProgram, CountsLinesOverAllFiles) {
  // 57 + 24 + 39 + 22 lines; 4 directives and 38 + 17 + 32 + 17 code lines.
  EXPECT_EQ(Analysis.TotalLines, 142);
  EXPECT_EQ(Analysis.CodeLines, 108);
}

TEST_F(ExampleProgram, MainRecordNeedsGraphicsSoundAndTheNamedLoaders) {
  ASSERT_EQ(Analysis.SourceModList.size(), 2u);
  const sourcemodtype& main = *Analysis.SourceModList[0];
  EXPECT_EQ(main.path, Game(u"game.bmx"));
  // CreateList and KeyHit add nothing: BRL.Graphics imports their modules.
  // TSound credits BRL.Audio before LoadSound does; BRL.Retro comes only from
  // the type TRetroCountdown, since no Retro command is called.
  EXPECT_EQ(main.modules, (TextList{u"BRL.Graphics", u"BRL.Max2D", u"BRL.FreeAudioAudio",
                                    u"BRL.WAVLoader", u"BRL.PNGLoader", u"BRL.Retro"}));
  EXPECT_EQ(main.optionalModules, (TextList{u"BRL.BMPLoader", u"BRL.TGALoader",
                                            u"BRL.JPGLoader", u"BRL.OGGLoader"}));
}

TEST_F(ExampleProgram, TheIncludesAfterTheImportFeedTheMainRecord) {
  ASSERT_EQ(Analysis.SourceModList.size(), 2u);
  const sourcemodtype& util = *Analysis.SourceModList[1];
  EXPECT_EQ(util.path, Game(testing::AsRecorded(u"MathUtil.bmx", u"mathutil.bmx")));
  // Right comes from MathUtil.bmx; the image words of inc/player.bmx, which
  // game.bmx includes after importing it, are game.bmx's own.
  EXPECT_EQ(util.modules, TextList{u"BRL.Retro"});
  EXPECT_TRUE(util.optionalModules.empty());
  EXPECT_TRUE(Contains(Analysis.SourceModList[0]->words, u"drawrect"));
}

// Without notes the records hold the same modules; the why is missing, and so
// are the words, let go once matched.
TEST_F(ExampleProgram, SkippingTheNotesChangesNoFinding) {
  AnalysisState plain;
  AnalyseProgram(plain, Catalogue, Game(u"game.bmx"), CauseNotes::Skip);
  ASSERT_EQ(plain.SourceModList.size(), Analysis.SourceModList.size());
  EXPECT_EQ(plain.TotalLines, Analysis.TotalLines);
  EXPECT_EQ(plain.CodeLines, Analysis.CodeLines);
  size_t causes = 0;
  for (size_t r = 0; r < plain.SourceModList.size(); ++r) {
    const sourcemodtype& noted = *Analysis.SourceModList[r];
    const sourcemodtype& bare = *plain.SourceModList[r];
    EXPECT_TRUE(bare.words.empty());
    EXPECT_FALSE(noted.words.empty());
    EXPECT_EQ(bare.modules, noted.modules);
    EXPECT_EQ(bare.optionalModules, noted.optionalModules);
    EXPECT_EQ(bare.extraLines, noted.extraLines);
    EXPECT_TRUE(bare.wordSites.empty());
    EXPECT_TRUE(bare.causes.empty());
    EXPECT_TRUE(bare.optionalCauses.empty());
    causes += noted.causes.size();
    EXPECT_EQ(noted.wordSites.size(), noted.words.size());
  }
  EXPECT_GT(causes, 0u);
}

}  // namespace
}  // namespace vt
