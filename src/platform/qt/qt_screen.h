// The desktop screen on a real Qt window.
#pragma once

#include <QEventLoop>
#include <QString>
#include <memory>

#include "platform/events.h"
#include "platform/qt/main_window.h"
#include "platform/desktop_screen.h"

namespace vt {

class QtScreen : public DesktopScreen {
 public:
  QtScreen();
  ~QtScreen() override;

  void InformationBox(const Text& text) override;
  void WarningBox(const Text& text) override;
  void SetStatusText(const Text& text) override;
  void Navigate(const Text& path) override;
  void ClearView() override;
  bool ShowsPages() const override { return true; }
  void SetApplicationTitle(const Text& title) override;
  void KeepWindowPlaceIn(const Text& file) override;
  void CreateMainWindow(const Text& title) override;
  void DestroyMainWindow() override;
  Event WaitEvent() override;
  void SetLabelText(const Text& text) override;
  void SetViewVisible(bool visible) override;
  Text OpenFileDialog(const Text& title, const Text& extension, const Text& folder) override;
  void SetRecentPrograms(const std::vector<Text>& programs) override;
  Text ChooseFolderDialog(const Text& title) override;
  void ShowHeaderPanel(const HeaderPanelContent& content) override;
  void HideHeaderPanel() override;
  void SetClipboardText(const Text& text) override;
  bool ConfirmHeaderEdit(const Text& diff, size_t files) override;
  bool OfferFolderChoice(const Text& text) override;
  void ShowProgramName(const Text& program) override;

  // The program is to end (a termination signal): open dialogs close as if
  // cancelled, and no new one waits for an answer.
  void EndDialogs();

  // Whether the main window exists yet.
  bool HasWindow() const { return window_ != nullptr; }
  // Queues `event` and wakes the loop if it waits.
  void Post(Event event);
  const EventQueue& Events() const { return events_; }
  // The main window, or null before start-up built it.
  MainWindow* Window() const { return window_.get(); }

 private:
  QWidget* Owner() const;

  EventQueue events_;
  QEventLoop* waiting_ = nullptr;
  std::unique_ptr<MainWindow> window_;
  QString applicationTitle_;
  QString windowTitle_;
  QString program_;
  // Goes with every page address; a new one for each program, so that its
  // page opens at its top where the same file would open where the last
  // program's page was left. Examined again, a program's page stays put.
  int pageGeneration_ = 0;
  bool ending_ = false;
  QString placeFile_;
  std::unique_ptr<QObject> quitWatcher_;
};

}  // namespace vt
