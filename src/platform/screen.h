// What the tool's logic needs from the screen. The window-system front end
// implements it; the headless one keeps the text it was given so that tests
// and the command line can read it back.
#pragma once

#include <vector>

#include "base/text.h"
#include "platform/events.h"

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
  // False for a screen that has no page view at all (the command line), so
  // that nothing is said about pages it could never show.
  virtual bool ShowsPages() const { return true; }

  // The operations below belong to the desktop program's main routine. A
  // screen without a window keeps the defaults: no window, no answers, and
  // an empty event queue that asks the program to end.

  // The caption of every information box from now on.
  virtual void SetApplicationTitle(const Text&) {}
  // Builds the main window with its gadgets and menu and shows it.
  virtual void CreateMainWindow(const Text&) {}
  // Removes the main window with everything in it.
  virtual void DestroyMainWindow() {}
  // Blocks until an event is queued and takes it. Callbacks of the window
  // system only queue events, so no handler ever runs inside another.
  virtual Event WaitEvent() { return TerminateEvent(); }
  // Modal open-file dialog listing the files that end in "." + `extension`;
  // the chosen file's full path, or empty when cancelled.
  virtual Text OpenFileDialog(const Text& /*title*/, const Text& /*extension*/) {
    return Text();
  }
  // Modal choose-folder dialog; the folder's full path, or empty when
  // cancelled.
  virtual Text ChooseFolderDialog(const Text& /*title*/) { return Text(); }
};

// The screen that the logic talks to. Never null: a headless screen stands in
// until a front end installs its own.
Screen& CurrentScreen();
// Installs `screen` (not owned); null restores the built-in headless one.
void SetScreen(Screen* screen);

// Keeps what it was told, and plays back events and dialog answers that a
// test queued beforehand.
class HeadlessScreen : public Screen {
 public:
  struct Dialog {
    bool chooseFolder = false;
    Text title;
    Text extension;
  };

  void InformationBox(const Text& text) override { messages.push_back(text); }
  bool HasWindow() const override { return hasWindow; }
  void SetStatusText(const Text& text) override { statusText = text; }
  void SetLabelText(const Text& text) override { labelText = text; }
  void SetViewVisible(bool visible) override { viewVisible = visible; }
  void Navigate(const Text& path) override { shownFiles.push_back(path); }
  void SetApplicationTitle(const Text& title) override { applicationTitle = title; }
  void CreateMainWindow(const Text& title) override;
  void DestroyMainWindow() override { hasWindow = false; }
  // The next queued event; once the queue is empty, the request to end.
  Event WaitEvent() override;
  Text OpenFileDialog(const Text& title, const Text& extension) override;
  Text ChooseFolderDialog(const Text& title) override;

  bool hasWindow = false;
  std::vector<Text> messages;
  std::vector<Text> shownFiles;
  Text statusText;
  Text labelText;
  bool viewVisible = true;
  Text applicationTitle;
  Text windowTitle;
  int windowsCreated = 0;
  EventQueue events;
  // Answers for the dialogs, oldest first; an empty list answers "cancelled".
  std::vector<Text> dialogAnswers;
  std::vector<Dialog> dialogs;
};

}  // namespace vt
