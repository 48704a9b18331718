#include "analysis/program_scopes.h"

#include <gtest/gtest.h>

#include "analysis/analyse.h"
#include "analysis/source_records.h"
#include "catalogue_fixture.h"
#include "support/test_support.h"

namespace vt {
namespace {

using testing::MakeModule;

class ProgramNames : public testing::FreshState {
 protected:
  void SetUp() override {
    MakeModule(Catalogue, u"brl.max2d", u"BRL.Max2D", {u"setcolor", u"drawrect"});
    MakeModule(Catalogue, u"brl.arrays", u"BRL.Arrays", {u"map", u"count", u"filter"});
    MakeModule(Catalogue, u"pub.win32", u"Pub.Win32", {u"sleep", u"copyimage"})
        ->types.emplace_back(u"rect");
    MakeModule(Catalogue, u"brl.result", u"BRL.Result", {})->types.emplace_back(u"result");
    MakeModule(Catalogue, u"brl.map", u"BRL.Map", {})->types.emplace_back(u"tmap");
    MakeModule(Catalogue, u"brl.range", u"BRL.Range", {})->types.emplace_back(u"range");
    MakeModule(Catalogue, u"sdl.sdlvideo", u"SDL.SDLVideo", {})->constants = {
        u"sdl_window_resizable", u"width"};
    Catalogue.ruleSet = RuleSetKind::Modern;
  }

  // The modules of every record, in walk order.
  std::vector<TextList> Modules(const char* main, const char* other = "") {
    tmp.WriteFile(u"main.bmx", main);
    tmp.WriteFile(u"other.bmx", other);
    AnalyseProgram(Analysis, Catalogue, tmp.Files(), tmp / u"main.bmx");
    std::vector<TextList> modules;
    for (const auto& record : Analysis.SourceModList) modules.push_back(record->modules);
    return modules;
  }

  testing::MemoryFolder tmp;
};

// Each scope rule from both sides: where the declaration is in scope the
// word is the program's own; elsewhere it still calls for its module.
TEST_F(ProgramNames, HideModuleNamesWhereTheirDeclarationIsInScope) {
  struct Case {
    const char* what;
    const char* main;
    const char* other;
    std::vector<TextList> modules;
  };
  const Case cases[] = {
      {"Locals, several on a line, with sigils and types, hide inside their function only",
       "Function F:Int()\n  Local result:Int = 1, count% = 2\n  Return result + count\n"
       "End Function\nFunction G()\n  Print Count(a)\nEnd Function\n",
       "",
       {{u"BRL.Arrays"}}},
      {"A parameter hides in its body; the type it is given still counts",
       "Function Draw(map:TMap, fontStyle:Int)\n  map.Insert(1, 2)\nEnd Function\nMap(a, f)\n",
       "",
       {{u"BRL.Map", u"BRL.Arrays"}}},
      {"For Local and the main code's Locals hide in the main code",
       "For Local range:Int = 0 Until 3\nNext\nLocal a, filter:Int\nPrint filter + range\n"
       "Function F()\n  Print Filter(x)\nEnd Function\n",
       "",
       {{u"BRL.Arrays"}}},
      {"A method and a field hide inside their type, not in the main program",
       "Type TShip\n  Field rect:Int\n  Method SetColor(r:Int)\n  End Method\n"
       "  Method Draw()\n    SetColor 1\n    rect = 2\n  End Method\nEnd Type\nSetColor 1, 2, 3\n",
       "",
       {{u"BRL.Max2D"}}},
      {"A method used only inside its type needs nothing",
       "Type TShip\n  Method SetColor(r:Int)\n  End Method\n  Method Draw()\n    SetColor 1\n"
       "  End Method\nEnd Type\n",
       "",
       {{}}},
      {"Members of a base type hide in the types that extend it, declared later or not",
       "Type TKid Extends TBase\n  Method Draw()\n    SetColor\n    Sleep 1\n  End Method\n"
       "End Type\nType TBase Abstract\n  Method SetColor() Abstract\n  Function Sleep(ms:Int)\n"
       "  End Function\nEnd Type\n",
       "",
       {{}}},
      {"A top-level name of any file hides in every file, before it is declared",
       "Import \"other.bmx\"\nSleep 10\nLocal r:Rect\n",
       "Function Sleep(ms:Int)\nEnd Function\nType Rect\n  Field x:Int\nEnd Type\n",
       {{}, {}}},
      {"A dotted word is the program's own when its first name is",
       "Function F()\n  Local result:TMap = New TMap\n  result.Clear()\nEnd Function\n",
       "",
       {{u"BRL.Map"}}},
      {"... and the module's where nothing hides it",
       "Local r:Result<Int, String> = Result<Int, String>.Ok(1)\n",
       "",
       {{u"BRL.Result"}}},
      {"A Local of the main code does not hide inside a function",
       "Local count:Int = 3\nFunction F()\n  Print Count(a)\nEnd Function\n",
       "",
       {{u"BRL.Arrays"}}},
      {"A module's constant calls for its module; a top-level Const of the name hides it",
       "Import \"other.bmx\"\nGraphics WIDTH, 300, SDL_WINDOW_RESIZABLE\n",
       "Const WIDTH:Int = 400\nPrint Width\n",
       {{u"SDL.SDLVideo"}, {}}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Modules(c.main, c.other), c.modules) << c.what;
  }
}

// The classic rules know no scopes: every name still matches ...
TEST_F(ProgramNames, TheClassicRulesMatchEveryName) {
  Catalogue.ruleSet = RuleSetKind::Classic;
  EXPECT_EQ(Modules("Function Sleep(ms:Int)\nEnd Function\nSleep 1\n"),
            (std::vector<TextList>{{u"Pub.Win32"}}));
  // ... and no module's constants.
  EXPECT_EQ(Modules("Print SDL_WINDOW_RESIZABLE\n"), (std::vector<TextList>{{}}));
}

// A word first used where a declaration hides it is explained where it is
// first used in the open.
TEST_F(ProgramNames, AWordIsExplainedWhereItIsUsedInTheOpen) {
  Modules("Type TShip\n  Method SetColor()\n  End Method\n  Method Draw()\n    SetColor\n"
          "  End Method\nEnd Type\nSetColor 1, 2, 3\n");
  const sourcemodtype& main = *Analysis.SourceModList.at(0);
  ASSERT_EQ(main.modules, TextList{u"BRL.Max2D"});
  size_t word = main.causes.Find(u"brl.max2d")->word;
  EXPECT_EQ(main.wordSites.at(word).place.line, 8);
}

}  // namespace
}  // namespace vt
