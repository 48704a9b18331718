#include "analysis/present_header.h"

#include <gtest/gtest.h>

namespace vt {
namespace {

// "kind:line:module" for each header line.
std::vector<std::string> Shape(const PresentHeader& header) {
  std::vector<std::string> out;
  for (const HeaderLine& line : header.lines) {
    const char* kind = line.kind == HeaderLineKind::Framework ? "F"
                       : line.kind == HeaderLineKind::Import  ? "I"
                                                              : "C";
    out.push_back(std::string(kind) + ":" + std::to_string(line.index) + ":" + ToUtf8(line.module));
  }
  return out;
}

using Lines = std::vector<Text>;

TEST(PresentHeader, FrameworkAndModuleImportsOutsideRemAndConditionalSections) {
  PresentHeader header = ReadPresentHeader(Lines{
      u"SuperStrict",                  // 0
      u"  framework brl.glmax2d",      // 1
      u"Import \"mathutil.bmx\"",      // 2 a file, not a module
      u"Import BRL.Retro ' for Right", // 3
      u"Rem\tdisabled:",               // 4
      u"Import BRL.Max2D",             // 5
      u"End Rem",                      // 6
      u"?Win32",                       // 7
      u"Import BRL.D3D7Max2D",         // 8
      u"?Not Win32",                   // 9
      u"Import BRL.GLMax2D",           // 10
      u"? ' end",                      // 11
      u"Import\tPUB.FreeType",         // 12
      u"importance = 2",               // 13
      u"Import BRL.Max2D, BRL.Retro",  // 14 not a form we know: left alone
      u"Importer BRL.Max2D",           // 15
  });
  EXPECT_EQ(Shape(header),
            (std::vector<std::string>{"F:1:brl.glmax2d", "I:3:BRL.Retro", "I:12:PUB.FreeType"}));
  EXPECT_EQ(header.insertAt, 1u);
  EXPECT_EQ(header.FirstModuleLine(), 2u);
  EXPECT_TRUE(header.lines[1].trailingComment);
  EXPECT_EQ(header.lines[1].afterName, 16u);
  EXPECT_FALSE(header.lines[0].trailingComment);
  ASSERT_NE(header.FrameworkLine(), nullptr);
  EXPECT_EQ(header.FrameworkLine()->index, 1u);
}

TEST(PresentHeader, TheSuggestedCommentListWithItsBlankLineBelongsToTheHeader) {
  PresentHeader header = ReadPresentHeader(Lines{
      u"Import BRL.Retro",                    // 0
      u"",                                    // 1
      u"' modules which may be required:",    // 2
      u"' Import BRL.PNGLoader",              // 3
      u"' Import BRL.BMPLoader ' own note",   // 4 not as the suggestion writes it
      u"Print 1",                             // 5
      u"Rem",                                 // 6
      u"' modules which may be required:",    // 7
      u"End Rem",                             // 8
  });
  EXPECT_EQ(Shape(header),
            (std::vector<std::string>{"I:0:BRL.Retro", "C:1:", "C:2:", "C:3:"}));
}

TEST(PresentHeader, WithoutAHeaderTheNewOneGoesAfterStrictOrTheOpeningComment) {
  EXPECT_EQ(ReadPresentHeader(Lines{u"' Game", u"Strict", u"", u"' helper", u"Function F()"}).insertAt,
            2u);
  EXPECT_EQ(ReadPresentHeader(Lines{u"' Game", u"' by me", u"", u"' helper", u"Print 1"}).insertAt,
            2u);
  EXPECT_EQ(ReadPresentHeader(Lines{u"Rem", u"About", u"End Rem", u"Print 1"}).insertAt, 3u);
  EXPECT_EQ(ReadPresentHeader(Lines{u"", u"' later", u"Print 1"}).insertAt, 0u);
  EXPECT_EQ(ReadPresentHeader(Lines{u"Print 1", u"Strict"}).insertAt, 0u);
  EXPECT_EQ(ReadPresentHeader(Lines{u"SuperStrict ' always"}).insertAt, 1u);
  EXPECT_EQ(ReadPresentHeader(Lines{}).insertAt, 0u);
  EXPECT_TRUE(ReadPresentHeader(Lines{u"Rem", u"Import BRL.Retro"}).Empty());
}

}  // namespace
}  // namespace vt
