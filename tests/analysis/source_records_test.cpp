#include "analysis/source_records.h"

#include <gtest/gtest.h>

#include <limits>

#include "catalogue_fixture.h"
#include "support/test_support.h"

namespace vt {
namespace {

using testing::MakeModule;

class SourceRecords : public testing::FreshState {
 protected:
  // The first record of the examination.
  void SetUp() override {
    FreshState::SetUp();
    record = Analysis.NewSourceRecord();
  }

  sourcemodtype* record = nullptr;
};

TEST_F(SourceRecords, ConstantTextsAreExact) {
  EXPECT_EQ(TextView(KeywordText).size(), 219u);
  EXPECT_EQ(TextView(WordChars).size(), 39u);
  EXPECT_EQ(TextView(KeywordText).substr(0, 16), u"if|then|else|els");
  EXPECT_TRUE(EndsWith(KeywordText, u"|return|end|new"));
  EXPECT_EQ(TextView(WordChars).substr(26), u"01234567890._");
}

TEST_F(SourceRecords, LeadingNumberReadsTheDecimalPrefix) {
  EXPECT_FLOAT_EQ(LeadingNumber(u"3.5"), 3.5f);
  EXPECT_FLOAT_EQ(LeadingNumber(u".5"), 0.5f);
  EXPECT_FLOAT_EQ(LeadingNumber(u"2d"), 2.0f);
  EXPECT_FLOAT_EQ(LeadingNumber(u"1.5e2x"), 150.0f);
  EXPECT_FLOAT_EQ(LeadingNumber(u"7e"), 7.0f);
  EXPECT_FLOAT_EQ(LeadingNumber(u"0x1f"), 0.0f);
  EXPECT_FLOAT_EQ(LeadingNumber(u"info"), 0.0f);
  EXPECT_FLOAT_EQ(LeadingNumber(u"."), 0.0f);
  EXPECT_FLOAT_EQ(LeadingNumber(u"\"3.png"), 0.0f);
  // Beyond single precision: too large is positive, too small is 0.
  EXPECT_EQ(LeadingNumber(u"1e999"), std::numeric_limits<float>::infinity());
  EXPECT_EQ(LeadingNumber(u"0.00001e60"), std::numeric_limits<float>::infinity());
  EXPECT_FLOAT_EQ(LeadingNumber(u"1e-50"), 0.0f);
  EXPECT_FLOAT_EQ(LeadingNumber(u"1000e-60"), 0.0f);
}

TEST_F(SourceRecords, AddWordDropsNumbersShortWordsRepeatsAndKeywordFragments) {
  for (const char16_t* word : {u"drawimage", u"drawimage", u"in", u"str", u"tion", u"ele",
                               u"un", u"eth", u"print", u"cls", u"3d", u"3.5", u".5", u"x",
                               u"0", u"0x", u"00", u"0x1f", u"info", u"1e999", u"1e-50",
                               u"\"gfx/ball.png", u"function", u"_a"}) {
    record->AddWord(word);
  }
  TextList expected = {u"drawimage", u"print", u"cls",  u"0x",           u"00",
                       u"0x1f",      u"info",  u"1e-50", u"\"gfx/ball.png", u"_a"};
  EXPECT_EQ(record->words, expected);

  // A piece of the keyword text may run over a bar; one that only looks like
  // two keywords joined is no piece.
  record->words.Clear();
  for (const char16_t* word : {u"if|then", u"e|wend", u"then|x", u"ifthen", u"functions",
                               u"varptr", u"lse", u"new", u"ne"}) {
    record->AddWord(word);
  }
  EXPECT_EQ(record->words, (TextList{u"then|x", u"ifthen", u"functions"}));
}

// The quick test of a word against the pieces of the keyword text answers as
// searching the text itself would, for every piece and for near misses.
TEST_F(SourceRecords, KeywordPiecesAreThePiecesOfTheKeywordText) {
  TextView keywords(KeywordText);
  std::vector<Text> candidates;
  for (size_t from = 0; from < keywords.size(); ++from) {
    for (size_t length = 2; length <= 10 && from + length <= keywords.size(); ++length) {
      Text piece(keywords.substr(from, length));
      candidates.push_back(piece);
      Text changed = piece;
      changed.back() = changed.back() == u'z' ? u'a' : static_cast<char16_t>(changed.back() + 1);
      candidates.push_back(changed);
      candidates.push_back(piece + u"_");
      candidates.push_back(u"q" + piece);
    }
  }
  for (const Text& word : candidates) {
    sourcemodtype fresh;
    fresh.AddWord(word);
    bool piece = keywords.find(word) != TextView::npos;
    EXPECT_EQ(fresh.words.empty(), piece) << ToUtf8(word);
  }
}

// The classic rules' renames come from the rule set; without one a module
// is listed as it is named. BRL.Blitz is never listed.
TEST_F(SourceRecords, AddModuleRenamesAsTheRulesSayAndDropsBlitz) {
  const RuleSet* classic = &BuiltInRules().classic;
  record->AddModule(Catalogue, u"brl.blitz", classic);
  record->AddModule(Catalogue, u"BRL.Blitz");
  record->AddModule(Catalogue, u"BRL.Audio", classic);
  record->AddModule(Catalogue, u"brl.audiosample", classic);  // renamed the same way: listed once
  record->AddModule(Catalogue, u"BRL.MaxGUI", classic);
  record->AddModule(Catalogue, u"BRL.FreeAudioAudio", classic);
  EXPECT_EQ(record->modules, (TextList{u"BRL.FreeAudioAudio", u"BRL.Win32MaxGUI"}));
  sourcemodtype& modern = *Analysis.NewSourceRecord();
  modern.AddModule(Catalogue, u"BRL.Audio", &BuiltInRules().modern);
  EXPECT_EQ(modern.modules, TextList{u"BRL.Audio"});
}

TEST_F(SourceRecords, AddModuleDropsDuplicatesInAnyCase) {
  record->AddModule(Catalogue, u"BRL.PNGLoader");
  record->AddModule(Catalogue, u"brl.pngloader");
  record->AddModule(Catalogue, u"BRL.PNGLOADER");
  EXPECT_EQ(record->modules, TextList{u"BRL.PNGLoader"});
}

TEST_F(SourceRecords, AddModuleDropsWhatAListedModuleImports) {
  MakeModule(Catalogue, u"brl.glmax2d", u"BRL.GLMax2D", {}, {u"brl.max2d", u"brl.graphics"});
  MakeModule(Catalogue, u"brl.max2d", u"BRL.Max2D", {}, {u"brl.graphics"});
  record->AddModule(Catalogue, u"BRL.GLMax2D");
  record->AddModule(Catalogue, u"BRL.Max2D");
  record->AddModule(Catalogue, u"BRL.Graphics");
  EXPECT_EQ(record->modules, TextList{u"BRL.GLMax2D"});

  // The other way round both stay: a later module never removes one.
  sourcemodtype& other = *Analysis.NewSourceRecord();
  other.AddModule(Catalogue, u"BRL.Max2D");
  other.AddModule(Catalogue, u"BRL.GLMax2D");
  EXPECT_EQ(other.modules, (TextList{u"BRL.Max2D", u"BRL.GLMax2D"}));
}

TEST_F(SourceRecords, AddModuleFollowsAModuleListEmptiedOrChangedInBetween) {
  MakeModule(Catalogue, u"brl.glmax2d", u"BRL.GLMax2D", {}, {u"brl.max2d"});
  MakeModule(Catalogue, u"brl.max2d", u"BRL.Max2D", {}, {});
  record->AddModule(Catalogue, u"BRL.GLMax2D");
  record->AddModule(Catalogue, u"BRL.Max2D");
  EXPECT_EQ(record->modules, TextList{u"BRL.GLMax2D"});
  // Emptied: nothing listed imports brl.max2d any more.
  record->modules.clear();
  record->AddModule(Catalogue, u"BRL.Max2D");
  EXPECT_EQ(record->modules, TextList{u"BRL.Max2D"});
  // Replaced in place by a module that imports it: it counts at once.
  record->modules = {u"BRL.GLMax2D"};
  record->AddModule(Catalogue, u"brl.max2d");
  record->AddOptionalModule(u"brl.glmax2d");
  EXPECT_EQ(record->modules, TextList{u"BRL.GLMax2D"});
  EXPECT_TRUE(record->optionalModules.empty());
}

TEST_F(SourceRecords, AddOptionalModuleSkipsRequiredAndRepeatedModules) {
  record->AddModule(Catalogue, u"BRL.PNGLoader");
  record->AddOptionalModule(u"BRL.PNGLoader");
  record->AddOptionalModule(u"brl.pngloader");
  record->AddOptionalModule(u"BRL.BMPLoader");
  record->AddOptionalModule(u"BRL.BMPLoader");
  record->AddOptionalModule(u"brl.bmploader");  // the repeat test is exact
  EXPECT_EQ(record->optionalModules, (TextList{u"BRL.BMPLoader", u"brl.bmploader"}));
}

}  // namespace
}  // namespace vt
