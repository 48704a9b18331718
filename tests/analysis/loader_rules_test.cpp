#include "analysis/loader_rules.h"

#include <gtest/gtest.h>

#include "analysis/command_matcher.h"
#include "catalogue_fixture.h"
#include "support/test_support.h"

namespace vt {
namespace {

using testing::MakeModule;

// Every module a loader or stream rule names, as the catalogue declares it.
constexpr const char16_t* kRuledModules[] = {
    u"BRL.PNGLoader", u"BRL.BMPLoader", u"BRL.TGALoader",  u"BRL.JPGLoader",
    u"BRL.WAVLoader", u"BRL.OGGLoader", u"Pub.maXML",      u"BRL.HTTPStream",
    u"BRL.RamStream", u"BRL.FreeTypeFont"};

// Runs the matching and the loader suggestions over one record holding
// `words` as the command pass would have stored them, against a catalogue
// that holds `installed`.
class LoaderRules : public testing::FreshState {
 protected:
  void Install(std::initializer_list<const char16_t*> installed) {
    for (const char16_t* module : installed) MakeModule(Catalogue, Lower(module), module, {});
  }

  void InstallAll() {
    for (const char16_t* module : kRuledModules) MakeModule(Catalogue, Lower(module), module, {});
  }

  sourcemodtype& Analyse(std::initializer_list<const char16_t*> words) {
    if (Catalogue.ModList.empty()) InstallAll();
    return AnalyseAsInstalled(words);
  }

