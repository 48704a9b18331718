#include "catalogue/module_scan.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#if !defined(_WIN32)
#include <unistd.h>
#endif

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

#include "base/paths.h"
#include "catalogue/import_closure.h"
#include "catalogue/module_records.h"
#include "platform/file_system.h"
#include "support/test_support.h"

namespace vt {
namespace {

using testing::TempFolder;

class ModuleScan : public testing::FreshState {
 protected:
  void SetUp() override {
    FreshState::SetUp();
    rootFolder = tmp.Path();
  }

  // Scans `rootFolder` and, when a collection was found, closes the imports,
  // as a rebuild of the catalogue does. True when a collection was found.
  bool Scan() {
    Text before = CurrentFolder();
    bool collectionFound = ScanModFolder(Catalogue, rootFolder);
    if (collectionFound) ExpandModuleImports(Catalogue);
    // The scan names every path in full; it never moves the process.
    EXPECT_EQ(CurrentFolder(), before);
    return collectionFound;
  }

  std::set<Text> ModuleNames() const {
    std::set<Text> names;
    for (const auto& m : Catalogue.ModList) names.insert(m->name);
    return names;
  }

  TempFolder tmp;
  Text rootFolder;
};

TextList Names(std::initializer_list<const char16_t*> names) {
  return TextList(names.begin(), names.end());
}

modtype* Find(const CatalogueState& catalogue, TextView name) {
  for (const auto& m : catalogue.ModList) {
    if (m->name == name) return m.get();
  }
  return nullptr;
}

TEST_F(ModuleScan, OnlyFoldersEndingInLowerCaseModQualify) {
  tmp.WriteFile(u"mod/brl.mod/blitz.mod/blitz.bmx",
                "Module BRL.Blitz\nFunction Delay()\n");
  tmp.WriteFile(u"mod/pub.mod/zlib.mod/zlib.bmx", "Module Pub.ZLib\n");
  // Names of their own, so that a file system that ignores case keeps them
  // apart from brl.mod.
  tmp.WriteFile(u"mod/GUI.MOD/upper.mod/upper.bmx", "Function Upper()\n");
  tmp.WriteFile(u"mod/Net.Mod/mixed.mod/mixed.bmx", "Function Mixed()\n");
  tmp.WriteFile(u"mod/x.mod", "a file, not a folder\n");
  tmp.WriteFile(u"mod/brl.mod/file.mod", "a file, not a folder\n");
  tmp.MakeFolder(u"mod/other/inner.mod");
  tmp.MakeFolder(u"mod/brl.mod/notes");
  tmp.MakeFolder(u"mod/brl.mod/Big.MOD");
  tmp.MakeFolder(u"mod/.mod");
  EXPECT_TRUE(Scan());
  EXPECT_EQ(ModuleNames(), (std::set<Text>{u"brl.blitz", u"pub.zlib"}));
  EXPECT_EQ(Find(Catalogue, u"brl.blitz")->declaredName, u"BRL.Blitz");
  EXPECT_EQ(Find(Catalogue, u"brl.blitz")->commands, Names({u"delay"}));
}

TEST_F(ModuleScan, FoldersInsideModuleFoldersAreNotScanned) {
  tmp.WriteFile(u"mod/brl.mod/blitz.mod/blitz.bmx", "Function Delay()\n");
  tmp.WriteFile(u"mod/brl.mod/blitz.mod/deeper.mod/deeper.bmx", "Function Deeper()\n");
  Scan();
  EXPECT_EQ(ModuleNames(), (std::set<Text>{u"brl.blitz"}));
  EXPECT_EQ(Catalogue.CommandCount, 1);
}

TEST_F(ModuleScan, CollectionPrefixEndsAtTheFirstDot) {
  tmp.WriteFile(u"mod/my.tools.mod/foo.mod/foo.bmx", "Function Foo()\n");
  tmp.WriteFile(u"mod/Brl.mod/Blitz.mod/Blitz.bmx", "Function Go()\n");
  Scan();
  EXPECT_EQ(ModuleNames(), (std::set<Text>{u"my.foo", u"Brl.Blitz"}));
  EXPECT_EQ(Find(Catalogue, u"my.foo")->commands, Names({u"foo"}));
  EXPECT_EQ(Catalogue.FindModule(u"Brl.Blitz"), nullptr);
}

TEST_F(ModuleScan, ModuleFolderWithoutItsMainSourceIsStillCounted) {
  tmp.WriteFile(u"mod/brl.mod/empty.mod/other.bmx", "Function Other()\n");
  tmp.MakeFolder(u"mod/brl.mod/bare.mod");
  tmp.MakeFolder(u"mod/brl.mod/odd.mod/odd.bmx");  // a folder, not a file
  tmp.WriteFile(u"mod/brl.mod/full.mod/full.bmx", "Module BRL.Full\nFunction A()\n");
  Scan();
  EXPECT_EQ(ModuleNames(),
            (std::set<Text>{u"brl.empty", u"brl.bare", u"brl.odd", u"brl.full"}));
  for (const char16_t* name : {u"brl.empty", u"brl.bare", u"brl.odd"}) {
    modtype* m = Find(Catalogue, name);
    EXPECT_TRUE(m->declaredName.empty()) << testing::Show(name);
    EXPECT_TRUE(m->commands.empty()) << testing::Show(name);
    EXPECT_TRUE(m->imports.empty()) << testing::Show(name);
  }
  EXPECT_EQ(Catalogue.ModList.size(), 4u);
  EXPECT_EQ(Catalogue.CommandCount, 1);
}

TEST_F(ModuleScan, MixedCaseMainSourceIsFound) {
  tmp.WriteFile(u"mod/brl.mod/audio.mod/Audio.bmx",
                "Module BRL.Audio\nFunction LoadSound()\n");
  tmp.WriteFile(u"mod/brl.mod/maxgui.mod/MaxGUI.BMX",
                "Module BRL.MaxGUI\nFunction Notify()\n");
  Scan();
  EXPECT_EQ(Find(Catalogue, u"brl.audio")->commands, Names({u"loadsound"}));
  EXPECT_EQ(Find(Catalogue, u"brl.maxgui")->declaredName, u"BRL.MaxGUI");
}

TEST_F(ModuleScan, EmptyModFolderFindsNoCollectionAndGivesAnEmptyCatalogue) {
  tmp.MakeFolder(u"mod");
  tmp.WriteFile(u"mod/readme.mod", "not a folder\n");
  EXPECT_FALSE(Scan());
  EXPECT_TRUE(Catalogue.ModList.empty());
  EXPECT_EQ(Catalogue.CommandCount, 0);
}

TEST_F(ModuleScan, ACollectionWithoutModulesCountsAsFound) {
  tmp.MakeFolder(u"mod/brl.mod");
  EXPECT_TRUE(Scan());
  EXPECT_TRUE(Catalogue.ModList.empty());
}

TEST_F(ModuleScan, ModFolderThatCannotBeEnteredListsNothingInItsPlace) {
  // The current folder holds module collections, which must not be read.
  tmp.WriteFile(u"here/brl.mod/wrong.mod/wrong.bmx", "Function Wrong()\n");
  ASSERT_TRUE(testing::EnterFolder(tmp / u"here"));
  rootFolder = tmp / u"nowhere";
  Catalogue.CreateModule(u"brl.old");
  EXPECT_FALSE(Scan());
  EXPECT_TRUE(Catalogue.ModList.empty());
  EXPECT_EQ(Catalogue.FindModule(u"brl.old"), nullptr);
}

TEST_F(ModuleScan, ASecondScanDiscardsTheFirst) {
  TempFolder second;
  tmp.WriteFile(u"mod/brl.mod/blitz.mod/blitz.bmx", "Function Delay()\nFunction End()\n");
  second.WriteFile(u"mod/pub.mod/zlib.mod/zlib.bmx", "Function Compress()\n");
  Scan();
  ASSERT_EQ(ModuleNames(), (std::set<Text>{u"brl.blitz"}));
  rootFolder = second.Path();
  Scan();
  EXPECT_EQ(ModuleNames(), (std::set<Text>{u"pub.zlib"}));
  EXPECT_EQ(Catalogue.CommandCount, 1);
}

TEST_F(ModuleScan, CommandCountCountsDuplicates) {
  tmp.WriteFile(u"mod/brl.mod/a.mod/a.bmx",
                "Function Cls()\nFunction Cls()\nFunction Flip()\n");
  tmp.WriteFile(u"mod/brl.mod/b.mod/b.bmx", "Function Cls()\n");
  tmp.WriteFile(u"mod/pub.mod/c.mod/c.bmx", "Rem\nnothing\nEnd Rem\n");
  Scan();
  EXPECT_EQ(Catalogue.CommandCount, 4);
}

TEST_F(ModuleScan, ImportsAreClosedAfterTheScan) {
  tmp.WriteFile(u"mod/brl.mod/max2d.mod/max2d.bmx", "Import BRL.Graphics\n");
  tmp.WriteFile(u"mod/brl.mod/graphics.mod/graphics.bmx",
                "Import BRL.PolledInput\nImport Pub.Missing\n");
  tmp.WriteFile(u"mod/brl.mod/polledinput.mod/polledinput.bmx", "Import BRL.Graphics\n");
  // The scan alone keeps each module's imports as parsed.
  ASSERT_TRUE(ScanModFolder(Catalogue, rootFolder));
  EXPECT_EQ(Find(Catalogue, u"brl.max2d")->imports, Names({u"brl.graphics"}));
  ExpandModuleImports(Catalogue);
  EXPECT_EQ(Find(Catalogue, u"brl.max2d")->imports,
            Names({u"brl.graphics", u"brl.polledinput", u"pub.missing"}));
  EXPECT_EQ(Find(Catalogue, u"brl.polledinput")->imports,
            Names({u"brl.graphics", u"brl.polledinput", u"pub.missing"}));
}

TEST_F(ModuleScan, QuotedImportsResolveInTheModuleFolder) {
  tmp.WriteFile(u"mod/brl.mod/max2d.mod/max2d.bmx",
                "Import \"image.bmx\"\nImport \"imagefont.bmx\"\nImport \"max2d.c\"\n");
  tmp.WriteFile(u"mod/brl.mod/max2d.mod/image.bmx", "Function DrawImage()\n");
  tmp.WriteFile(u"mod/brl.mod/max2d.mod/ImageFont.bmx", "Function LoadImageFont()\n");
  Scan();
  EXPECT_EQ(Find(Catalogue, u"brl.max2d")->commands, Names({u"drawimage", u"loadimagefont"}));
}

TEST_F(ModuleScan, ModulesFollowTheFileSystemsListingOrder) {
  for (const char16_t* name : {u"zeta", u"alpha", u"mid", u"beta", u"omega", u"kappa"}) {
    tmp.WriteFile(Text(u"mod/brl.mod/") + name + u".mod/" + name + u".bmx", "\n");
  }
  TextList expected;
  for (const Text& entry : ListFolder(tmp / u"mod/brl.mod")) {
    expected.push_back(u"brl." + entry.substr(0, entry.size() - 4));
  }
  Scan();
  TextList scanned;
  for (const auto& m : Catalogue.ModList) scanned.push_back(m->name);
  EXPECT_EQ(scanned, expected);
}

TEST_F(ModuleScan, UnreadableFoldersAreSkippedWithoutLosingThePlace) {
#if defined(_WIN32)
  GTEST_SKIP() << "Windows has no owner-only folder modes to take away";
#else
  if (geteuid() == 0) GTEST_SKIP() << "root enters every folder";
#endif
  tmp.WriteFile(u"mod/brl.mod/blitz.mod/blitz.bmx", "Function Delay()\n");
  tmp.WriteFile(u"mod/brl.mod/locked.mod/locked.bmx", "Function Locked()\n");
  tmp.WriteFile(u"mod/shut.mod/x.mod/x.bmx", "Function X()\n");
  namespace fs = std::filesystem;
  std::string root = ToUtf8(tmp.Path());
  fs::permissions(root + "/mod/brl.mod/locked.mod", fs::perms::owner_read);
  fs::permissions(root + "/mod/shut.mod", fs::perms::owner_read);
  Scan();
  EXPECT_EQ(ModuleNames(), (std::set<Text>{u"brl.blitz", u"brl.locked"}));
  EXPECT_TRUE(Find(Catalogue, u"brl.locked")->commands.empty());
}

// What the scan could not read is listed, so that the command line can say
// so; a module folder without a main source is no such part.
TEST_F(ModuleScan, PartsThatCannotBeReadAreListed) {
#if defined(_WIN32)
  GTEST_SKIP() << "Windows has no FIFOs, and POSIX folder modes do not bind there";
#else
  namespace fs = std::filesystem;
  tmp.WriteFile(u"mod/brl.mod/blitz.mod/blitz.bmx", "Function Delay()\n");
  tmp.WriteFile(u"mod/brl.mod/locked.mod/locked.bmx", "Function Locked()\n");
  tmp.WriteFile(u"mod/shut.mod/x.mod/x.bmx", "Function X()\n");
  tmp.MakeFolder(u"mod/pub.mod/absent.mod");
  tmp.MakeFolder(u"mod/pub.mod/pipe.mod");
  std::string root = ToUtf8(tmp.Path());
  ASSERT_EQ(mkfifo((root + "/mod/pub.mod/pipe.mod/pipe.bmx").c_str(), 0644), 0);
  fs::permissions(root + "/mod/brl.mod/locked.mod", fs::perms::owner_read);
  fs::permissions(root + "/mod/shut.mod", fs::perms::owner_read);

  UnreadableParts unreadable;
  {
    testing::WithoutPrivileges user;
    if (!user.Bound()) GTEST_SKIP() << "file permissions do not bind this user";
    ScanModFolder(Catalogue, rootFolder, &unreadable);
  }
  std::sort(unreadable.begin(), unreadable.end());
  EXPECT_EQ(unreadable, (UnreadableParts{tmp / u"mod/brl.mod/locked.mod",
                                         tmp / u"mod/pub.mod/pipe.mod/pipe.bmx",
                                         tmp / u"mod/shut.mod"}));
  EXPECT_EQ(ModuleNames(), (std::set<Text>{u"brl.blitz", u"brl.locked", u"pub.absent",
                                           u"pub.pipe"}));

  fs::permissions(root + "/mod", fs::perms::none);
  unreadable.clear();
  {
    testing::WithoutPrivileges user;
    EXPECT_FALSE(ScanModFolder(Catalogue, rootFolder, &unreadable));
  }
  EXPECT_EQ(unreadable, UnreadableParts{tmp / u"mod"});
#endif
}

TEST_F(ModuleScan, LinkedFoldersDoNotMoveTheScanElsewhere) {
  namespace fs = std::filesystem;
  tmp.WriteFile(u"mod/brl.mod/blitz.mod/blitz.bmx", "Function Delay()\n");
  tmp.WriteFile(u"mod/pub.mod/zlib.mod/zlib.bmx", "Function Compress()\n");
  // The linked collection and module folder lie in a folder whose own
  // brl.mod and pub.mod hold decoys.
  tmp.WriteFile(u"away/deep/links.mod/tool.mod/tool.bmx", "Function Tool()\n");
  tmp.WriteFile(u"away/deep/links.mod/blitz.mod/blitz.bmx", "Function DecoyBlitz()\n");
  tmp.WriteFile(u"away/deep/brl.mod/decoy.mod/decoy.bmx", "Function Decoy()\n");
  tmp.WriteFile(u"away/deep/pub.mod/decoy.mod/decoy.bmx", "Function Decoy()\n");
  tmp.WriteFile(u"away/single/linked.mod/linked.bmx", "Function Linked()\n");
  tmp.WriteFile(u"away/single/zlib.mod/zlib.bmx", "Function DecoyZlib()\n");
  std::string root = ToUtf8(tmp.Path());
  std::error_code ec;
  fs::create_directory_symlink(root + "/away/deep/links.mod", root + "/mod/links.mod", ec);
  // Windows lets only some users make links.
  if (ec && kNativePathStyle == PathStyle::Windows) GTEST_SKIP() << "cannot link: " << ec.message();
  ASSERT_FALSE(ec) << ec.message();
  fs::create_directory_symlink(root + "/away/single/linked.mod",
                               root + "/mod/pub.mod/linked.mod");
  Scan();
  EXPECT_EQ(ModuleNames(), (std::set<Text>{u"brl.blitz", u"pub.zlib", u"links.tool",
                                           u"links.blitz", u"pub.linked"}));
  EXPECT_EQ(Find(Catalogue, u"brl.blitz")->commands, Names({u"delay"}));
  EXPECT_EQ(Find(Catalogue, u"pub.zlib")->commands, Names({u"compress"}));
  EXPECT_EQ(Find(Catalogue, u"pub.linked")->commands, Names({u"linked"}));
}

// A source shared by two modules is read once for each of them.
TEST_F(ModuleScan, EveryModuleRecordReadsASharedSourceAgain) {
  tmp.WriteFile(u"mod/shared.bmx", "Function SharedHelper()\n");
  tmp.WriteFile(u"mod/brl.mod/one.mod/one.bmx",
                "Import \"../../shared.bmx\"\nImport \"../../shared.bmx\"\n");
  tmp.WriteFile(u"mod/brl.mod/two.mod/two.bmx", "Import \"../../shared.bmx\"\n");
  Scan();
  ASSERT_NE(Catalogue.FindModule(u"brl.one"), nullptr);
  ASSERT_NE(Catalogue.FindModule(u"brl.two"), nullptr);
  EXPECT_EQ(Catalogue.FindModule(u"brl.one")->commands, Names({u"sharedhelper"}));
  EXPECT_EQ(Catalogue.FindModule(u"brl.two")->commands, Names({u"sharedhelper"}));
}

// The example installation under examples/BlitzMax, built with one call.
TEST_F(ModuleScan, ExampleInstallation) {
  rootFolder = testing::SourceFolder() + u"/examples/BlitzMax";
  EXPECT_TRUE(Scan());

  std::set<Text> expected = {
      u"brl.blitz",       u"brl.retro",          u"brl.linkedlist",   u"brl.standardio",
      u"brl.stream",      u"brl.ramstream",      u"brl.httpstream",   u"brl.pixmap",
      u"brl.pngloader",   u"brl.bmploader",      u"brl.tgaloader",    u"brl.jpgloader",
      u"brl.polledinput", u"brl.graphics",       u"brl.glgraphics",   u"brl.max2d",
      u"brl.glmax2d",     u"brl.d3d7max2d",      u"brl.freetypefont", u"brl.audiosample",
      u"brl.audio",       u"brl.freeaudioaudio", u"brl.wavloader",    u"brl.oggloader",
      u"brl.win32maxgui", u"pub.freeprocess",    u"pub.opengl",       u"pub.zlib"};
  EXPECT_EQ(ModuleNames(), expected);
  EXPECT_EQ(Catalogue.ModList.size(), expected.size());

  size_t total = 0;
  for (const auto& m : Catalogue.ModList) total += m->commands.size();
  EXPECT_EQ(Catalogue.CommandCount, static_cast<int>(total));

  auto has = [](const TextList& list, TextView entry) { return Contains(list, entry); };

  modtype* max2d = Catalogue.FindModule(u"BRL.Max2D");
  ASSERT_NE(max2d, nullptr);
  EXPECT_EQ(max2d->declaredName, u"BRL.Max2D");
  for (const char16_t* command :
       {u"cls", u"drawtext", u"drawrect", u"setcolor", u"setblend", u"drawimage",
        u"loadimage", u"midhandleimage", u"imagewidth", u"loadimagefont", u"textwidth"}) {
    EXPECT_TRUE(has(max2d->commands, command)) << testing::Show(command);
  }
  // Private functions of max2d.bmx and of its quoted import ImageFont.bmx,
  // and functions of Type blocks, are not commands.
  for (const char16_t* hidden :
       {u"drivercls", u"currentimagefont", u"drawtextwith", u"load"}) {
    EXPECT_FALSE(has(max2d->commands, hidden)) << testing::Show(hidden);
  }

  modtype* blitz = Catalogue.FindModule(u"brl.blitz");
  EXPECT_TRUE(blitz->imports.empty());
  EXPECT_TRUE(has(blitz->commands, u"millisecs"));
  EXPECT_TRUE(has(blitz->commands, u"bbmillisecs"));  // declared in an Extern block
  EXPECT_TRUE(has(blitz->commands, u"debugtext"));    // after Public
  EXPECT_FALSE(has(blitz->commands, u"writedebugtext"));

  // A Rem line beginning "Private", and Private inside a Type, hide nothing
  // after them; only the module's own Private section does.
  modtype* retro = Catalogue.FindModule(u"brl.retro");
  EXPECT_EQ(retro->commands, Names({u"left", u"right", u"mid", u"instr", u"upper", u"lower",
                                    u"trim", u"hex", u"bin", u"createcountdown"}));
  EXPECT_EQ(retro->types, Names({u"tretrorandom", u"tretrocountdown"}));
  // The types of its quoted imports count too, in reading order.
  EXPECT_EQ(max2d->types, Names({u"timage", u"timagefont", u"tmax2dstate"}));

  EXPECT_EQ(
      Catalogue.FindModule(u"brl.graphics")->commands,
      Names({u"setgraphicsdriver", u"getgraphicsdriver", u"graphics", u"endgraphics",
             u"flip", u"graphicswidth", u"graphicsheight", u"graphicsmodeexists"}));
  EXPECT_TRUE(has(Catalogue.FindModule(u"brl.audio")->commands, u"loadsound"));
  EXPECT_TRUE(has(Catalogue.FindModule(u"brl.polledinput")->commands, u"keyhit"));
  EXPECT_TRUE(Catalogue.FindModule(u"brl.wavloader")->commands.empty());
  EXPECT_EQ(Catalogue.FindModule(u"pub.freeprocess")->declaredName, u"Pub.FreeProcess");
  EXPECT_TRUE(has(Catalogue.FindModule(u"pub.opengl")->commands, u"glclear"));

  // Closed imports.
  TextList glmax2d = Catalogue.FindModule(u"brl.glmax2d")->imports.Names();
  std::set<Text> reached(glmax2d.begin(), glmax2d.end());
  EXPECT_EQ(reached, (std::set<Text>{u"brl.max2d", u"brl.glgraphics", u"brl.graphics",
                                     u"brl.pixmap", u"brl.polledinput", u"brl.linkedlist",
                                     u"brl.stream", u"brl.blitz", u"pub.opengl"}));
  EXPECT_EQ(glmax2d.size(), reached.size());
  EXPECT_EQ(Catalogue.FindModule(u"brl.freeaudioaudio")->imports,
            Names({u"brl.audio", u"brl.audiosample", u"brl.stream", u"brl.blitz"}));
  // max2d.bmx and its image.bmx both import BRL.Pixmap: the duplicate stays.
  TextList max2dImports = max2d->imports.Names();
  EXPECT_EQ(std::count(max2dImports.begin(), max2dImports.end(), Text(u"brl.pixmap")), 2);
  EXPECT_EQ(Catalogue.FindModule(u"brl.pngloader")->imports,
            Names({u"brl.pixmap", u"pub.zlib", u"brl.stream", u"brl.blitz"}));
}

}  // namespace
}  // namespace vt
