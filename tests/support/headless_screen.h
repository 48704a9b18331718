// A desktop screen without a real window for the tests: keeps what it was
// told, and plays back events and dialog answers that a test queued
// beforehand.
#pragma once

#include <functional>

#include <vector>

#include "platform/desktop_screen.h"

namespace vt::testing {

class HeadlessScreen : public DesktopScreen {
 public:
  struct Dialog {
    bool chooseFolder = false;
    Text title;
    Text extension;
    Text folder;
  };

  void InformationBox(const Text& text) override { messages.push_back(text); }
  void WarningBox(const Text& text) override {
    messages.push_back(text);
    warnings.push_back(text);
  }
  // As in a window, there is a status line only once the window is built.
  void SetStatusText(const Text& text) override {
    if (hasWindow) statusText = text;
  }
  void Navigate(const Text& path) override { shownFiles.push_back(path); }
  void ClearView() override { ++viewsCleared; }
  bool ShowsPages() const override { return true; }

  void SetApplicationTitle(const Text& title) override { applicationTitle = title; }
  void KeepWindowPlaceIn(const Text&) override {}
  void CreateMainWindow(const Text& title) override;
  void DestroyMainWindow() override { hasWindow = false; }
  // The next queued event; once the queue is empty, the request to end.
  Event WaitEvent() override;
  void SetLabelText(const Text& text) override { labelText = text; }
  void SetViewVisible(bool visible) override { viewVisible = visible; }
  Text OpenFileDialog(const Text& title, const Text& extension, const Text& folder) override;
  Text ChooseFolderDialog(const Text& title) override;
  void SetRecentPrograms(const std::vector<Text>& programs) override { recentPrograms = programs; }
  // The panel and the clipboard are not kept; every header edit is declined.
  void ShowHeaderPanel(const HeaderPanelContent&) override {}
  void HideHeaderPanel() override {}
  void SetClipboardText(const Text&) override {}
  bool ConfirmHeaderEdit(const Text& diff, size_t files) override {
    filesToConfirm = files;
    return confirm ? confirm(diff) : false;
  }
  // Offered with a warning; the answer is `chooseFolder`.
  bool OfferFolderChoice(const Text& text) override {
    WarningBox(text);
    ++folderChoicesOffered;
    return chooseFolder;
  }
  void ShowProgramName(const Text& program) override { programName = program; }

  bool hasWindow = false;
  std::vector<Text> messages;
  // The messages that came with a warning icon.
  std::vector<Text> warnings;
  // The user's answer to an edit shown; none cancels it.
  std::function<bool(const Text&)> confirm;
  size_t filesToConfirm = 0;
  bool chooseFolder = false;
  int folderChoicesOffered = 0;
  Text programName;
  std::vector<Text> shownFiles;
  int viewsCleared = 0;
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
  std::vector<Text> recentPrograms;
};

}  // namespace vt::testing
