// The main window: a label over the report view, with the header panel
// beside it once there is a program; a find bar under the report; the status
// line, the menu tree and file dropping. Everything is placed by layouts, so
// that it fits at any size. Its callbacks only post events; the main
// routine's loop acts on them. What is the window's own (the panel shown or
// hidden, going back a page, finding text) it does itself.
#pragma once

#include <QByteArray>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QSplitter>
#include <QStringList>
#include <QWebEngineView>
#include <functional>

#include "platform/events.h"
#include "platform/qt/header_panel_view.h"

namespace vt {

class MainWindow : public QMainWindow {
 public:
  using Poster = std::function<void(Event)>;

  // Builds the window completely, sized and centred for the screen, but
  // does not show it: a kept size and place are restored first.
  MainWindow(const QString& title, Poster post);

  QWebEngineView* ReportView() const { return reportView_; }
  // Holds the report view and the header panel side by side.
  QSplitter* ReportSplitter() const { return splitter_; }
  HeaderPanelView* HeaderPanel() const { return headerPanel_; }
  // Gives the panel `content`; it shows unless the user hid it.
  void ShowHeaderPanel(const HeaderPanelContent& content);
  // No program: no panel, whatever the user's choice.
  void HideHeaderPanel();
  // The View menu's item that shows or hides the panel.
  QAction* PanelToggle() const { return panelToggle_; }
  QLabel* ReportLabel() const { return reportLabel_; }
  QLabel* StatusLabel() const { return statusLabel_; }
  QLineEdit* FindField() const { return findField_; }
  // Opens the find bar with the focus in its field.
  void StartFinding();
  // Lists the programs examined last in the File menu, before its Exit.
  void SetRecentPrograms(const QStringList& programs);

  // The splitter's place and whether the user hid the panel, to keep
  // between runs.
  QByteArray SaveLayoutState() const;
  void RestoreLayoutState(const QByteArray& state);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void PlaceForScreen();
  void CreateGadgets();
  QWidget* CreateFindBar(QWidget* parent);
  void CreateMenuTree();
  QMenu* AddMenu(const QString& title, int tag);
  QAction* AddItem(QMenu* menu, const QString& text, int tag);
  void FindNext(bool backward);
  void UpdatePanelVisibility();

  Poster post_;
  QMenu* fileMenu_ = nullptr;
  QAction* exitSeparator_ = nullptr;
  QAction* panelToggle_ = nullptr;
  QList<QAction*> recentItems_;
  QSplitter* splitter_ = nullptr;
  QWebEngineView* reportView_ = nullptr;
  HeaderPanelView* headerPanel_ = nullptr;
  QWidget* findBar_ = nullptr;
  QLineEdit* findField_ = nullptr;
  bool panelHasContent_ = false;
  bool panelSized_ = false;
  // The sizes the user left the splitter at, for when the panel first shows.
  QList<int> keptSizes_;
  QLabel* reportLabel_ = nullptr;
  QLabel* statusLabel_ = nullptr;
};

}  // namespace vt
