// Every suggested line must name the word, literal or rule that called for
// it, at a place where that word really stands.
#include "analysis/reasons.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/analyse.h"
#include "analysis/suggestion.h"
#include "catalogue_fixture.h"
#include "support/test_support.h"

namespace vt {
namespace {

using testing::MakeModule;

// Line `number` (from 1) of a file, without its line end.
std::string LineOf(const Text& path, int32_t number) {
  std::string bytes = testing::ReadFileBytes(path);
  size_t start = 0;
  for (int32_t i = 1; i < number; ++i) {
    start = bytes.find('\n', start);
    if (start == std::string::npos) return std::string();
    ++start;
  }
  return bytes.substr(start, bytes.find('\n', start) - start);
}

class Reasons : public testing::FreshState {
 protected:
  void SetUp() override {
    FreshState::SetUp();
    MakeModule(Catalogue, u"brl.standardio", u"BRL.StandardIO", {u"print"});
    MakeModule(Catalogue, u"brl.max2d", u"BRL.Max2D",
               {u"drawtext", u"drawimage", u"loadimage"});
    MakeModule(Catalogue, u"brl.audio", u"BRL.Audio", {u"loadsound", u"playsound"});
    // What the loader and stream rules name, installed.
    for (const char16_t* module :
         {u"BRL.RamStream", u"BRL.HTTPStream", u"BRL.PNGLoader", u"BRL.BMPLoader",
          u"BRL.TGALoader", u"BRL.JPGLoader", u"BRL.WAVLoader", u"BRL.OGGLoader"}) {
      MakeModule(Catalogue, Lower(module), module, {});
    }
    tmp.WriteFile(u"main.bmx",
                  "' The main file.\n"
                  "Include \"inc/sound.bmx\"\n"
                  "Import \"lib.bmx\"\n"
                  "\n"
                  "Print \"Starting up\"\n"
                  "  DrawText \"Hi\", 1, 1\n"
                  "IncBin \"data/level.bin\"\n"
                  "drawtext \"again\", 2, 2\n");
    tmp.WriteFile(u"inc/sound.bmx",
                  "Global beep:TSound = LoadSound(\"sfx/beep.ogg\")\n"
                  "PlaySound beep\n");
    tmp.WriteFile(u"lib.bmx",
                  "Function ShowShip()\n"
                  "\tLocal img:TImage = LoadImage(\"http::example.com/ship.png\")\n"
                  "\tDrawImage img, 0, 0\n"
                  "End Function\n");
    AnalyseProgram(Analysis, Catalogue, tmp / u"main.bmx");
    suggestion = SuggestFrameworks(Analysis);
    ExplainSuggestion(Analysis, suggestion);
    ASSERT_EQ(suggestion.blocks.size(), 2u);
    ASSERT_EQ(suggestion.blocks[0].boxes.size(), 2u);
  }

  const CodeBox& Box(size_t block, size_t box) const {
    return suggestion.blocks.at(block).boxes.at(box);
  }

  // The reason for `module` in a box, required or optional.
  static Reason ReasonFor(const CodeBox& box, TextView module) {
    for (size_t i = 0; i < box.modules.size(); ++i) {
      if (box.modules[i] == module) return box.reasons.at(i);
    }
    for (size_t i = 0; i < box.optionalModules.size(); ++i) {
      if (box.optionalModules[i] == module) return box.optionalReasons.at(i);
    }
    ADD_FAILURE() << "no line for " << ToUtf8(module);
    return Reason();
  }

