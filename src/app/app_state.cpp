#include "app/app_state.h"

namespace vt {

AppState::AppState(Screen& screenToUse, TextView applicationFolder)
    : AppState(screenToUse, PortableLayout(applicationFolder)) {}

AppState::AppState(Screen& screenToUse, const ProgramLayout& layout) : screen(screenToUse) {
  Reset(layout);
}

AppState::AppState(DesktopScreen& screenToUse, TextView applicationFolder)
    : AppState(screenToUse, PortableLayout(applicationFolder)) {}

AppState::AppState(DesktopScreen& screenToUse, const ProgramLayout& layout)
    : AppState(static_cast<Screen&>(screenToUse), layout) {
  desktop = &screenToUse;
}

void AppState::Reset(TextView applicationFolder) { Reset(PortableLayout(applicationFolder)); }

void AppState::Reset(const ProgramLayout& layout) {
  Settings = FreshSettings(layout);
  Catalogue.Clear();
  Report = ReportState();
  Examine = ExamineState();
  Panel = HeaderPanelState();
  Shell.IdeProcess = nullptr;
  Shell.LaunchedProcesses.clear();
  Rules = BuiltInRules();
  RuleSetChoice.reset();
  if (Memo) Memo->Forget();
}

}  // namespace vt
