#include "analysis/unit_header.h"

#include <gtest/gtest.h>

namespace vt {
namespace {

CodeBox Box(bool main, TextList modules, TextList optional = {}) {
  CodeBox box;
  box.isMain = main;
  box.path = u"/p/a.bmx";
  box.modules = std::move(modules);
  box.optionalModules = std::move(optional);
  return box;
}

// "kind framework module line" for each difference.
std::vector<std::string> Differences(const CodeBox& box, std::vector<Text> lines) {
  std::vector<std::string> out;
  for (const HeaderDifference& d : CompareHeader(box, ReadPresentHeader(lines))) {
    const char* kind = d.kind == HeaderDifferenceKind::Missing    ? "missing"
                       : d.kind == HeaderDifferenceKind::Unneeded ? "unneeded"
                                                                  : "no-framework";
    out.push_back(std::string(kind) + (d.framework ? " Framework " : " Import ") +
                  ToUtf8(d.module) + " " + std::to_string(d.line));
  }
  return out;
}

std::vector<std::string> Wanted(const CodeBox& box, std::vector<Text> lines) {
  std::vector<std::string> out;
  for (const WantedLine& line : WantedHeader(box, ReadPresentHeader(lines))) {
    std::string text = ToUtf8(line.text);
    if (line.keepFromLine) text += " +" + std::to_string(*line.keepFromLine);
    out.push_back(text);
  }
  return out;
}

using V = std::vector<std::string>;

TEST(UnitHeader, MissingAndUnneededModulesWithoutRegardToCaseOrOrder) {
  CodeBox main = Box(true, {u"BRL.GLMax2D", u"BRL.Retro", u"BRL.PNGLoader"}, {u"BRL.BMPLoader"});
  EXPECT_EQ(Differences(main, {u"' x", u"framework brl.glmax2d", u"import BRL.PNGLOADER",
                               u"Import BRL.Retro", u"Import BRL.BMPLoader"}),
            V{});
  EXPECT_EQ(Differences(main, {u"Framework BRL.GLMax2D", u"Import BRL.LinkedList",
                               u"Import BRL.Retro", u"Import BRL.Retro", u"Import BRL.GLMax2D"}),
            (V{"missing Import BRL.PNGLoader 1", "unneeded Import BRL.LinkedList 2",
               "unneeded Import BRL.Retro 4", "unneeded Import BRL.GLMax2D 5"}));
  EXPECT_EQ(Differences(main, {u"Strict", u"Framework BRL.D3D7Max2D", u"Import BRL.Retro",
                               u"Import BRL.PNGLoader"}),
            (V{"unneeded Framework BRL.D3D7Max2D 2", "missing Framework BRL.GLMax2D 2"}));
  EXPECT_EQ(Differences(main, {u"Print 1", u"Import BRL.Retro", u"Import BRL.PNGLoader"}),
            V{"no-framework Framework BRL.GLMax2D 2"});
  EXPECT_EQ(Differences(main, {u"Print 1"}),
            (V{"no-framework Framework BRL.GLMax2D 1", "missing Import BRL.Retro 1",
               "missing Import BRL.PNGLoader 1"}));
}

TEST(UnitHeader, ImportedUnitsHaveNoFrameworkAndAMainThatNeedsNothingKeepsItsOwn) {
  CodeBox imported = Box(false, {u"BRL.Retro"});
  EXPECT_EQ(Differences(imported, {u"Framework BRL.Retro", u"Import BRL.Retro"}),
            V{"unneeded Framework BRL.Retro 1"});
  CodeBox empty = Box(true, {});
  EXPECT_EQ(Differences(empty, {u"Framework BRL.Blitz"}), V{});
  EXPECT_EQ(Wanted(empty, {u"Framework BRL.Blitz ' smallest"}), V{"Framework BRL.Blitz +0"});
  EXPECT_EQ(Differences(empty, {u"Framework BRL.Retro", u"Framework BRL.Max2D"}),
            V{"unneeded Framework BRL.Max2D 2"});
  EXPECT_EQ(Wanted(empty, {u"Framework BRL.Retro"}), V{"Framework BRL.Retro"});
  EXPECT_EQ(Wanted(empty, {u"Import BRL.Retro"}), V{});
}

TEST(UnitHeader, WantedLinesAreTheTextAreaWithoutItsExtraStatements) {
  CodeBox main = Box(true, {u"BRL.GLMax2D", u"BRL.Retro"}, {u"BRL.PNGLoader", u"BRL.BMPLoader"});
  main.extraLines = {u"SetGraphicsDriver GLMax2DDriver()"};
  CodeBox plain = main;
  plain.extraLines.clear();
  V shown;
  for (const CodeLine& line : CodeLinesOf(plain)) shown.push_back(ToUtf8(line.fixed + line.data));
  EXPECT_EQ(Wanted(main, {}), shown);

  // A chosen "may be required" module stays imported; comments stay on
  // the lines that name the same module.
  EXPECT_EQ(Wanted(main, {u"Framework BRL.GLMax2D ' gfx", u"Import BRL.BMPLoader",
                          u"import brl.retro 'text"}),
            (V{"Framework BRL.GLMax2D +0", "Import BRL.Retro +2", "Import BRL.BMPLoader", "",
               "' modules which may be required:", "' Import BRL.PNGLoader"}));
}

// A header line of a module not installed here, and one naming another
// member of a family the box wants, are kept as written; a member of a
// family the box wants nothing of is judged as any line.
TEST(UnitHeader, ChosenFamilyMembersAndModulesNotInstalledAreKept) {
  const ModuleFamilies families = {
      {u"max2d-drivers", {u"BRL.GLMax2D", u"BRL.D3D9Max2D", u"SDL.SDLRenderMax2D"}},
      {u"timers", {u"BRL.TimerDefault", u"SDL.SDLTimer"}},
      {u"system-drivers", {u"BRL.SystemDefault", u"SDL.SDLSystem"}},
  };
  struct Case {
    bool main;
    TextList modules;
    std::vector<Text> header;
    V differences;
    V wanted;
  };
  const TextList glTimer = {u"BRL.GLMax2D", u"BRL.TimerDefault"};
  const Case cases[] = {
      // The author's Max2D driver and timer stand, wherever they are named.
      {true, glTimer, {u"Framework SDL.SDLRenderMax2D", u"Import SDL.SDLTimer"}, V{},
       V{" +0", " +1"}},
      {true, glTimer, {u"Framework brl.glmax2d", u"import sdl.sdltimer ' mine"}, V{},
       V{"Framework BRL.GLMax2D", " +1"}},
      // A kept Framework line stays it; the wanted framework is imported.
      {true, glTimer, {u"Framework SDL.SDLTimer"}, V{"missing Import BRL.GLMax2D 1"},
       V{" +0", "Import BRL.GLMax2D"}},
      {true, {u"BRL.GLMax2D", u"BRL.Retro"}, {u"Framework Bah.Foo", u"Import BRL.Retro"},
       V{"missing Import BRL.GLMax2D 1"}, V{" +0", "Import BRL.GLMax2D", "Import BRL.Retro"}},
      // The driver on an Import line: the file's own Framework line stays,
      // or the driver goes there when there is none.
      {true, {u"BRL.GLMax2D", u"BRL.Retro"}, {u"Framework BRL.Retro", u"Import SDL.SDLRenderMax2D"},
       V{}, V{"Framework BRL.Retro", " +1"}},
      {true, {u"BRL.GLMax2D"}, {u"Import SDL.SDLRenderMax2D"},
       V{"no-framework Framework SDL.SDLRenderMax2D 1"}, V{"Framework SDL.SDLRenderMax2D", " +0"}},
      // A member of a family the box wants nothing of is unneeded.
      {true, glTimer, {u"Framework SDL.SDLRenderMax2D", u"Import SDL.SDLSystem"},
       V{"missing Import BRL.TimerDefault 1", "unneeded Import SDL.SDLSystem 2"},
       V{" +0", "Import BRL.TimerDefault"}},
      {false, {u"BRL.TimerDefault"}, {u"Import SDL.SDLRenderMax2D"},
       V{"missing Import BRL.TimerDefault 1", "unneeded Import SDL.SDLRenderMax2D 1"},
       V{"Import BRL.TimerDefault"}},
      // Both drivers wanted: the one present stands for itself only.
      {true, {u"BRL.GLMax2D", u"BRL.D3D9Max2D"}, {u"Framework BRL.GLMax2D"},
       V{"missing Import BRL.D3D9Max2D 1"}, V{"Framework BRL.GLMax2D", "Import BRL.D3D9Max2D"}},
      // Lines of modules not installed here, in any unit.
      {true, {u"BRL.GLMax2D"}, {u"Framework BRL.GLMax2D", u"Import Bah.Foo ' x"}, V{},
       V{"Framework BRL.GLMax2D", " +1"}},
      {false, {u"BRL.Retro"}, {u"Framework Bah.Foo", u"Import Bah.Bar", u"Import BRL.Map"},
       V{"missing Import BRL.Retro 1", "unneeded Import BRL.Map 3"},
       V{" +0", "Import BRL.Retro", " +1"}},
  };
  for (const Case& c : cases) {
    PresentHeader present = ReadPresentHeader(c.header);
    for (HeaderLine& line : present.lines) line.notInstalled = StartsWith(line.module, u"Bah.");
    CodeBox box = Box(c.main, c.modules);
    std::string where = ToUtf8(c.header.front());
    V differences;
    for (const HeaderDifference& d : CompareHeader(box, present, families)) {
      const char* kind = d.kind == HeaderDifferenceKind::Missing    ? "missing"
                         : d.kind == HeaderDifferenceKind::Unneeded ? "unneeded"
                                                                    : "no-framework";
      differences.push_back(std::string(kind) + (d.framework ? " Framework " : " Import ") +
                            ToUtf8(d.module) + " " + std::to_string(d.line));
    }
    EXPECT_EQ(differences, c.differences) << where;
    V wanted;
    for (const WantedLine& line : WantedHeader(box, present, families)) {
      std::string text = ToUtf8(line.text);
      if (line.keepFromLine) text += " +" + std::to_string(*line.keepFromLine);
      wanted.push_back(text);
    }
    EXPECT_EQ(wanted, c.wanted) << where;
  }
}

// An Import outside any section serves the uses in sections too: it is
// never unneeded while a section wants its module, no section gets an
// Import of its own for it, and a section's Import of it stays.
TEST(UnitHeader, AnImportOutsideSectionsServesTheSectionsThatWantIt) {
  struct Case {
    std::vector<Text> header;
    V differences;
    V wanted;
  };
  const Case cases[] = {
      {{u"Import BRL.Map ' maps"}, V{}, V{"Import BRL.Retro", "Import BRL.Map +0"}},
      {{u"Import BRL.Map", u"Import brl.map"}, V{"unneeded Import brl.map 2"},
       V{"Import BRL.Retro", "Import BRL.Map"}},
      {{u"Import BRL.Map ' veltrane: keep", u"Import BRL.Map"}, V{"unneeded Import BRL.Map 2"},
       V{"Import BRL.Retro", " +0"}},
      {{u"?Win32", u"Import BRL.Map", u"?", u"Import BRL.Map"}, V{},
       V{"Import BRL.Retro", "Import BRL.Map", "?Win32", "Import BRL.Map", "?"}},
      {{u"Import BRL.Path"}, V{"unneeded Import BRL.Path 1", "missing Import BRL.Map 1 ?Win32",
                               "missing Import BRL.Map 1 ?Linux"},
       V{"Import BRL.Retro", "?Win32", "Import BRL.Map", "?", "?Linux", "Import BRL.Map", "?"}},
  };
  CodeBox box = Box(false, {});
  box.guarded = {{u"Win32", {u"BRL.Map"}, {}}, {u"Linux", {u"BRL.Map"}, {}}};
  for (const Case& c : cases) {
    std::vector<Text> header = c.header;
    header.push_back(u"Print 1");
    PresentHeader present = ReadPresentHeader(header, SectionImports::Read);
    V differences;
    for (const HeaderDifference& d : CompareHeader(box, present)) {
      const char* kind = d.kind == HeaderDifferenceKind::Missing ? "missing" : "unneeded";
      std::string condition = d.condition.empty() ? "" : " ?" + ToUtf8(d.condition);
      differences.push_back(std::string(kind) + " Import " + ToUtf8(d.module) + " " +
                            std::to_string(d.line) + condition);
    }
    // The header is written again whatever the differences: BRL.Retro is
    // what it lacks.
    box.modules = {u"BRL.Retro"};
    V wanted;
    for (const WantedLine& line : WantedHeader(box, present)) {
      wanted.push_back(ToUtf8(line.text) +
                       (line.keepFromLine ? " +" + std::to_string(*line.keepFromLine) : ""));
    }
    box.modules.clear();
    std::string where = ToUtf8(c.header.front());
    EXPECT_EQ(differences, c.differences) << where;
    EXPECT_EQ(wanted, c.wanted) << where;
  }

  // The author's Framework line serves the sections as an Import would.
  CodeBox main = Box(true, {});
  main.guarded = box.guarded;
  PresentHeader framework =
      ReadPresentHeader({u"Framework BRL.Map", u"Print 1"}, SectionImports::Read);
  EXPECT_TRUE(CompareHeader(main, framework).empty());
  V wanted;
  for (const WantedLine& line : WantedHeader(main, framework)) wanted.push_back(ToUtf8(line.text));
  EXPECT_EQ(wanted, V{"Framework BRL.Map"});
}

}  // namespace
}  // namespace vt
