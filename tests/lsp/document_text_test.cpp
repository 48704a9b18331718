#include "lsp/document_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "lsp/file_uri.h"

namespace vt::lsp {
namespace {

struct ChangeCase {
  const char* name;
  Text before;
  std::optional<TextRange> range;
  Text replacement;
  Text after;
};

TEST(DocumentText, AppliesChangesAtUtf16Positions) {
  const std::vector<ChangeCase> cases = {
      {"whole text", u"old", std::nullopt, u"new", u"new"},
      {"insert at start", u"ab", TextRange{{0, 0}, {0, 0}}, u"x", u"xab"},
      {"replace in second line", u"ab\ncd\n", TextRange{{1, 0}, {1, 1}}, u"X", u"ab\nXd\n"},
      {"delete across lines", u"ab\ncd\nef", TextRange{{0, 1}, {2, 1}}, u"", u"af"},
      {"CR LF is one break", u"ab\r\ncd", TextRange{{1, 1}, {1, 2}}, u"Z", u"ab\r\ncZ"},
      {"CR alone is a break", u"ab\rcd", TextRange{{1, 0}, {1, 0}}, u">", u"ab\r>cd"},
      {"character past the line's end", u"ab\ncd", TextRange{{0, 9}, {0, 9}}, u"!", u"ab!\ncd"},
      {"line past the end", u"ab", TextRange{{5, 0}, {7, 3}}, u"\nz", u"ab\nz"},
      {"surrogate pair counts two", u"\U0001F600x\n", TextRange{{0, 2}, {0, 3}}, u"y",
       u"\U0001F600y\n"},
      {"accent counts one", u"caf\u00e9 = 1", TextRange{{0, 4}, {0, 5}}, u"", u"caf\u00e9= 1"},
      {"end before start", u"abcd", TextRange{{0, 3}, {0, 1}}, u"-", u"a-d"},
      {"empty text", u"", TextRange{{0, 0}, {0, 0}}, u"Import X\n", u"Import X\n"},
      {"end of a text that ends with a break", u"a\n", TextRange{{1, 0}, {1, 0}}, u"b",
       u"a\nb"},
      {"a character as large as can be", u"ab\ncd", TextRange{{1, SIZE_MAX}, {1, SIZE_MAX}}, u"!",
       u"ab\ncd!"},
      {"a line as large as can be", u"ab", TextRange{{SIZE_MAX, 0}, {SIZE_MAX, 5}}, u"!", u"ab!"},
  };
  for (const ChangeCase& c : cases) {
    Text text = c.before;
    ApplyChange(text, c.range, c.replacement);
    EXPECT_EQ(ToUtf8(text), ToUtf8(c.after)) << c.name;
  }
}

TEST(DocumentText, EndOfTextCountsUnitsOfItsLastLine) {
  EXPECT_EQ(EndOf(u""), (TextPosition{0, 0}));
  EXPECT_EQ(EndOf(u"ab\r\nc\U0001F600"), (TextPosition{1, 3}));
  EXPECT_EQ(EndOf(u"ab\n"), (TextPosition{1, 0}));
  EXPECT_EQ(EndOf(u"a\rb\r"), (TextPosition{2, 0}));
}

TEST(DocumentText, BytesAreReadAsTheDiskCopyWouldBe) {
  EXPECT_EQ(DocumentBytes(u"Print 1\n"), "Print 1\n");
  EXPECT_EQ(DocumentBytes(u"caf\u00e9"), "caf\xE9");
  EXPECT_EQ(DocumentBytes(u"\u20ac"), "\xEF\xBB\xBF\xE2\x82\xAC");
}

TEST(FileUri, PathsAndUrisGoBothWays) {
  struct Case {
    const char* uri;
    std::optional<Text> path;
  };
  const std::vector<Case> cases = {
      {"file:///home/a/game.bmx", u"/home/a/game.bmx"},
      {"file://localhost/home/a/b.bmx", u"/home/a/b.bmx"},
      {"file:///home/my%20games/caf%C3%A9.bmx", u"/home/my games/caf\u00e9.bmx"},
      {"FILE:///x", u"/x"},
      {"untitled:Untitled-1", std::nullopt},
      {"http://example.org/a.bmx", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(PathFromUri(c.uri), c.path) << c.uri;
  EXPECT_EQ(UriFromPath(u"/home/my games/caf\u00e9.bmx"),
            "file:///home/my%20games/caf%C3%A9.bmx");
  Text odd = u"/a/#b?c%d.bmx";
  EXPECT_EQ(PathFromUri(UriFromPath(odd)), odd);
}

}  // namespace
}  // namespace vt::lsp
