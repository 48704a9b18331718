#include "app/main_window.h"

namespace vt {

void UpdateStatusLine(AppState& state) {
  long long modules = static_cast<long long>(state.Catalogue.ModList.size());
  state.screen.SetStatusText(u"Modules scanned: " + Decimal(modules) +
                             u"   Commands found: " +
                             Decimal(state.Catalogue.CommandCount));
}

}  // namespace vt
