#include "analysis/rule_book.h"

#include <gtest/gtest.h>

namespace vt {
namespace {

TEST(ReadRules, AFaultNamesFileAndLineAndLeavesTheBookAsItWas) {
  struct Case {
    std::string_view text;
    const char16_t* error;
  };
  const Case cases[] = {
      {"gui BRL.MaxGUI\n",
       u"r.txt:1: \"gui\" before any section; start with [classic] or [modern]"},
      {"[future]\n",
       u"r.txt:1: unknown section \"[future]\"; expected [classic] or [modern]"},
      {"# note\n\n[modern]\r\n  implemnetation A.B C.D\r\n",
       u"r.txt:4: unknown rule \"implemnetation\"; expected implementation, driver, note, "
       u"gui or family"},
      {"[modern]\nimplementation BRL.Timer\n",
       u"r.txt:2: implementation needs an interface module and an implementation module"},
      {"[modern]\nimplementation BRL.Timer BRLTimerDefault\n",
       u"r.txt:2: \"BRLTimerDefault\" is not a module name such as BRL.Timer"},
      {"[modern]\nimplementation A.B.C D.E\n",
       u"r.txt:2: \"A.B.C\" is not a module name such as BRL.Timer"},
      {"[classic]\ndriver vulkan BRL.VK SetGraphicsDriver VKDriver()\n",
       u"r.txt:2: unknown driver \"vulkan\"; expected opengl-graphics, opengl-max2d or "
       u"directx-max2d"},
      {"[classic]\ndriver opengl-max2d BRL.GLMax2D\n",
       u"r.txt:2: driver needs a template name, a module and a source line"},
      {"[classic]\nnote opengl-max2d \t\n",
       u"r.txt:2: note needs a template name and a text"},
      {"[classic]\ngui BRL.A BRL.B\n", u"r.txt:2: gui needs exactly one module"},
      // The rules before the fault are dropped with it.
      {"[modern]\nimplementation A.B C.D\ngui .B\n",
       u"r.txt:3: \".B\" is not a module name such as BRL.Timer"},
      {"[modern]\nnote opengl-max2d caf\xC3\xA9\nnote opengl-max2d caf\xE9\n",
       u"r.txt:3: not valid UTF-8"},
  };
  for (const Case& c : cases) {
    RuleBook book = BuiltInRules();
    EXPECT_EQ(ReadRules(c.text, u"r.txt", book), c.error) << c.text;
    EXPECT_EQ(book, BuiltInRules()) << c.text;
  }
}

}  // namespace
}  // namespace vt
