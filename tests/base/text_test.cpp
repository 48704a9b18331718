#include "base/text.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace vt {
namespace {

TEST(Text, TrimRemovesControlUnitsAndBlanksOnly) {
  EXPECT_EQ(Trim(u"\t \x01 Rem \r\n\x00"), u"Rem");
  EXPECT_EQ(Trim(Text(u"\0a\0", 3)), u"a");
  EXPECT_EQ(Trim(u"\u00A0x\u00A0"), u"\u00A0x\u00A0");  // 160 is not trimmed
  EXPECT_EQ(Trim(u"   "), u"");
}

TEST(Text, LowerMapsAsciiLettersOnly) {
  EXPECT_EQ(Lower(u"BRL.GLMax2D"), u"brl.glmax2d");
  EXPECT_EQ(Lower(u"ÀÉ[@Z"), u"ÀÉ[@z");
}

TEST(Text, InstrIsOneBasedWithZeroForAbsent) {
  EXPECT_EQ(Instr(u"import \"a.bmx\"", u"\""), 8u);
  EXPECT_EQ(Instr(u"import \"a.bmx\"", u"\"", 9), 14u);
  EXPECT_EQ(Instr(u"import \"a.bmx", u"\"", 9), 0u);
  EXPECT_EQ(Instr(u"abc", u"x"), 0u);
  EXPECT_EQ(Instr(u"abc", u"c", 4), 0u);
}

TEST(Text, ReplaceIsOnePassLeftToRight) {
  EXPECT_EQ(Replace(u"C:///x//y", u"//", u"/"), u"C://x/y");
  EXPECT_EQ(ForwardSlashes(u"C:\\BlitzMax\\"), u"C:/BlitzMax/");
}

TEST(Text, Utf8RoundTripsNonAsciiAndAstralCharacters) {
  std::string utf8 = "caf\xC3\xA9/\xE6\x97\xA5\xE6\x9C\xAC/\xF0\x9F\x8E\xAE";
  Text text = FromUtf8(utf8);
  EXPECT_EQ(text, u"café/日本/\U0001F3AE");
  EXPECT_EQ(ToUtf8(text), utf8);
  EXPECT_EQ(FromUtf8("a\xFF" "b\xC3"), u"a\uFFFDb\uFFFD");
  EXPECT_EQ(ToUtf8(Text(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace vt