  testing::TempFolder tmp;
  Suggestion suggestion;
};

TEST_F(Reasons, EveryLineNamesAPlaceWhereItsWordReallyStands) {
  size_t checked = 0;
  for (const FrameworkBlock& block : suggestion.blocks) {
    for (const CodeBox& box : block.boxes) {
      ASSERT_EQ(box.reasons.size(), box.modules.size());
      ASSERT_EQ(box.optionalReasons.size(), box.optionalModules.size());
      std::vector<Reason> all(box.reasons.begin(), box.reasons.end());
      all.insert(all.end(), box.optionalReasons.begin(), box.optionalReasons.end());
      for (const Reason& reason : all) {
        ASSERT_FALSE(reason.word.empty()) << ToUtf8(reason.Comment());
        ASSERT_GT(reason.line, 0) << ToUtf8(reason.Comment());
        std::string line = LineOf(tmp / reason.file, reason.line);
        EXPECT_NE(line.find(ToUtf8(reason.word)), std::string::npos)
            << ToUtf8(reason.Comment()) << " but the line is: " << line;
        ++checked;
      }
    }
  }
  // 5 + 1 lines of the main box, 3 + 3 of the imported one, in each block.
  EXPECT_EQ(checked, 24u);
}

TEST_F(Reasons, WordsLiteralsRulesAndRenamesAreNamed) {
  const CodeBox& main = Box(0, 0);
  EXPECT_EQ(main.modules, (TextList{u"BRL.GLMax2D", u"BRL.StandardIO", u"BRL.RamStream",
                                    u"BRL.FreeAudioAudio", u"BRL.OGGLoader"}));
  EXPECT_EQ(ReasonFor(main, u"BRL.StandardIO").Comment(), u"Print at main.bmx:5");
  EXPECT_EQ(ReasonFor(main, u"BRL.RamStream").Comment(),
            u"IncBin at main.bmx:7 (incbin data)");
  // Renamed, and found in an included file: named from the main file's folder.
  EXPECT_EQ(ReasonFor(main, u"BRL.FreeAudioAudio").Comment(),
            u"LoadSound at inc/sound.bmx:1 (declared by BRL.Audio)");
  EXPECT_EQ(ReasonFor(main, u"BRL.OGGLoader").Comment(),
            u"\"sfx/beep.ogg\" at inc/sound.bmx:1");
  EXPECT_EQ(ReasonFor(main, u"BRL.WAVLoader").Comment(),
            u"LoadSound at inc/sound.bmx:1 (audio)");

  const CodeBox& lib = Box(0, 1);
  EXPECT_EQ(ReasonFor(lib, u"BRL.Max2D").Comment(), u"LoadImage at lib.bmx:2");
  EXPECT_EQ(ReasonFor(lib, u"BRL.HTTPStream").Comment(),
            u"\"http::example.com/ship.png\" at lib.bmx:2 (http stream)");
  EXPECT_EQ(ReasonFor(lib, u"BRL.JPGLoader").Comment(), u"LoadImage at lib.bmx:2 (images)");
}

TEST_F(Reasons, TheFrameworkLineNamesItsTemplate) {
  // The first place of a word counts, spelled as it is written there.
  EXPECT_EQ(Box(0, 0).reasons[0].Comment(),
            u"Max OpenGL template: DrawText at main.bmx:6 (driver for BRL.Max2D)");
  EXPECT_EQ(Box(1, 0).reasons[0].templateName, u"Max DirectX template");
  EXPECT_EQ(Box(1, 0).modules[0], u"BRL.D3D7Max2D");
  // Only the main box has a Framework line.
  EXPECT_EQ(Box(0, 1).reasons[0].templateName, u"");
}

TEST_F(Reasons, PlainLinesCarryTheReasonAndThePageTextStaysTheSame) {
  CodeBox bare = Box(0, 0);
  bare.reasons.clear();
  bare.optionalReasons.clear();
  std::vector<CodeLine> explained = CodeLinesOf(Box(0, 0));
  std::vector<CodeLine> plain = CodeLinesOf(bare);
  ASSERT_EQ(explained.size(), plain.size());
  for (size_t i = 0; i < plain.size(); ++i) {
    EXPECT_EQ(explained[i].fixed + explained[i].data, plain[i].fixed + plain[i].data);
    EXPECT_EQ(plain[i].reason, u"");
  }
  EXPECT_EQ(explained[1].reason, u"Print at main.bmx:5");
  // The comment line above the optional modules has no reason of its own.
  EXPECT_EQ(explained[6].fixed, u"' modules which may be required:");
  EXPECT_EQ(explained[6].reason, u"");
  EXPECT_EQ(explained[7].reason, u"LoadSound at inc/sound.bmx:1 (audio)");
}

TEST(ReasonComment, LeavesOutWhatIsNotKnown) {
  EXPECT_EQ(Reason().Comment(), u"");
  EXPECT_EQ((Reason{u"cls", u"", 0, u"", u""}.Comment()), u"cls");
  EXPECT_EQ((Reason{u"", u"", 0, u"", u"Programs template"}.Comment()), u"Programs template");
}

}  // namespace
}  // namespace vt
