#include "app/window_examine.h"

namespace vt {

ExaminedSource ExamineInWindow(AppState& state, TextView path) {
  SourceToExamine checked = CheckSourceToExamine(state, path);
  // A program that is not examined leaves the view as it was.
  if (checked.source.empty()) return ExamineCheckedSource(state, checked);
  DesktopScreen& screen = *state.desktop;
  screen.SetViewVisible(false);
  screen.SetLabelText(u"Scanning: " + checked.source);
  ExaminedSource examined = ExamineCheckedSource(state, checked);
  screen.SetViewVisible(true);
  screen.SetLabelText(u"HTML Report:");
  return examined;
}

}  // namespace vt
