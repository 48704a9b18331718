// What veltrane-cli says on standard error about a run, shared by its modes.
#pragma once

#include "app/app_state.h"
#include "app/examine.h"
#include "app/pages.h"
#include "base/text.h"

namespace vt {

// The files named by Include or Import lines that could not be read, one
// line each, relative to `startFolder`.
void PrintWarnings(const Examination& examination, const Text& startFolder);

// Says why the page was not written; returns the exit code for it.
int ReportNotWritten(const AppState& state, const PageWrite& page);

// "Report written to ..." unless quiet.
void SayReportWritten(const AppState& state, bool quiet);

// `code`, unless standard output could not take what was written to it
// (a full disk, a closed pipe): that is never a success.
int FinishStandardOutput(int code);

}  // namespace vt
