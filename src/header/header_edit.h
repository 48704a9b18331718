// The edit of one file that puts the wanted header in place of the present
// one: the header lines go, the new lines come where the first of them
// stood, and every other line keeps its bytes and its ending.
#pragma once

#include <optional>
#include <vector>

#include "analysis/unit_header.h"
#include "platform/text_lines.h"

namespace vt {

struct EditedLine {
  RawLine line;
  // The line of the old file it is, unchanged; none for a new line.
  std::optional<size_t> from;
};

struct HeaderEdit {
  std::vector<EditedLine> after;
  // The first new line the file's encoding cannot hold a character of, when
  // there is one; the edit is then not to be made.
  Text unencodable;

  // The new file: the old one's encoding and mark with the lines after
  // (a UTF-8 mark only while a line is left to carry it).
  TextLines Result(const TextLines& before) const;
};

// New lines take the ending most lines of the file have (`fallbackEnding`,
// plain text, when none has one). When the file had no header and the new
// one lands before a line with text, a blank line separates them. A file
// whose last line had no ending still ends without one.
HeaderEdit EditHeader(const TextLines& before, const PresentHeader& present,
                      const std::vector<WantedLine>& wanted, TextView fallbackEnding);

// Whether the edit changes any byte.
bool Changes(const TextLines& before, const HeaderEdit& edit);

}  // namespace vt
