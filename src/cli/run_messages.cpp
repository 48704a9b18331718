#include "cli/run_messages.h"

#include <cstdio>

#include "base/terminal_text.h"
#include "output/text_output.h"
#include "cli/exit_codes.h"

namespace vt {

void PrintWarnings(const Examination& examination, const Text& startFolder) {
  for (const WalkWarning& warning : examination.warnings) {
    std::fprintf(stderr, "%s\n", TerminalText(WarningLine(warning, startFolder)).c_str());
  }
}

int ReportNotWritten(const AppState& state, const PageWrite& page) {
  if (!page.refusal.empty()) {
    std::fprintf(stderr, "veltrane-cli: refusing to write the page over %s: it is the "
                 "examined program, a file it uses, or inside the MOD folder\n",
                 TerminalText(ReportFilePath(state)).c_str());
    return kReportRefused;
  }
  std::fprintf(stderr, "veltrane-cli: cannot write the page: %s%s\n",
               TerminalText(ReportFilePath(state)).c_str(),
               page.changedMeanwhile ? ": changed while being examined; run again" : "");
  return kReportNotWritten;
}

void SayReportWritten(const AppState& state, bool quiet) {
  if (quiet) return;
  std::fprintf(stderr, "Report written to %s\n", TerminalText(ReportFilePath(state)).c_str());
}

int FinishStandardOutput(int code) {
  if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return code;
  std::fputs("veltrane-cli: cannot write to standard output\n", stderr);
  return kOutputFailed;
}

}  // namespace vt
