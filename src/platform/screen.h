// What every front end gives the steps they share: messages to the user,
// the page view and the status line. The window-system front end
// implements it as part of DesktopScreen (platform/desktop_screen.h); the
// command line has a console one, the tests a recording one.
#pragma once

#include "base/text.h"

namespace vt {

class Screen {
 public:
  virtual ~Screen() = default;

  // Modal message with the caption "Veltrane", an information icon and one
  // OK button; returns once the user closed it.
  virtual void InformationBox(const Text& text) = 0;
  // The same with a warning icon, for what failed or was refused; a screen
  // without icons says it as any other message.
  virtual void WarningBox(const Text& text) { InformationBox(text); }

  // The status line; passed over while there is none to write in.
  virtual void SetStatusText(const Text& text) = 0;
  // Shows the local file `path` in the report view and repaints the window.
  virtual void Navigate(const Text& path) = 0;
  // Empties the report view, so that no page is shown that is not the
  // current one.
  virtual void ClearView() = 0;
  // False for a screen that has no page view at all (the command line), so
  // that nothing is said about pages it could never show.
  virtual bool ShowsPages() const = 0;
};

}  // namespace vt
