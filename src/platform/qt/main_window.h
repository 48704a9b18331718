// The main window: a label and the report view, with the header panel
// beside it once there is a program, over a separator line; the status line,
// the menu tree, and file dropping. Its callbacks only post
// events; the main routine's loop acts on them.
#pragma once

#include <QLabel>
#include <QMainWindow>
#include <QSplitter>
#include <QStringList>
#include <QWebEngineView>
#include <functional>

#include "platform/events.h"
#include "platform/qt/client_area.h"
#include "platform/qt/header_panel_view.h"

namespace vt {

class MainWindow : public QMainWindow {
 public:
  using Poster = std::function<void(Event)>;

  // Builds the window completely and shows it, centred on the screen.
  MainWindow(const QString& title, Poster post);

  QWebEngineView* ReportView() const { return reportView_; }
  // Holds the report view and the header panel side by side.
  QSplitter* ReportSplitter() const { return splitter_; }
  HeaderPanelView* HeaderPanel() const { return headerPanel_; }
  // Shows the panel with `content`; the first time, it takes a share of the
  // width, which the user may change from then on.
  void ShowHeaderPanel(const HeaderPanelContent& content);
  QLabel* ReportLabel() const { return reportLabel_; }
  QLabel* StatusLabel() const { return statusLabel_; }
  ClientArea* Client() const { return client_; }
  // Lists the programs examined last in the File menu, before its Exit.
  void SetRecentPrograms(const QStringList& programs);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void ShowCentred();
  void CreateGadgets();
  void CreateMenuTree();
  QMenu* AddMenu(const QString& title, int tag);
  QAction* AddItem(QMenu* menu, const QString& text, int tag);

  Poster post_;
  QMenu* fileMenu_ = nullptr;
  QAction* exitSeparator_ = nullptr;
  QList<QAction*> recentItems_;
  ClientArea* client_ = nullptr;
  QSplitter* splitter_ = nullptr;
  QWebEngineView* reportView_ = nullptr;
  HeaderPanelView* headerPanel_ = nullptr;
  bool panelSized_ = false;
  QLabel* reportLabel_ = nullptr;
  QLabel* statusLabel_ = nullptr;
};

}  // namespace vt
