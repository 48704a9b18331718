#include "analysis/command_matcher.h"

#include <gtest/gtest.h>

#include "analysis/source_records.h"
#include "catalogue_fixture.h"
#include "support/test_support.h"

namespace vt {
namespace {

using testing::MakeModule;
// Matches every record, as an examination does once the walk is over.
void MatchAll(AnalysisState& analysis, CatalogueState& catalogue) {
  CommandMatcher matcher(catalogue, analysis.Notes, analysis.Rules);
  for (const auto& record : analysis.SourceModList) matcher.Match(*record);
}

class Matching : public testing::FreshState {
 protected:
  sourcemodtype& Record(std::initializer_list<const char16_t*> words) {
    Analysis.Rules = &BuiltInRules().classic;
    sourcemodtype& record = *Analysis.NewSourceRecord();
    for (const char16_t* word : words) record.words.Add(word);
    return record;
  }
};

TEST_F(Matching, EveryModuleDeclaringAWordIsAddedInCatalogueOrder) {
  MakeModule(Catalogue, u"brl.blitz", u"BRL.Blitz", {u"print"});
  MakeModule(Catalogue, u"brl.standardio", u"BRL.StandardIO", {u"print", u"input"});
  MakeModule(Catalogue, u"brl.retro", u"BRL.Retro", {u"print", u"left"});
  sourcemodtype& record = Record({u"print", u"left", u"input", u"unknown"});
  MatchAll(Analysis, Catalogue);
  EXPECT_EQ(record.modules, (TextList{u"BRL.StandardIO", u"BRL.Retro"}));
}

TEST_F(Matching, TypeNamesMatchLikeCommands) {
  MakeModule(Catalogue, u"brl.linkedlist", u"BRL.LinkedList", {u"createlist"})->types = {
      u"tlist"};
  MakeModule(Catalogue, u"brl.audio", u"BRL.Audio", {u"playsound"})->types = {u"tsound",
                                                                                u"playsound"};
  MakeModule(Catalogue, u"brl.other", u"BRL.Other", {u"tsound"});
  sourcemodtype& record = Record({u"tsound", u"tlist", u"playsound"});
  MatchAll(Analysis, Catalogue);
  EXPECT_EQ(record.modules,
            (TextList{u"BRL.FreeAudioAudio", u"BRL.Other", u"BRL.LinkedList"}));
}

TEST_F(Matching, AModuleThatImportsTheOtherKeepsItOut) {
  MakeModule(Catalogue, u"brl.max2d", u"BRL.Max2D", {u"cls"}, {u"brl.graphics"});
  MakeModule(Catalogue, u"brl.graphics", u"BRL.Graphics", {u"cls", u"flip"});
  sourcemodtype& record = Record({u"cls", u"flip"});
  MatchAll(Analysis, Catalogue);
  EXPECT_EQ(record.modules, TextList{u"BRL.Max2D"});
}

TEST_F(Matching, EachRecordIsMatchedAfresh) {
  MakeModule(Catalogue, u"brl.max2d", u"BRL.Max2D", {u"cls"});
  sourcemodtype& main = Record({u"cls"});
  sourcemodtype& imported = Record({u"cls"});
  MatchAll(Analysis, Catalogue);
  EXPECT_EQ(main.modules, TextList{u"BRL.Max2D"});
  EXPECT_EQ(imported.modules, TextList{u"BRL.Max2D"});
}

TEST_F(Matching, RuleModulesComeFirstAndLiteralsAreNeverCommands) {
  MakeModule(Catalogue, u"brl.pixmap", u"BRL.Pixmap", {u"loadpixmappng"});
  MakeModule(Catalogue, u"brl.pngloader", u"BRL.PNGLoader", {});
  MakeModule(Catalogue, u"brl.strange", u"BRL.Strange", {u"\"gfx/a.png", u"gfx/a.png"});
  sourcemodtype& record = Record({u"\"gfx/a.png", u"loadpixmappng"});
  MatchAll(Analysis, Catalogue);
  EXPECT_EQ(record.modules, (TextList{u"BRL.PNGLoader", u"BRL.Pixmap"}));
  EXPECT_EQ(record.imagesUsed, 1);
}

TEST_F(Matching, AWordOfAListedModuleChangesNothing) {
  MakeModule(Catalogue, u"brl.freeaudioaudio", u"BRL.FreeAudioAudio", {u"playsound"});
  sourcemodtype& record = Record({u"playsound"});
  record.modules.Edit().push_back(u"BRL.FreeAudioAudio");
  MatchAll(Analysis, Catalogue);
  EXPECT_EQ(record.modules, TextList{u"BRL.FreeAudioAudio"});
}

// "TPath.Cwd()" is one word: the type before its first dot still needs its
// module. Only type names count there, not commands.
TEST_F(Matching, ADottedWordAlsoNamesTheTypeBeforeItsFirstDot) {
  MakeModule(Catalogue, u"brl.path", u"BRL.Path", {u"readfolder"})->types = {u"tpath"};
  MakeModule(Catalogue, u"brl.self", u"BRL.Self", {u"self", u"brl"});
  MakeModule(Catalogue, u"brl.max2d", u"BRL.Max2D", {u"drawimage"});
  sourcemodtype& record =
      Record({u"self.x", u"brl.max2d.drawimage", u".5e", u"tpath.cwd", u"tpath.of.name"});
  MatchAll(Analysis, Catalogue);
  EXPECT_EQ(record.modules, TextList{u"BRL.Path"});
}

}  // namespace
}  // namespace vt
