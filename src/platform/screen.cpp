#include "platform/screen.h"

namespace vt {

namespace {
HeadlessScreen& BuiltInScreen() {
  static HeadlessScreen screen;
  return screen;
}
Screen* installed = nullptr;
}  // namespace

Screen& CurrentScreen() { return installed ? *installed : BuiltInScreen(); }

void SetScreen(Screen* screen) { installed = screen; }

}  // namespace vt
