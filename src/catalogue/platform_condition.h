// What a platform condition ("?Win32", "?bmxng And Not ptr64") says: always
// true, never true, or true on some platforms only, and under which of them.
// The module catalogue and the analysis both ask, so these are plain
// functions over condition texts.
//
// A condition combines identifiers with And, Or and Not (any case) and
// parentheses. The answers come from a truth table over its identifiers,
// with what is known of the platforms built in: exactly one operating system
// holds at a time (win32, macos = osx, linux, android, ios, haiku, nx,
// emscripten); an identifier that starts with one of them (win32x64,
// linuxarm64, macosarm64) implies it, one that starts with raspberrypi
// implies linux; ptr32 is Not ptr64; every other identifier (debug, threaded, opengles,
// bmxng2 ...) may be true or false. A text that does not read as a condition
// is one identifier of its own, written as it is.
#pragma once

#include "base/text.h"

namespace vt {

struct KnownCondition {
  enum class Kind { Always, Never, Sometimes };
  Kind kind = Kind::Always;
  // For Sometimes: the condition that is left, written with the input's own
  // identifiers and keywords as they are spelt ("Win32"). Empty otherwise.
  Text text;

  bool operator==(const KnownCondition&) const = default;
};

// What `condition` leaves once what is known is applied. With `modern`, the
// program is built by the modern distribution: bmxng holds ("?bmxng" is
// Always, "?Not bmxng" Never, "?bmxng And Win32" Sometimes "Win32"). Parts
// that are always or never true, and sides of And/Or that one another
// implies, drop out; a condition with nothing to drop comes back as written,
// trimmed. An empty condition (outside any section) is Always.
KnownCondition SimplifyCondition(TextView condition, bool modern);

// The condition under which `a` and `b` both hold: Never when they exclude
// one another (Win32 and Linux); the narrower one when one implies the
// other; else "a And b", a side that holds an Or in parentheses. An empty
// side is no condition.
KnownCondition BothConditions(TextView a, TextView b);

// The condition under which `a` or `b` holds: Always when together they
// cover every platform (ptr64, Not ptr64); the wider one when one implies
// the other; else "a Or b". An empty side is Always.
KnownCondition EitherCondition(TextView a, TextView b);

}  // namespace vt
