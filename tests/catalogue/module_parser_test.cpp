#include "catalogue/module_parser.h"

#include <gtest/gtest.h>

#include <string>

#include "base/paths.h"
#include "catalogue/module_records.h"
#include "platform/file_system.h"
#include "support/test_support.h"

namespace vt {
namespace {

using testing::MemoryFolder;

class ModuleParser : public testing::FreshState {
 protected:
  void SetUp() override {
    FreshState::SetUp();
    module = Catalogue.CreateModule(u"brl.test");
  }

  // Writes `text` as `relative` in the module folder and parses it.
  void Parse(TextView relative, std::string_view text) {
    tmp.WriteFile(relative, text);
    ParseModuleSource(*module, tmp.Files(), tmp.Path(), relative);
  }

  MemoryFolder tmp;
  modtype* module = nullptr;
};

TextList Names(std::initializer_list<const char16_t*> names) {
  return TextList(names.begin(), names.end());
}

TEST_F(ModuleParser, FunctionAfterARemBlockIsACommand) {
  Parse(u"a.bmx",
        "Rem\n"
        "bbdoc: Does foo\n"
        "End Rem\n"
        "Function Foo:Int( x )\n");
  EXPECT_EQ(module->commands, Names({u"foo"}));
}

TEST_F(ModuleParser, FunctionsInTypeBlocksAreNotCommandsAndMethodsNeverAre) {
  Parse(u"a.bmx",
        "Type TThing\n"
        "  Function Create:TThing()\n"
        "  Method Draw()\n"
        "End Type\n"
        "Function After1()\n"
        "Type TOther\n"
        "  Function Hidden()\n"
        "EndType\n"
        "Function After2()\n"
        "Method Loose()\n");
  EXPECT_EQ(module->commands, Names({u"after1", u"after2"}));
}

TEST_F(ModuleParser, PrivateSectionLastsUntilPublic) {
  Parse(u"a.bmx",
        "Function Open1()\n"
        "Private\n"
        "Function Secret()\n"
        "Function Secret2()\n"
        "Public\n"
        "Function Open2()\n");
  EXPECT_EQ(module->commands, Names({u"open1", u"open2"}));
}

TEST_F(ModuleParser, BlockKeywordsCountOnlyAsWholeWords) {
  Parse(u"a.bmx",
        "Function Attach( h )\n"
        "  RemoveHook h\n"
        "  typeCode = 1\n"
        "  privateCount = 0\n"
        "  type_2 = 0\n"
        "End Function\n"
        "Function One()\n"
        "Private\n"
        "Function Hidden()\n"
        "Publication = 1\n"
        "Function Hidden2()\n"
        "Public:\n"
        "Function Two()\n"
        "Rem: a remark\n"
        "Function Lost()\n"
        "End Rem\n"
        "Type\tTTabbed\n"
        "Function InType()\n"
        "EndType\n"
        "Function Three()\n");
  EXPECT_EQ(module->commands, Names({u"attach", u"one", u"two", u"three"}));
}

TEST_F(ModuleParser, InsideARemarkBlockOnlyItsEndCounts) {
  // Documentation lines that begin like a keyword open and close nothing.
  Parse(u"a.bmx",
        "Rem\n"
        "Type of the result: Int\n"
        "Private fields are not listed\n"
        "End Rem\n"
        "Function Counted()\n"
        "Private\n"
        "Rem\n"
        "Public\n"
        "End Rem\n"
        "Function Hidden()\n"
        "Public\n"
        "Type TThing\n"
        "Rem\n"
        "End Type\n"
        "End Rem\n"
        "Function InType()\n"
        "End Type\n"
        "Function Visible()\n");
  EXPECT_EQ(module->commands, Names({u"counted", u"visible"}));
}

TEST_F(ModuleParser, PrivateAndPublicInsideATypeBelongToTheType) {
  Parse(u"a.bmx",
        "Type TThing\n"
        "  Private\n"
        "  Field hidden:Int\n"
        "  Function Create()\n"
        "End Type\n"
        "Function After()\n"
        "Private\n"
        "Type TInner\n"
        "  Public\n"
        "End Type\n"
        "Function StillPrivate()\n"
        "Public\n"
        "Function Last()\n");
  EXPECT_EQ(module->commands, Names({u"after", u"last"}));
}

TEST_F(ModuleParser, PublicTopLevelTypesAreRecorded) {
  Parse(u"a.bmx",
        "Type TThing Extends TBase\n"
        "  Type TNested\n"
        "End Type\n"
        "Type \t TTabbed:Int\n"
        "EndType\n"
        "Type\n"
        "End Type\n"
        "Type 2d_Point\n"
        "End Type\n"
        "Type :Odd\n"
        "End Type\n"
        "Rem\n"
        "Type of the result\n"
        "End Rem\n"
        "Private\n"
        "Type THidden\n"
        "End Type\n"
        "Public\n"
        "Type TLast\n");
  EXPECT_EQ(module->types, Names({u"tthing", u"ttabbed", u"2d_point", u"tlast"}));
  EXPECT_TRUE(module->commands.empty());
}

TEST_F(ModuleParser, FunctionsInExternBlocksAreCommands) {
  Parse(u"a.bmx",
        "Extern \"C\"\n"
        "Function bbMilliSecs:Int()\n"
        "Function glClear( mask:Int )=\"glClear\"\n"
        "End Extern\n");
  EXPECT_EQ(module->commands, Names({u"bbmillisecs", u"glclear"}));
}

TEST_F(ModuleParser, DuplicateAndOddFunctionNamesAreKept) {
  Parse(u"a.bmx",
        "Function Cls()\n"
        "Function CLS\n"
        "Function  Foo()\n"
        "FunctionBar()\n"
        "Function$\n");
  EXPECT_EQ(module->commands,
            Names({u"cls", u"cls", u" foo", u"functionbar", u"function"}));
}

// The character after "import" (index 6) is never examined: a tab there works
// like a blank, while a second blank pushes the name off index 7.
TEST_F(ModuleParser, ImportsOfBrlAndPubModulesAreRecordedFromIndexSeven) {
  Parse(u"a.bmx",
        "Import BRL.LinkedList\n"
        "Import Pub.FreeProcess\n"
        "Import MaxGUI.Win32MaxGUI\n"
        "Import  BRL.Stream\n"
        "Import BRL.Retro ' for Left and Right\n"
        "Import brl.linkedlist\n"
        "Import brl.\n"
        "Import br\n"
        "Imports BRL.Stream\n"
        "Import\tBRL.Stream\n");
  EXPECT_EQ(module->imports, Names({u"brl.linkedlist", u"pub.freeprocess",
                                    u"brl.retro ' for left and right", u"brl.linkedlist",
                                    u"brl.", u"brl.stream"}));
  EXPECT_TRUE(module->commands.empty());
}

TEST_F(ModuleParser, ImportsInsideBlocksAreNotRecorded) {
  Parse(u"a.bmx",
        "Rem\n"
        "Import BRL.Stream\n"
        "End Rem\n"
        "Private\n"
        "Import BRL.Retro\n");
  EXPECT_TRUE(module->imports.empty());
}

TEST_F(ModuleParser, ModuleLineSetsTheDeclaredNameAndTheLastOneWins) {
  Parse(u"a.bmx",
        "  Module BRL.Blitz  \n"
        "ModuleInfo \"Version: 1.0\"\n");
  EXPECT_EQ(module->declaredName, u"BRL.Blitz");
  Parse(u"b.bmx",
        "Module Pub.Other ' comment kept\n"
        "Module\n"
        "ModuleInfo \"Name: x\"\n");
  EXPECT_EQ(module->declaredName, u"Pub.Other ' comment kept");
  EXPECT_TRUE(module->commands.empty());
}

TEST_F(ModuleParser, QuotedImportsAreParsedInPlaceAndOtherFilesSkipped) {
  tmp.WriteFile(u"gadget.bmx",
                "Import BRL.LinkedList\n"
                "Function CreateGadget()\n"
                "Type TUnclosed\n"
                "Function InType()\n"
                "Private\n"
                "Function Hidden()\n");
  tmp.WriteFile(u"blitz_app.c", "Function NotBasic()\n");
  Parse(u"main.bmx",
        "Function Before()\n"
        "Import \"blitz_app.c\"\n"
        "Import \"gadget.bmx\"\n"
        "Function After()\n"
        "Import \"unclosed.bmx\n"
        "Import \"\"\n");
  // The nested parse's open Type and Private end with its file.
  EXPECT_EQ(module->commands, Names({u"before", u"creategadget", u"after"}));
  EXPECT_EQ(module->imports, Names({u"brl.linkedlist"}));
}

TEST_F(ModuleParser, QuotedImportPathsAreLowerCasedAndFoundIgnoringCase) {
  tmp.WriteFile(u"ImageFont.bmx", "Function LoadImageFont()\n");
  tmp.WriteFile(u"Win32/Menus.bmx", "Function CreateMenu()\n");
  Parse(u"max2d.bmx",
        "Import \"imagefont.bmx\"\n"
        "Import \"WIN32/MENUS.BMX\"\n");
  EXPECT_EQ(module->commands, Names({u"loadimagefont", u"createmenu"}));
}

TEST_F(ModuleParser, AFileNotEndingInLowerCaseBmxIsSkipped) {
  tmp.WriteFile(u"x.BMX", "Function Upper()\n");
  tmp.WriteFile(u"x.txt", "Function Text()\n");
  ParseModuleSource(*module, tmp.Files(), tmp.Path(), u"x.BMX");
  ParseModuleSource(*module, tmp.Files(), tmp.Path(), u"x.txt");
  ParseModuleSource(*module, tmp.Files(), tmp.Path(), u"");
  EXPECT_TRUE(module->commands.empty());
}

TEST_F(ModuleParser, MissingFilesAndFoldersNamedBmxAreSkipped) {
  tmp.MakeFolder(u"folder.bmx");
  Parse(u"a.bmx",
        "Import \"folder.bmx\"\n"
        "Import \"missing.bmx\"\n"
        "Function Kept()\n");
  ParseModuleSource(*module, tmp.Files(), tmp.Path(), u"folder.bmx");
  ParseModuleSource(*module, tmp.Files(), tmp.Path(), u"nothing.bmx");
  EXPECT_EQ(module->commands, Names({u"kept"}));
}

TEST_F(ModuleParser, QuotedImportInASubFolderIsLookedUpFromTheModuleFolder) {
  tmp.WriteFile(u"sub/part.bmx", "Import \"helper.bmx\"\nFunction Part()\n");
  tmp.WriteFile(u"sub/helper.bmx", "Function WrongHelper()\n");
  tmp.WriteFile(u"helper.bmx", "Function RightHelper()\n");
  Parse(u"main.bmx", "Import \"sub/part.bmx\"\n");
  EXPECT_EQ(module->commands, Names({u"righthelper", u"part"}));
}

TEST_F(ModuleParser, CircularQuotedImportsEnd) {
  tmp.WriteFile(u"b.bmx",
                "Function FromB()\n"
                "Import \"a.bmx\"\n"
                "Import \"./sub/../A.BMX\"\n"
                "Import \"b.bmx\"\n"
                "Function EndB()\n");
  Parse(u"a.bmx",
        "Function FromA()\n"
        "Import \"b.bmx\"\n"
        "Function EndA()\n");
  EXPECT_EQ(module->commands, Names({u"froma", u"fromb", u"endb", u"enda"}));
}

TEST_F(ModuleParser, EachFileIsReadOncePerModuleRecord) {
  tmp.WriteFile(u"common.bmx", "Import BRL.Stream\nFunction Shared()\n");
  tmp.WriteFile(u"sub/left.bmx", "Function Left()\nImport \"common.bmx\"\n");
  tmp.WriteFile(u"right.bmx",
                "Function Right()\n"
                "Import \"./COMMON.bmx\"\n"
                "Import \"main.bmx\"\n");
  Parse(u"main.bmx",
        "Function Main1()\n"
        "Import \"sub/left.bmx\"\n"
        "Import \"right.bmx\"\n"
        "Import \"common.bmx\"\n"
        "Import \"sub/../right.bmx\"\n"
        "Function Main2()\n");
  EXPECT_EQ(module->commands, Names({u"main1", u"left", u"shared", u"right", u"main2"}));
  EXPECT_EQ(module->imports, Names({u"brl.stream"}));
}

TEST_F(ModuleParser, AbsolutePathsWork) {
  tmp.WriteFile(u"abs.bmx", "Function Absolute()\n");
  ParseModuleSource(*module, tmp.Files(), u"/elsewhere", tmp / u"abs.bmx");
  EXPECT_EQ(module->commands, Names({u"absolute"}));
}

TEST_F(ModuleParser, SourcesWithAUtf16OrUtf8MarkReadLikeLatin1) {
  std::string text = "Function First()\r\nFunction Second()\r\n";
  std::string utf16 = "\xFF\xFE";
  for (char c : text) {
    utf16 += c;
    utf16 += '\0';
  }
  Parse(u"wide.bmx", utf16);
  EXPECT_EQ(module->commands, Names({u"first", u"second"}));

  module->commands.clear();
  Parse(u"utf8.bmx", "\xEF\xBB\xBF" + text);
  EXPECT_EQ(module->commands, Names({u"first", u"second"}));
}

TEST_F(ModuleParser, OnlyTheRecordBeingFilledReceivesTheFindings) {
  modtype* other = Catalogue.CreateModule(u"brl.other");
  tmp.WriteFile(u"a.bmx", "Module BRL.X\nImport BRL.Y\nFunction Z()\n");
  ParseModuleSource(*other, tmp.Files(), tmp.Path(), u"a.bmx");
  EXPECT_EQ(other->declaredName, u"BRL.X");
  EXPECT_EQ(other->imports, Names({u"brl.y"}));
  EXPECT_EQ(other->commands, Names({u"z"}));
  EXPECT_TRUE(module->declaredName.empty());
  EXPECT_TRUE(module->commands.empty());
  EXPECT_TRUE(module->imports.empty());
}

TEST(ExtractFunctionName, TakesTheNameCharactersAfterTheFirstBlank) {
  EXPECT_EQ(ExtractFunctionName(u"function listaddlast:tlink( list:tlist,value:object )"),
            u"listaddlast");
  EXPECT_EQ(ExtractFunctionName(u"function rnd!( min_value!=1,max_value!=0 )"), u"rnd");
  EXPECT_EQ(ExtractFunctionName(u"function keyhit( key )"), u"keyhit");
  EXPECT_EQ(ExtractFunctionName(u"function cls"), u"cls");
  EXPECT_EQ(ExtractFunctionName(u"function  foo()"), u" foo");
  EXPECT_EQ(ExtractFunctionName(u"functionbar()"), u"functionbar");
  EXPECT_EQ(ExtractFunctionName(u"function"), u"function");
  EXPECT_EQ(ExtractFunctionName(u"function a%"), u"a");
  EXPECT_EQ(ExtractFunctionName(u"function gl_3d#"), u"gl_3d");
  EXPECT_EQ(ExtractFunctionName(u"function :int"), u":int");
  EXPECT_EQ(ExtractFunctionName(u"function "), u"");
}

// Struct, Interface and Enum blocks are read like Type blocks, but only
// when a name follows the keyword: on the classic distribution these words
// are ordinary names.
TEST_F(ModuleParser, StructInterfaceAndEnumBlocksHoldNoCommandsAndMarkTheSourceModern) {
  struct Case {
    std::string_view source;
    std::vector<const char16_t*> commands;
    std::vector<const char16_t*> types;
    bool modern;
  };
  const Case cases[] = {
      {"Struct Optional<T>\nFunction Ok()\nEnd Struct\nFunction Open()\n", {u"open"},
       {u"optional"}, true},
      {"Interface IIterator<T>\nMethod Next()\nEndInterface\nFunction Pipe()\n", {u"pipe"},
       {u"iiterator"}, true},
      {"Enum\tEByte:Byte\nA, B\nEndEnum\nFunction Range()\n", {u"range"}, {u"ebyte"}, true},
      {"Private\nStruct SHidden\nEnd Struct\nPublic\nFunction Shown()\n", {u"shown"}, {},
       true},
      // A variable called enum in a method body, and the word as a name.
      {"Type TList\nMethod M()\nenum._link=_head._succ\nEnd Method\nEnd Type\n"
       "enum = 1\nstruct(x)\nFunction After()\n",
       {u"after"}, {u"tlist"}, false},
      {"?bmxng\nFunction Both()\n?\n", {u"both"}, {}, true},
      {"?bmxng2\nFunction Later()\n?\n", {u"later"}, {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.source);
    modtype* fresh = Catalogue.CreateModule(u"brl.case");
    tmp.WriteFile(u"c.bmx", c.source);
    ParseModuleSource(*fresh, tmp.Files(), tmp.Path(), u"c.bmx");
    EXPECT_EQ(fresh->commands, TextList(c.commands.begin(), c.commands.end()));
    EXPECT_EQ(fresh->types, TextList(c.types.begin(), c.types.end()));
    EXPECT_EQ(fresh->modernSource, c.modern);
  }
}

// The condition of the platform section each command and type stands in,
// as written: a "?" alone or the next condition ends a section, a Rem block
// hides "?" lines, and a quoted import starts outside any section.
TEST_F(ModuleParser, EachDeclarationKeepsTheConditionOfItsSection) {
  tmp.WriteFile(u"b.bmx", "Function Inner()\n?MacOS\nFunction MacOnly()\n");
  Parse(u"a.bmx",
        "Function Plain()\n?Win32 ' windows only\nFunction WinOnly()\nType TWin\nEnd Type\n"
        "Import \"b.bmx\"\nFunction StillWin()\n?linux\nRem\n?\nEnd Rem\n"
        "Function LinuxOnly()\n?\nFunction After()\n?Win32\nFunction WinAgain()\n");
  auto conditions = [&](const TextList& names, const std::vector<uint16_t>& sections) {
    TextList found;
    for (size_t at = 0; at < names.size(); ++at) {
      found.emplace_back(module->SectionCondition(at < sections.size() ? sections[at] : 0));
    }
    return found;
  };
  EXPECT_EQ(module->commands, Names({u"plain", u"winonly", u"inner", u"maconly", u"stillwin",
                                     u"linuxonly", u"after", u"winagain"}));
  EXPECT_EQ(conditions(module->commands, module->commandSections),
            Names({u"", u"Win32", u"", u"MacOS", u"Win32", u"linux", u"", u"Win32"}));
  EXPECT_EQ(conditions(module->types, module->typeSections), Names({u"Win32"}));
  EXPECT_EQ(module->sections, Names({u"Win32", u"MacOS", u"linux"}));
}

// Constants count where functions do, each name of a line with its section:
// a comma inside parentheses or a string ends no declaration, one after a
// comment mark is comment.
TEST_F(ModuleParser, PublicTopLevelConstantsAreRecordedWithTheirSections) {
  Parse(u"a.bmx",
        "Const A:Int = 1\n"
        "CONST B% = Max(2, 3), C:ULong = $10 ,D$=\"x, y\",\tE:Float=Foo(\"(\", 1) ' , F = 2\n"
        "Constant = 3\nConst\n"
        "Type TThing\n  Const Inner:Int = 1\nEnd Type\n"
        "Rem\nConst Documented = 1\nEnd Rem\n"
        "?Win32\nConst MB_OK:Int = 0\n?\n"
        "Private\nConst Hidden = 1\nPublic\nConst Last = 1\n");
  EXPECT_EQ(module->constants, Names({u"a", u"b", u"c", u"d", u"e", u"mb_ok", u"last"}));
  TextList conditions;
  for (size_t at = 0; at < module->constants.size(); ++at) {
    uint16_t section =
        at < module->constantSections.size() ? module->constantSections[at] : 0;
    conditions.emplace_back(module->SectionCondition(section));
  }
  EXPECT_EQ(conditions, Names({u"", u"", u"", u"", u"", u"Win32", u""}));
  EXPECT_TRUE(module->commands.empty());
}

TEST_F(ModuleParser, ImportsOfEveryNamespaceAreNamedBesideTheClassicOnes) {
  Parse(u"a.bmx",
        "Import BRL.Map\nImport Collections.PtrMap ' maps\nImport\tRandom.Core\n"
        "Import \"glue.c\"\nImport Bad\nImportant.Thing\n");
  EXPECT_EQ(module->imports.Names(), Names({u"brl.map"}));
  EXPECT_EQ(module->namedImports, Names({u"brl.map", u"collections.ptrmap", u"random.core"}));
}

}  // namespace
}  // namespace vt
