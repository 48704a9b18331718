#include "output/text_output.h"

#include "base/terminal_text.h"

#include "base/paths.h"

namespace vt {

namespace {

// Appends the line as the terminal shows it, straight as UTF-8: a box can
// have thousands, so no second copy of the whole text is made.
void AppendLineText(std::string& out, TextView fixed, TextView data, TextView reason,
                    bool explain) {
  AppendTerminalText(out, fixed);
  AppendTerminalText(out, data);
  if (explain && !reason.empty()) {
    out += " ' ";
    AppendTerminalText(out, reason);
  }
  out += '\n';
}

}  // namespace

// Names and data from files must not drive the terminal: every piece that
// may hold them goes through AppendTerminalText.
std::string SuggestionText(const Suggestion& suggestion, bool explain) {
  std::string out;
  bool first = true;
  for (const FrameworkBlock& block : suggestion.blocks) {
    if (!first) out += '\n';
    first = false;
    AppendTerminalText(out, block.title);
    out += '\n';
    for (const CodeBox& box : block.boxes) {
      out += '\n';
      AppendTerminalText(out, box.label);
      AppendTerminalText(out, FileNameOf(box.path));
      out += '\n';
      ForEachCodeLine(box, [&](TextView fixed, TextView data, TextView reason) {
        AppendLineText(out, fixed, data, reason, explain);
      });
    }
  }
  return out;
}

}  // namespace vt
