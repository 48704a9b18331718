// How a page line becomes the bytes of the report file.
#pragma once

#include <string>

#include "base/text.h"

namespace vt {

// Every apostrophe as a double quote, so that attribute values end up
// double-quoted; a line that starts with an apostrophe is a BlitzMax comment
// meant for pasting and stays as it is.
Text DoubleQuoteAttributes(TextView line);

// One byte per code unit up to 255; anything above, and control characters
// other than tab, as a decimal character reference (a surrogate pair as one
// reference, a lone surrogate, such as a byte of a name that was not UTF-8,
// as U+FFFD).
std::string PageBytes(TextView line);

// Appends `line` to `out` as the page file holds it: the bytes of
// PageBytes(DoubleQuoteAttributes(line)), then CR LF. Without the copies,
// since a large page has hundreds of millions of lines.
void AppendPageLine(std::string& out, TextView line);

}  // namespace vt
