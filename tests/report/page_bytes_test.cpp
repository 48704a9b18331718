#include "report/page_bytes.h"

#include <gtest/gtest.h>

namespace vt {
namespace {

TEST(PageBytes, ApostrophesBecomeDoubleQuotesExceptInCommentLines) {
  EXPECT_EQ(DoubleQuoteAttributes(u"<form method='POST'>"), u"<form method=\"POST\">");
  EXPECT_EQ(DoubleQuoteAttributes(u"<a href='it's'>"), u"<a href=\"it\"s\">");
  EXPECT_EQ(DoubleQuoteAttributes(u"' Import BRL.PNGLoader 'x'"), u"' Import BRL.PNGLoader 'x'");
  EXPECT_EQ(DoubleQuoteAttributes(u" 'indented'"), u" \"indented\"");
  EXPECT_EQ(DoubleQuoteAttributes(u""), u"");
  EXPECT_EQ(DoubleQuoteAttributes(u"&#39;"), u"&#39;");
}

TEST(PageBytes, UnitsUpTo255AreOneByteEach) {
  EXPECT_EQ(PageBytes(u"abc"), "abc");
  EXPECT_EQ(PageBytes(u"caf\u00e9\u00ff"), "caf\xE9\xFF");
  EXPECT_EQ(PageBytes(u""), "");
}

// Raw control characters make a page invalid; tab is ordinary white space.
TEST(PageBytes, ControlCharactersBecomeReferences) {
  EXPECT_EQ(PageBytes(Text(1, u'\0')), "&#0;");
  EXPECT_EQ(PageBytes(u"a\x1b[31mb\x07\x0c\x1f\t\x7f"), "a&#27;[31mb&#7;&#12;&#31;\t\x7f");
}

TEST(PageBytes, UnitsAbove255BecomeDecimalReferences) {
  EXPECT_EQ(PageBytes(u"\u0100"), "&#256;");
  EXPECT_EQ(PageBytes(u"a\u4e2d\u6587b"), "a&#20013;&#25991;b");
  EXPECT_EQ(PageBytes(u"\uffff"), "&#65535;");
}

TEST(PageBytes, SurrogatePairIsOneReferenceAndLoneSurrogatesAreReplaced) {
  EXPECT_EQ(PageBytes(u"x\U0001F600y"), "x&#128512;y");
  EXPECT_EQ(PageBytes(u"\U00010000\U0010FFFF"), "&#65536;&#1114111;");
  EXPECT_EQ(PageBytes(Text{u'\xD800'}), "&#65533;");
  EXPECT_EQ(PageBytes(Text{u'\xDC00', u'a'}), "&#65533;a");
  EXPECT_EQ(PageBytes(Text{u'\xD83D', u'a', u'\xDE00'}), "&#65533;a&#65533;");
  EXPECT_EQ(PageBytes(Text{u'\xDE00', u'\xD83D'}), "&#65533;&#65533;");
}

TEST(PageBytes, AppendedLineIsTheQuotedBytesWithCrLf) {
  std::string out = "kept ";
  for (Text line : {Text(u"<a href='x'>"), Text(u"' Import 'y'"), Text(u""), Text(u"'"),
                    Text(u"\u4e2d\U0001F600'\x1f"), Text{u'\xDC00', u'\''}}) {
    std::string expected = out + PageBytes(DoubleQuoteAttributes(line)) + "\r\n";
    AppendPageLine(out, line);
    EXPECT_EQ(out, expected);
  }
}

}  // namespace
}  // namespace vt
