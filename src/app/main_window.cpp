#include "app/main_window.h"

namespace vt {

void UpdateStatusLine(AppState& state, TextView note) {
  long long modules = static_cast<long long>(state.Catalogue.ModList.size());
  Text status = u"Modules scanned: " + Decimal(modules) + u"   Commands found: " +
                Decimal(state.Catalogue.CommandCount);
  if (state.Settings.RootFolderVerified) status += u"   Root: " + state.Settings.RootFolder;
  const Text& program = state.Examine.MainSourcePath;
  if (!program.empty()) status += u"   Program: " + program;
  if (!note.empty()) status += u"   (" + Text(note) + u")";
  state.screen.SetStatusText(status);
}

}  // namespace vt
