#include "app/text_output.h"

#include "app/terminal_text.h"

#include "base/paths.h"

namespace vt {

namespace {

// Appends the line as the terminal shows it; a box can have thousands.
void AppendLineText(Text& out, TextView fixed, TextView data, TextView reason, bool explain) {
  out += fixed;
  out += data;
  if (explain && !reason.empty()) {
    out += u" ' ";
    out += reason;
  }
  out += u'\n';
}

}  // namespace

std::string SuggestionText(const Suggestion& suggestion, bool explain) {
  Text out;
  bool first = true;
  for (const FrameworkBlock& block : suggestion.blocks) {
    if (!first) out += u"\n";
    first = false;
    out += block.title + u"\n";
    for (const CodeBox& box : block.boxes) {
      out += u"\n" + box.label + FileNameOf(box.path) + u"\n";
      ForEachCodeLine(box, [&](TextView fixed, TextView data, TextView reason) {
        AppendLineText(out, fixed, data, reason, explain);
      });
    }
  }
  // Names and data from files must not drive the terminal.
  return TerminalText(out);
}

Text WarningLine(const WalkWarning& warning, TextView folder) {
  return RelativePath(warning.file, folder) + u":" + Decimal(warning.line) +
         u": warning: " + WarningMessage(warning);
}

}  // namespace vt
