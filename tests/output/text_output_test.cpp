#include "output/text_output.h"

#include <gtest/gtest.h>

#include "analysis/suggestion.h"

namespace vt {
namespace {

// Every piece of the terminal text that comes from files or the catalogue
// is escaped on its own way to UTF-8; line breaks of the text itself and
// characters beyond ASCII pass as they are.
TEST(SuggestionText, EscapesControlsInEveryPieceAndKeepsTheRestAsUtf8) {
  CodeBox box;
  box.isMain = true;
  box.label = u"Main Source: ";
  box.path = u"/w/sp\u00e9l\x1b.bmx";
  box.modules = {u"BRL.Max2D", u"PUB.M\x07od"};
  box.extraLines = {u"Print \"\u20ac\u0085\""};
  Suggestion suggestion;
  suggestion.blocks.push_back({u"Programs\x1b template:", Text(), {box}});
  suggestion.blocks.push_back({u"Second:", Text(), {}});

  std::string expected =
      "Programs\\x1b template:\n"
      "\n"
      "Main Source: sp\xC3\xA9l\\x1b.bmx\n"
      "Framework BRL.Max2D\n"
      "Import PUB.M\\x07od\n"
      "\n"
      "\n"
      "Print \"\xE2\x82\xAC\\u0085\"\n"
      "\n"
      "Second:\n";
  EXPECT_EQ(SuggestionText(suggestion, false), expected);
}

}  // namespace
}  // namespace vt