  sourcemodtype& AnalyseAsInstalled(std::initializer_list<const char16_t*> words) {
    if (!Analysis.Rules) Analysis.Rules = &BuiltInRules().classic;
    sourcemodtype& record = *Analysis.NewSourceRecord();
    for (const char16_t* word : words) record.words.Add(word);
    CommandMatcher(Catalogue, Analysis.Notes, Analysis.Rules).Match(record);
    SuggestLoaders(Analysis, Catalogue);
    return record;
  }
};

TEST_F(LoaderRules, AnImageLiteralRequiresItsLoaderAndOffersTheOthers) {
  sourcemodtype& record = Analyse({u"\"gfx/ball.png"});
  EXPECT_EQ(record.modules, TextList{u"BRL.PNGLoader"});
  EXPECT_EQ(record.imagesUsed, 1);
  EXPECT_EQ(record.audioUsed, 0);
  EXPECT_EQ(record.optionalModules,
            (TextList{u"BRL.BMPLoader", u"BRL.TGALoader", u"BRL.JPGLoader"}));
}

TEST_F(LoaderRules, EachExtensionRow) {
  sourcemodtype& record = Analyse({u"\"a.bmp", u"\"b.tga", u"\"c.jpg", u"\"d.wav", u"\"e.ogg"});
  EXPECT_EQ(record.modules, (TextList{u"BRL.BMPLoader", u"BRL.TGALoader", u"BRL.JPGLoader",
                                      u"BRL.WAVLoader", u"BRL.OGGLoader"}));
  EXPECT_EQ(record.optionalModules, TextList{u"BRL.PNGLoader"});
}

TEST_F(LoaderRules, OnlyTheLastFourCharactersCount) {
  sourcemodtype& record = Analyse({u"\"photo.jpeg", u"\"a.png.txt", u"\"png"});
  EXPECT_TRUE(record.modules.empty());
  EXPECT_EQ(record.imagesUsed, 0);
  EXPECT_TRUE(record.optionalModules.empty());
}

TEST_F(LoaderRules, HttpLiteralsAddTheStreamBeforeTheLoader) {
  sourcemodtype& record = Analyse({u"\"http::example.com/a.png", u"\"http::example.com/"});
  EXPECT_EQ(record.modules, (TextList{u"BRL.HTTPStream", u"BRL.PNGLoader"}));
}

TEST_F(LoaderRules, LiteralsStartingWithADotAreRuledLikeAnyOther) {
  sourcemodtype& record = Analyse({u"\".png", u"\"../sfx/a.ogg"});
  EXPECT_EQ(record.modules, (TextList{u"BRL.PNGLoader", u"BRL.OGGLoader"}));
}

TEST_F(LoaderRules, IncbinWordAndIncbinLiteral) {
  sourcemodtype& record = Analyse({u"incbin", u"\"incbin::boom.wav"});
  EXPECT_EQ(record.modules, (TextList{u"BRL.RamStream", u"BRL.WAVLoader"}));
  EXPECT_EQ(record.audioUsed, 1);
  EXPECT_EQ(record.optionalModules, TextList{u"BRL.OGGLoader"});
}

TEST_F(LoaderRules, LoadWordsSetFlagsAndSomeRequireModules) {
  sourcemodtype& font = Analyse({u"loadimagefont"});
  EXPECT_EQ(font.modules, TextList{u"BRL.FreeTypeFont"});
  EXPECT_EQ(font.imagesUsed, 1);

  sourcemodtype& png = Analyse({u"loadpixmappng"});
  EXPECT_EQ(png.modules, TextList{u"BRL.PNGLoader"});
  EXPECT_EQ(png.optionalModules,
            (TextList{u"BRL.BMPLoader", u"BRL.TGALoader", u"BRL.JPGLoader"}));

  for (const char16_t* word : {u"loadimage", u"loadanimimage", u"loadpixmap"}) {
    sourcemodtype& images = Analyse({word});
    EXPECT_TRUE(images.modules.empty()) << testing::Show(word);
    EXPECT_EQ(images.optionalModules, (TextList{u"BRL.PNGLoader", u"BRL.BMPLoader",
                                                u"BRL.TGALoader", u"BRL.JPGLoader"}));
  }
  for (const char16_t* word : {u"loadsound", u"loadaudiosample"}) {
    sourcemodtype& sound = Analyse({word});
    EXPECT_TRUE(sound.modules.empty()) << testing::Show(word);
    EXPECT_EQ(sound.imagesUsed, 0);
    EXPECT_EQ(sound.optionalModules, (TextList{u"BRL.WAVLoader", u"BRL.OGGLoader"}));
  }
}

TEST_F(LoaderRules, WordRulesMatchWholeWordsOnly) {
  sourcemodtype& record = Analyse({u"loadimages", u"myincbin", u"\"loadsound"});
  EXPECT_TRUE(record.modules.empty());
  EXPECT_EQ(record.imagesUsed, 0);
  EXPECT_EQ(record.audioUsed, 0);
}

TEST_F(LoaderRules, AnXmlLiteralLeavesAnAudioFindingStanding) {
  sourcemodtype& record = Analyse({u"loadsound", u"\"levels.xml"});
  EXPECT_EQ(record.modules, TextList{u"Pub.maXML"});
  EXPECT_EQ(record.audioUsed, 1);
  EXPECT_EQ(record.optionalModules, (TextList{u"BRL.WAVLoader", u"BRL.OGGLoader"}));
}

// A rule names a module only when the catalogue holds it; the flags stand
// regardless, and only the installed loaders are offered.
TEST_F(LoaderRules, OnlyInstalledModulesAreNamed) {
  const std::initializer_list<const char16_t*> words = {
      u"\"levels.xml", u"\"gfx/ball.png", u"\"http::example.com/", u"incbin",
      u"loadimagefont", u"loadpixmappng", u"loadsound"};
  Install({u"BRL.BMPLoader", u"BRL.OGGLoader"});
  sourcemodtype& bare = AnalyseAsInstalled(words);
  EXPECT_TRUE(bare.modules.empty());
  EXPECT_EQ(bare.imagesUsed, 1);
  EXPECT_EQ(bare.audioUsed, 1);
  EXPECT_EQ(bare.optionalModules, (TextList{u"BRL.BMPLoader", u"BRL.OGGLoader"}));

  Install({u"Pub.maXML", u"BRL.PNGLoader", u"BRL.HTTPStream", u"BRL.RamStream",
           u"BRL.FreeTypeFont"});
  sourcemodtype& full = AnalyseAsInstalled(words);
  EXPECT_EQ(full.modules, (TextList{u"Pub.maXML", u"BRL.PNGLoader", u"BRL.HTTPStream",
                                    u"BRL.RamStream", u"BRL.FreeTypeFont"}));
  EXPECT_EQ(full.optionalModules, (TextList{u"BRL.BMPLoader", u"BRL.OGGLoader"}));
}

// The rows are data: a set of one's own, with a longer file type that
// overlaps a shorter one, and a word that only notes sounds.
TEST_F(LoaderRules, RowsComeFromTheRuleSet) {
  RuleBook book;
  ASSERT_EQ(ReadRules("[modern]\n"
                      "file .gz Archive.GZIP\n"
                      "file .tar.gz Archive.TAR -- tarball\n"
                      "file .webp Image.WEBP images\n"
                      "word PlayTune audio\n"
                      "loaders images Image.PNG Image.WEBP\n"
                      "loaders audio Audio.ModLoader\n",
                      u"r.txt", book).message(),
            u"");
  Analysis.Rules = &book.modern;
  Install({u"Archive.GZIP", u"Archive.TAR", u"Image.WEBP", u"Image.PNG", u"Audio.ModLoader"});
  sourcemodtype& record =
      AnalyseAsInstalled({u"\"logs.tar.gz", u"\"hero.webp", u"\"a.png", u"playtune"});
  EXPECT_EQ(record.modules, (TextList{u"Archive.TAR", u"Image.WEBP"}));
  EXPECT_EQ(record.optionalModules, (TextList{u"Image.PNG", u"Audio.ModLoader"}));
}

}  // namespace
}  // namespace vt
