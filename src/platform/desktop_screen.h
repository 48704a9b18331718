// What the desktop program's main routine and header panel need of the
// window beyond the shared Screen: the window itself, its event queue,
// dialogs, menu and panel. The Qt front end implements it; the tests have a
// recording one. The command line has none.
#pragma once

#include <vector>

#include "base/text.h"
#include "platform/events.h"
#include "platform/header_panel_content.h"
#include "platform/screen.h"

namespace vt {

class DesktopScreen : public Screen {
 public:
  // The caption of every information box from now on.
  virtual void SetApplicationTitle(const Text& title) = 0;
  // Where the window keeps its size and position from one run to the next:
  // read when it is built, written when it is removed.
  virtual void KeepWindowPlaceIn(const Text& file) = 0;
  // Builds the main window with its gadgets and menu and shows it.
  virtual void CreateMainWindow(const Text& title) = 0;
  // Removes the main window with everything in it.
  virtual void DestroyMainWindow() = 0;
  // Blocks until an event is queued and takes it. Callbacks of the window
  // system only queue events, so no handler ever runs inside another.
  virtual Event WaitEvent() = 0;

  // The label above the report view, painted at once.
  virtual void SetLabelText(const Text& text) = 0;
  virtual void SetViewVisible(bool visible) = 0;

  // Modal open-file dialog listing the files that end in "." + `extension`,
  // opened in `folder` (when not empty); the chosen file's full path, or
  // empty when cancelled.
  virtual Text OpenFileDialog(const Text& title, const Text& extension,
                              const Text& folder) = 0;
  // Modal choose-folder dialog; the folder's full path, or empty when
  // cancelled.
  virtual Text ChooseFolderDialog(const Text& title) = 0;
  // The programs examined last, newest first, for the File menu: each item
  // sends the tag kMenuRecentProgram + its index.
  virtual void SetRecentPrograms(const std::vector<Text>& programs) = 0;

  // The header panel beside the report, showing `content`; its choice of
  // block, Copy buttons and Apply button send events.
  virtual void ShowHeaderPanel(const HeaderPanelContent& content) = 0;
  virtual void HideHeaderPanel() = 0;
  virtual void SetClipboardText(const Text& text) = 0;
  // Modal dialog that shows `diff`, the edit about to be made to `files` of
  // the program's files, with a button to write them and Cancel; true only
  // when the user chose to write.
  virtual bool ConfirmHeaderEdit(const Text& diff, size_t files) = 0;
  // A warning with a "Choose folder..." button beside Close; true when the
  // user asked to choose a folder.
  virtual bool OfferFolderChoice(const Text& text) = 0;
  // The program now shown, for the window's title; empty when there is none.
  // A different program's report starts at its top.
  virtual void ShowProgramName(const Text& program) = 0;
};

}  // namespace vt
