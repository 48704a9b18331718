// What the tool's logic needs from the screen. The window-system front end
// implements it; the command line has a console one, the tests a recording
// one.
#pragma once

#include <vector>

#include "base/text.h"
#include "platform/events.h"
#include "platform/header_panel_content.h"

namespace vt {

class Screen {
 public:
  virtual ~Screen() = default;

  // Modal message with the caption "Veltrane", an information icon and one
  // OK button; returns once the user closed it.
  virtual void InformationBox(const Text& text) = 0;

  // Whether the main window exists yet.
  virtual bool HasWindow() const = 0;
  virtual void SetStatusText(const Text& text) = 0;
  virtual void SetLabelText(const Text& text) = 0;
  virtual void SetViewVisible(bool visible) = 0;
  // Shows the local file `path` in the report view and repaints the window.
  virtual void Navigate(const Text& path) = 0;
  // Empties the report view, so that no page is shown that is not the
  // current one.
  virtual void ClearView() {}
  // False for a screen that has no page view at all (the command line), so
  // that nothing is said about pages it could never show.
  virtual bool ShowsPages() const { return true; }

  // The operations below belong to the desktop program's main routine. A
  // screen without a window keeps the defaults: no window, no answers, and
  // an empty event queue that asks the program to end.

  // The caption of every information box from now on.
  virtual void SetApplicationTitle(const Text&) {}
  // Where the window keeps its size and position from one run to the next:
  // read when it is built, written when it is removed.
  virtual void KeepWindowPlaceIn(const Text& /*file*/) {}
  // Builds the main window with its gadgets and menu and shows it.
  virtual void CreateMainWindow(const Text&) {}
  // Removes the main window with everything in it.
  virtual void DestroyMainWindow() {}
  // Blocks until an event is queued and takes it. Callbacks of the window
  // system only queue events, so no handler ever runs inside another.
  virtual Event WaitEvent() { return TerminateEvent(); }
  // Modal open-file dialog listing the files that end in "." + `extension`,
  // opened in `folder` (when not empty); the chosen file's full path, or
  // empty when cancelled.
  virtual Text OpenFileDialog(const Text& /*title*/, const Text& /*extension*/,
                              const Text& /*folder*/) {
    return Text();
  }
  // The programs examined last, newest first, for the File menu: each item
  // sends the tag kMenuRecentProgram + its index.
  virtual void SetRecentPrograms(const std::vector<Text>& /*programs*/) {}
  // Modal choose-folder dialog; the folder's full path, or empty when
  // cancelled.
  virtual Text ChooseFolderDialog(const Text& /*title*/) { return Text(); }
  // The header panel beside the report, showing `content`; its choice of
  // block, Copy buttons and Apply button send events.
  virtual void ShowHeaderPanel(const HeaderPanelContent& /*content*/) {}
  virtual void HideHeaderPanel() {}
  virtual void SetClipboardText(const Text& /*text*/) {}
  // Modal dialog that shows `diff`, the edit about to be made to the
  // program's files, with OK and Cancel; true only for OK.
  virtual bool ConfirmHeaderEdit(const Text& /*diff*/) { return false; }
};

}  // namespace vt
