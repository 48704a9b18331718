#include "platform/qt/main_window.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLayout>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>

#include "platform/menu_tags.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/report_page.h"

namespace vt {

namespace {
constexpr int kWidth = 660;
constexpr int kHeight = 460;
constexpr int kMinimumWidth = 260;
constexpr int kMinimumHeight = 180;
}  // namespace

MainWindow::MainWindow(const QString& title, Poster post) : post_(std::move(post)) {
  setWindowTitle(title);
  setAcceptDrops(true);
  client_ = new ClientArea(this);
  setCentralWidget(client_);
  statusLabel_ = new QLabel(this);
  statusBar()->addWidget(statusLabel_, 1);
  ShowCentred();
  CreateGadgets();
  CreateMenuTree();
}

// Qt sizes a window without its frame, which is known only once the window
// is shown; the outer size is corrected then, where the platform tells it.
void MainWindow::ShowCentred() {
  QRect desktop = QGuiApplication::primaryScreen()->geometry();
  resize(kWidth, kHeight);
  move(desktop.x() + (desktop.width() - kWidth) / 2,
       desktop.y() + (desktop.height() - kHeight) / 2);
  show();
  int frameWidth = frameGeometry().width() - geometry().width();
  int frameHeight = frameGeometry().height() - geometry().height();
  if (frameWidth > 0 || frameHeight > 0)
    resize(kWidth - frameWidth, kHeight - frameHeight);
  setMinimumSize(kMinimumWidth - frameWidth, kMinimumHeight - frameHeight);
  layout()->activate();
}

void MainWindow::CreateGadgets() {
  int cw = client_->width();
  int ch = client_->height();

  splitter_ = new QSplitter(Qt::Horizontal, client_);
  splitter_->setChildrenCollapsible(false);
  reportView_ = new QWebEngineView(splitter_);
  reportView_->setPage(new ReportPage(post_, reportView_));
  // The view would take dropped files itself and open them as pages.
  reportView_->setAcceptDrops(false);
  splitter_->addWidget(reportView_);
  headerPanel_ = new HeaderPanelView(post_, splitter_);
  splitter_->addWidget(headerPanel_);
  // A wider window widens both, the report more.
  splitter_->setStretchFactor(0, 3);
  splitter_->setStretchFactor(1, 2);
  headerPanel_->hide();
  client_->Place(splitter_, QRect(8, 40, cw - 16, ch - 48), true, true);
  splitter_->show();

  reportLabel_ = new QLabel(QStringLiteral("HTML Report:"), client_);
  client_->Place(reportLabel_, QRect(10, 20, cw - 40, 20), false, false);
  reportLabel_->show();

  // Only the lower edge of the frame lies inside the area: a line under the
  // menu bar.
  auto* separator = new QGroupBox(client_);
  client_->Place(separator, QRect(-2, -6, cw + 2, 8), true, false);
  separator->show();
}

QMenu* MainWindow::AddMenu(const QString& title, int tag) {
  QMenu* menu = menuBar()->addMenu(title);
  menu->menuAction()->setData(tag);
  return menu;
}

QAction* MainWindow::AddItem(QMenu* menu, const QString& text, int tag) {
  QAction* item = menu->addAction(text);
  item->setData(tag);
  connect(item, &QAction::triggered, this, [this, tag] { post_(MenuEvent(tag)); });
  return item;
}

void MainWindow::CreateMenuTree() {
  QMenu* file = AddMenu(QStringLiteral("&File"), kMenuFile);
  AddItem(file, QStringLiteral("&Examine *.bmx source"), kMenuExamine)
      ->setShortcut(QKeySequence::Open);
  QAction* again = AddItem(file, QStringLiteral("Examine &again"), kMenuReexamine);
  again->setShortcut(QKeySequence(Qt::Key_F5));
  again->setShortcutContext(Qt::ApplicationShortcut);
  fileMenu_ = file;
  exitSeparator_ = file->addSeparator();
  AddItem(file, QStringLiteral("E&xit"), kMenuExit)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

  QMenu* max = AddMenu(QStringLiteral("&Max"), kMenuMax);
  AddItem(max, QStringLiteral("Set BlitzMax &ROOT folder"), kMenuRootFolder);
  AddItem(max, QStringLiteral("Launch &BlitzMax"), kMenuLaunchIde);
  AddItem(max, QStringLiteral("View Module details"), kMenuModuleDetails);

  QMenu* help = AddMenu(QStringLiteral("&Help"), kMenuHelp);
  QAction* contents = AddItem(help, QStringLiteral("&Contents"), kMenuContents);
  contents->setShortcut(QKeySequence(Qt::Key_F1));
  // F1 works wherever the focus is, the report view included.
  contents->setShortcutContext(Qt::ApplicationShortcut);
  AddItem(help, QStringLiteral("&About"), kMenuAbout);
}

void MainWindow::ShowHeaderPanel(const HeaderPanelContent& content) {
  headerPanel_->Show(content);
  headerPanel_->show();
  if (panelSized_) return;
  panelSized_ = true;
  const int width = splitter_->width();
  const int panel = width * 2 / 5;
  splitter_->setSizes({width - panel, panel});
}

void MainWindow::SetRecentPrograms(const QStringList& programs) {
  for (QAction* item : recentItems_) {
    fileMenu_->removeAction(item);
    item->deleteLater();
  }
  recentItems_.clear();
  if (programs.isEmpty()) return;
  recentItems_.push_back(fileMenu_->insertSeparator(exitSeparator_));
  for (qsizetype i = 0; i < programs.size(); ++i) {
    // "&&" keeps an ampersand of a path from becoming a mnemonic.
    QString text = QStringLiteral("&%1 %2").arg(i + 1).arg(QString(programs[i]).replace(
                                                               QLatin1Char('&'), QStringLiteral("&&")));
    auto* item = new QAction(text, fileMenu_);
    const int tag = kMenuRecentProgram + static_cast<int>(i);
    item->setData(tag);
    connect(item, &QAction::triggered, this, [this, tag] { post_(MenuEvent(tag)); });
    fileMenu_->insertAction(exitSeparator_, item);
    recentItems_.push_back(item);
  }
}

// The loop decides; the window stays until the loop removes it.
void MainWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
  post_(CloseEvent());
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dragMoveEvent(QDragMoveEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  for (const QUrl& url : urls) {
    if (url.isLocalFile()) post_(DropEvent(ToText(url.toLocalFile())));
  }
  event->acceptProposedAction();
}

}  // namespace vt
