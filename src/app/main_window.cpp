#include "app/main_window.h"

#include "catalogue/module_records.h"
#include "platform/screen.h"

namespace vt {

void UpdateStatusLine() {
  Screen& screen = CurrentScreen();
  if (!screen.HasWindow()) return;
  screen.SetStatusText(u"Modules scanned: " +
                       Decimal(static_cast<long long>(Catalogue.ModList.size())) +
                       u"   Commands found: " + Decimal(Catalogue.CommandCount));
}

}  // namespace vt
