#include "app/app_state.h"

namespace vt {

AppState::AppState(Screen& screenToUse, TextView applicationFolder) : screen(screenToUse) {
  Reset(applicationFolder);
}

void AppState::Reset(TextView applicationFolder) {
  Settings = FreshSettings(applicationFolder);
  Catalogue.Clear();
  Analysis = AnalysisState();
  Report = ReportState();
  Examine = ExamineState();
  Shell.IdeProcess = nullptr;
  Shell.LaunchedProcesses.clear();
}

}  // namespace vt
