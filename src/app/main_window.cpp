#include "app/main_window.h"

namespace vt {

void UpdateStatusLine(AppState& state) {
  Screen& screen = state.screen;
  if (!screen.HasWindow()) return;
  screen.SetStatusText(u"Modules scanned: " +
                       Decimal(static_cast<long long>(state.Catalogue.ModList.size())) +
                       u"   Commands found: " + Decimal(state.Catalogue.CommandCount));
}

}  // namespace vt
