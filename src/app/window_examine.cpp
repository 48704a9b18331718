#include "app/window_examine.h"

#include "app/main_window.h"

namespace vt {

ExaminedSource ExamineInWindow(AppState& state, TextView path) {
  SourceToExamine checked = CheckSourceToExamine(state, path);
  // A program that is not examined leaves the view as it was.
  if (checked.source.empty()) return ExamineCheckedSource(state, checked);
  DesktopScreen& screen = *state.desktop;
  // Before the page is shown: another program's page starts at its top.
  screen.ShowProgramName(checked.source);
  screen.SetViewVisible(false);
  screen.SetLabelText(u"Scanning: " + checked.source);
  ExaminedSource examined = ExamineCheckedSource(state, checked);
  screen.SetViewVisible(true);
  screen.SetLabelText(u"HTML Report:");
  UpdateStatusLine(state);
  return examined;
}

}  // namespace vt
