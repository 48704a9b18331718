// What the tool's logic needs from the screen. The window-system front end
// implements it; the headless one keeps the text it was given so that tests
// and the command line can read it back.
#pragma once

#include <vector>

#include "base/text.h"

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
};

// The screen that the logic talks to. Never null: a headless screen stands in
// until a front end installs its own.
Screen& CurrentScreen();
// Installs `screen` (not owned); null restores the built-in headless one.
void SetScreen(Screen* screen);

class HeadlessScreen : public Screen {
 public:
  void InformationBox(const Text& text) override { messages.push_back(text); }
  bool HasWindow() const override { return hasWindow; }
  void SetStatusText(const Text& text) override { statusText = text; }
  void SetLabelText(const Text& text) override { labelText = text; }
  void SetViewVisible(bool visible) override { viewVisible = visible; }
  void Navigate(const Text& path) override { shownFiles.push_back(path); }

  bool hasWindow = false;
  std::vector<Text> messages;
  std::vector<Text> shownFiles;
  Text statusText;
  Text labelText;
  bool viewVisible = true;
};

}  // namespace vt
