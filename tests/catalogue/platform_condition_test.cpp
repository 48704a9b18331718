#include "catalogue/platform_condition.h"

#include <gtest/gtest.h>

#include <string>

namespace vt {
namespace {

using Kind = KnownCondition::Kind;

enum class Ask { Modern, Plain, Both, Either };

struct Case {
  Ask ask;
  const char16_t* a;
  const char16_t* b;
  Kind kind;
  const char16_t* text;
};

KnownCondition Answer(const Case& c) {
  switch (c.ask) {
    case Ask::Modern: return SimplifyCondition(c.a, true);
    case Ask::Plain: return SimplifyCondition(c.a, false);
    case Ask::Both: return BothConditions(c.a, c.b);
    case Ask::Either: return EitherCondition(c.a, c.b);
  }
  return {};
}

TEST(PlatformCondition, AnswersFromTheTruthTableOfThePlatforms) {
  const Case cases[] = {
      // bmxng holds under the modern rules only.
      {Ask::Modern, u"bmxng", u"", Kind::Always, u""},
      {Ask::Modern, u"Not BMXNG", u"", Kind::Never, u""},
      {Ask::Modern, u"bmxng And Win32", u"", Kind::Sometimes, u"Win32"},
      {Ask::Modern, u"Win32 Or Not bmxng", u"", Kind::Sometimes, u"Win32"},
      {Ask::Plain, u"bmxng", u"", Kind::Sometimes, u"bmxng"},
      {Ask::Modern, u"", u"", Kind::Always, u""},
      // Nothing to drop: as written, trimmed.
      {Ask::Modern, u"  win32   and ptr64 ", u"", Kind::Sometimes, u"win32   and ptr64"},
      {Ask::Modern, u"(bmxng And win32x64) Or Linux", u"", Kind::Sometimes, u"win32x64 Or Linux"},
      {Ask::Modern, u"Not (bmxng Or debug) Or opengles", u"", Kind::Sometimes, u"opengles"},
      {Ask::Modern, u"bmxng and (linux or macos) and threaded", u"", Kind::Sometimes,
       u"(linux or macos) and threaded"},
      // Tautologies and contradictions, with the platforms modelled.
      {Ask::Plain, u"ptr64 Or Not ptr64", u"", Kind::Always, u""},
      {Ask::Plain, u"ptr64 And ptr32", u"", Kind::Never, u""},
      {Ask::Plain, u"Win32 And Linux", u"", Kind::Never, u""},
      {Ask::Plain, u"osx And Not macos", u"", Kind::Never, u""},
      {Ask::Plain, u"linuxarm64 And Not linux", u"", Kind::Never, u""},
      {Ask::Plain, u"Win32 And win32x64", u"", Kind::Sometimes, u"win32x64"},
      {Ask::Plain, u"debug And Not debug Or Win32", u"", Kind::Sometimes, u"Win32"},
      // Free identifiers exclude nothing.
      {Ask::Plain, u"Win32 And opengles", u"", Kind::Sometimes, u"Win32 And opengles"},
      // Unreadable: one identifier, as written.
      {Ask::Modern, u" win32 && linux ", u"", Kind::Sometimes, u"win32 && linux"},
      {Ask::Modern, u"Not", u"", Kind::Sometimes, u"Not"},
      // Both.
      {Ask::Both, u"Win32", u"Linux", Kind::Never, u""},
      {Ask::Both, u"Win32", u"win32 And ptr64", Kind::Sometimes, u"win32 And ptr64"},
      {Ask::Both, u"Not Linux", u"Win32", Kind::Sometimes, u"Win32"},
      {Ask::Both, u"", u"Linux", Kind::Sometimes, u"Linux"},
      {Ask::Both, u"Win32 Or MacOS", u"ptr64", Kind::Sometimes, u"(Win32 Or MacOS) And ptr64"},
      {Ask::Both, u"x = 1", u"Win32", Kind::Sometimes, u"(x = 1) And Win32"},
      // Either.
      {Ask::Either, u"ptr64", u"Not ptr64", Kind::Always, u""},
      {Ask::Either, u"Win32", u"win32x64", Kind::Sometimes, u"Win32"},
      {Ask::Either, u"Win32", u"Linux", Kind::Sometimes, u"Win32 Or Linux"},
      {Ask::Either, u"", u"Linux", Kind::Always, u""},
      {Ask::Either, u"Not Win32", u"Win32 And debug", Kind::Sometimes,
       u"Not Win32 Or Win32 And debug"},
  };
  for (const Case& c : cases) {
    KnownCondition known = Answer(c);
    std::string asked = ToUtf8(c.a) + " | " + ToUtf8(c.b);
    EXPECT_EQ(known.kind, c.kind) << asked;
    EXPECT_EQ(ToUtf8(known.text), ToUtf8(c.text)) << asked;
  }
}

TEST(PlatformCondition, AGarbageConditionIsAnsweredAsWritten) {
  // Too deep to read, or too many identifiers to reason about.
  Text deep(200, u'(');
  Text many;
  for (int i = 0; i < 40; ++i) many += u"a" + Decimal(i) + u" Or ";
  many += u"z";
  for (const Text& text : {deep, many}) {
    KnownCondition known = SimplifyCondition(text, true);
    EXPECT_EQ(known.kind, Kind::Sometimes);
    EXPECT_EQ(known.text, Trim(text));
  }
}

}  // namespace
}  // namespace vt
