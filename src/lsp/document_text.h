// An open document's text as the editor has it, and the edits the editor
// sends. Positions count lines from 0 and characters in UTF-16 units, as
// the protocol does, which is what Text holds: no conversion is needed.
#pragma once

#include <optional>
#include <string>

#include "base/text.h"

namespace vt::lsp {

struct TextPosition {
  size_t line = 0;
  size_t character = 0;
  bool operator==(const TextPosition&) const = default;
};

struct TextRange {
  TextPosition start;
  TextPosition end;
  bool operator==(const TextRange&) const = default;
};

// The offset of `position` in `text`. A line ends at LF, CR LF or CR alone; a
// character past its line's end stands for the end, a line past the last
// for the end of the text.
size_t OffsetOf(TextView text, TextPosition position);

// One change of a didChange: the whole text when `range` is none, else the
// range replaced by `replacement`. A range whose end lies before its start
// is read the other way round.
void ApplyChange(Text& text, const std::optional<TextRange>& range, TextView replacement);

// The position just past the last unit of `text`.
TextPosition EndOf(TextView text);

// The bytes the examination reads for an unsaved document, decoded as a file
// on disk would be: Latin-1 when every unit fits in a byte (a file without
// a byte-order mark is read so), else UTF-8 behind its mark.
std::string DocumentBytes(TextView text);

}  // namespace vt::lsp
