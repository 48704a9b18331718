#include "analysis/rule_book.h"

#include <gtest/gtest.h>

#include "catalogue/module_records.h"

namespace vt {
namespace {

TEST(ReadRules, AFaultNamesFileAndLineAndLeavesTheBookAsItWas) {
  struct Case {
    std::string_view text;
    const char16_t* error;
  };
  const Case cases[] = {
      {"gui BRL.MaxGUI\n",
       u"r.txt:1: \"gui\" before any section; start with [classic] or [modern]"},
      {"[future]\n",
       u"r.txt:1: unknown section \"[future]\"; expected [classic] or [modern]"},
      {"# note\n\n[modern]\r\n  implemnetation A.B C.D\r\n",
       u"r.txt:4: unknown rule \"implemnetation\"; expected implementation, driver, note, "
       u"gui, family, symbol, file, stream, word, loaders or rename"},
      {"[modern]\nimplementation BRL.Timer\n",
       u"r.txt:2: implementation needs an interface module and an implementation module"},
      {"[modern]\nimplementation BRL.Timer BRLTimerDefault\n",
       u"r.txt:2: \"BRLTimerDefault\" is not a module name such as BRL.Timer"},
      {"[modern]\nimplementation A.B.C D.E\n",
       u"r.txt:2: \"A.B.C\" is not a module name such as BRL.Timer"},
      {"[classic]\ndriver vulkan BRL.VK SetGraphicsDriver VKDriver()\n",
       u"r.txt:2: unknown driver \"vulkan\"; expected opengl-graphics, opengl-max2d or "
       u"directx-max2d"},
      {"[classic]\ndriver opengl-max2d BRL.GLMax2D\n",
       u"r.txt:2: driver needs a template name, a module and a source line"},
      {"[classic]\nnote opengl-max2d \t\n",
       u"r.txt:2: note needs a template name and a text"},
      {"[classic]\ngui BRL.A BRL.B\n", u"r.txt:2: gui needs exactly one module"},
      // The rules before the fault are dropped with it.
      {"[modern]\nimplementation A.B C.D\ngui .B\n",
       u"r.txt:3: \".B\" is not a module name such as BRL.Timer"},
      {"[modern]\nnote opengl-max2d caf\xC3\xA9\nnote opengl-max2d caf\xE9\n",
       u"r.txt:3: not valid UTF-8"},
      {"[modern]\nfamily timers\n", u"r.txt:2: family needs a name and its member modules"},
      {"[modern]\nfamily BRL.TimerDefault SDL.SDLTimer\n",
       u"r.txt:2: \"BRL.TimerDefault\" is not a family name such as max2d-drivers"},
      {"[modern]\nfamily timers BRL.TimerDefault SDLTimer\n",
       u"r.txt:2: \"SDLTimer\" is not a module name such as BRL.Timer"},
      {"[modern]\nfamily random for Random.Core\n",
       u"r.txt:2: family needs a name and its member modules"},
      {"[modern]\nfamily random for\n", u"r.txt:2: family needs an interface module after for"},
      {"[modern]\nfamily random BRL.Random -- why\n",
       u"r.txt:2: family needs for INTERFACE to give a reason"},
      {"[modern]\nfamily random for Random.Core BRL.Random --\n",
       u"r.txt:2: family needs a reason after --"},
      {"[modern]\nsymbol CreateHTMLView\n", u"r.txt:2: symbol needs a word and a module"},
      {"[modern]\nsymbol EArchiveFormat. Archive.ZIP\n",
       u"r.txt:2: \"EArchiveFormat.\" is not a word such as CreateHTMLView or "
       u"EArchiveFormat.ZIP"},
      {"[modern]\nsymbol CreateHTMLView MaxGUI.GTK3WebKit2GTK ? on Linux\n",
       u"r.txt:2: symbol needs a condition after ?, such as ?Linux"},
      {"[modern]\nfile png Image.PNG images\n",
       u"r.txt:2: file needs .EXT, then a module, images or audio, or both, such as "
       u"\"file .png BRL.PNGLoader images\""},
      {"[modern]\nfile .png\n",
       u"r.txt:2: file needs .EXT, then a module, images or audio, or both, such as "
       u"\"file .png BRL.PNGLoader images\""},
      {"[modern]\nword LoadImage pictures\n",
       u"r.txt:2: \"pictures\" is not a module name, images, audio or --"},
      {"[modern]\nstream https:: Net.HTTPSStream images --\n",
       u"r.txt:2: stream needs a reason after --"},
      {"[classic]\nrename BRL.Audio\n",
       u"r.txt:2: rename needs a module and the name it is listed as"},
      {"[modern]\nloaders video Image.PNG\n",
       u"r.txt:2: loaders needs images or audio, then the modules to offer"},
      {"[modern]\nloaders images Image.PNG png\n",
       u"r.txt:2: \"png\" is not a module name such as BRL.Timer"},
  };
  for (const Case& c : cases) {
    RuleBook book = BuiltInRules();
    EXPECT_EQ(ReadRules(c.text, u"r.txt", book).message(), c.error) << c.text;
    EXPECT_EQ(book, BuiltInRules()) << c.text;
  }
}

// A symbol rule's condition and reason may be left out; a family that names
// its interface module gives a reason by default; an implementation line is
// a family of one member without a name; and a family line without an
// interface keeps that of the family it replaces.
TEST(ReadRules, SymbolsAndFamiliesTakeTheirDefaults) {
  RuleBook book;
  ASSERT_EQ(ReadRules("[modern]\n"
                      "symbol CreateHTMLView MaxGUI.GTK3WebKit2GTK ?Linux\n"
                      "symbol EArchiveFormat.ZIP\tArchive.ZIP  format for ZIP \n"
                      "symbol Rnd Random.Core\n"
                      "family random for Random.Core BRL.Random Random.Xoshiro -- generator\n"
                      "family timers for BRL.Timer BRL.TimerDefault\n"
                      "implementation BRL.Audio BRL.FreeAudioAudio\n"
                      "family timers SDL.SDLTimer\n",
                      u"r.txt", book, RuleSource::Shipped).message(),
            u"");
  auto at = [](size_t line) { return RuleOrigin{u"r.txt", line, true}; };
  EXPECT_EQ(book.modern.symbols,
            (std::vector<SymbolRule>{
                {u"CreateHTMLView", u"MaxGUI.GTK3WebKit2GTK", u"Linux",
                 u"plug-in for CreateHTMLView on Linux", at(2)},
                {u"EArchiveFormat.ZIP", u"Archive.ZIP", u"", u"format for ZIP", at(3)},
                {u"Rnd", u"Random.Core", u"", u"plug-in for Rnd", at(4)}}));
  EXPECT_EQ(book.modern.families,
            (ModuleFamilies{
                {u"random", {u"BRL.Random", u"Random.Xoshiro"}, u"Random.Core", u"generator",
                 at(5)},
                {u"timers", {u"SDL.SDLTimer"}, u"BRL.Timer", u"implementation of BRL.Timer",
                 at(8)},
                {u"", {u"BRL.FreeAudioAudio"}, u"BRL.Audio", u"implementation of BRL.Audio",
                 at(7)}}));
}

// A loader rule of a kind and text read before replaces it in its place;
// one of a new text is added after; a loaders line replaces its list.
TEST(ReadRules, LoaderRowsReplaceTheirOwnTextAndAddTheRest) {
  RuleBook book = BuiltInRules();
  ASSERT_EQ(ReadRules("[classic]\n"
                      "file .PNG Bah.PNG images -- my PNG loader\n"
                      "file .webp Bah.WebP images\n"
                      "stream .png Bah.PNGStream\n"
                      "loaders audio\n",
                      u"r.txt", book).message(),
            u"");
  const RuleSet& shipped = BuiltInRules().classic;
  const RuleSet& read = book.classic;
  ASSERT_EQ(read.loaders.size(), shipped.loaders.size() + 2);
  EXPECT_EQ(read.loaders[0], (LoaderRule{LoaderRule::Match::FileType, u".png", u"Bah.PNG",
                                         LoadKind::Images, u"my PNG loader", {u"r.txt", 2}}));
  EXPECT_EQ(read.loaders[shipped.loaders.size()].module, u"Bah.WebP");
  EXPECT_EQ(read.loaders.back().match, LoaderRule::Match::Stream);
  EXPECT_EQ(read.imageLoaders, shipped.imageLoaders);
  EXPECT_TRUE(read.audioLoaders.empty());
}

// A rule of the user's that names a module the installation lacks is said
// with its file and line and does not act. The shipped rules are written for
// every installation, family members are alternatives, and the other set's
// rules are for another installation: none of them is warned about.
TEST(InstalledRules, AUsersRuleNamingAModuleNotInstalledIsWarnedAboutAndNotUsed) {
  CatalogueState catalogue;
  catalogue.ruleSet = RuleSetKind::Modern;
  for (const char16_t* name : {u"brl.timer", u"brl.timerdefault", u"brl.glmax2d", u"brl.system"}) {
    catalogue.CreateModule(name);
  }
  RuleBook book = BuiltInRules();
  EXPECT_EQ(UninstalledRuleWarnings(book, catalogue), std::vector<Text>{});
  ASSERT_EQ(ReadRules("[modern]\n"
                      "# mine\n"
                      "implementation BRL.System SDL.SDLSystem\n"
                      "driver directx-max2d SDL.D3D9SDLMax2D SetGraphicsDriver D3D9Driver()\n"
                      "gui MaxGUI.Drivers\n"
                      "family timers Bah.Timer BRL.TimerDefault\n"
                      "family mine Bah.A Bah.B\n"
                      "family web for Bah.Web Bah.WebKit\n"
                      "symbol CreateHTMLView Bah.WebKit ?Linux\n"
                      "symbol CreateTimer BRL.TimerDefault\n"
                      "file .webp Image.WEBP images\n"
                      "loaders images Image.PNG Image.WEBP\n"
                      "[classic]\n"
                      "gui BRL.Win32MaxGUI\n",
                      u"mine.txt", book).message(),
            u"");
  EXPECT_EQ(UninstalledRuleWarnings(book, catalogue),
            (std::vector<Text>{
                u"mine.txt:3: SDL.SDLSystem is not installed here; the rule is not used",
                u"mine.txt:8: Bah.Web is not installed here; the rule is not used",
                u"mine.txt:9: Bah.WebKit is not installed here; the rule is not used",
                u"mine.txt:11: Image.WEBP is not installed here; the rule is not used",
                u"mine.txt:4: SDL.D3D9SDLMax2D is not installed here; the rule is not used",
                u"mine.txt:5: MaxGUI.Drivers is not installed here; the rule is not used"}));
  // A family of a name read before replaces it in its place.
  const ModuleFamilies& families = book.modern.families;
  ASSERT_EQ(families.size(), BuiltInRules().modern.families.size() + 3);
  EXPECT_EQ(families[0], (ModuleFamily{u"timers", {u"Bah.Timer", u"BRL.TimerDefault"},
                                       u"BRL.Timer", u"implementation of BRL.Timer",
                                       {u"mine.txt", 6}}));
  EXPECT_EQ(families.back().name, u"web");

  RuleBook installed = InstalledRules(book, catalogue);
  const RuleSet& rules = installed.modern;
  ASSERT_EQ(rules.symbols.size(), 1u);
  EXPECT_EQ(rules.symbols[0].word, u"CreateTimer");
  EXPECT_EQ(rules.templates.openglMax2D.module, u"BRL.GLMax2D");
  EXPECT_EQ(rules.templates.directxMax2D, DriverTemplate());
  EXPECT_EQ(rules.templates.guiModule, u"");
  EXPECT_EQ(rules.families, families);
  EXPECT_EQ(installed.classic, book.classic);

  // The classic rules act as they always did, whatever is installed.
  catalogue.ruleSet = RuleSetKind::Classic;
  EXPECT_EQ(InstalledRules(book, catalogue), book);
  EXPECT_EQ(UninstalledRuleWarnings(book, catalogue), std::vector<Text>{});
}

}  // namespace
}  // namespace vt
