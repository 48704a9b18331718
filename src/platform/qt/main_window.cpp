#include "platform/qt/main_window.h"

#include <QCloseEvent>
#include <QDataStream>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIODevice>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWebEngineFindTextResult>

#include "platform/menu_tags.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/report_page.h"

namespace vt {

namespace {
// Room for a report and the panel beside it; a smaller screen gets most of
// what it has.
constexpr int kWidth = 1100;
constexpr int kHeight = 700;
constexpr int kMinimumWidth = 480;
constexpr int kMinimumHeight = 320;
// Bumped when the kept layout state changes its shape.
constexpr quint32 kLayoutStateVersion = 1;
// How long a passing note stays in the status line.
constexpr int kNoteMilliseconds = 8000;
}  // namespace

MainWindow::MainWindow(const QString& title, Poster post) : post_(std::move(post)) {
  setWindowTitle(title);
  setAcceptDrops(true);
  statusLabel_ = new QLabel(this);
  statusLabel_->setTextFormat(Qt::PlainText);
  // A long root folder must not widen the window.
  statusLabel_->setMinimumWidth(1);
  statusLabel_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  statusBar()->addWidget(statusLabel_, 1);
  CreateGadgets();
  CreateMenuTree();
  PlaceForScreen();
}

void MainWindow::PlaceForScreen() {
  setMinimumSize(kMinimumWidth, kMinimumHeight);
  QRect available = QGuiApplication::primaryScreen()->availableGeometry();
  QSize size(std::min(kWidth, available.width() * 9 / 10),
             std::min(kHeight, available.height() * 9 / 10));
  resize(size.expandedTo(minimumSize()));
  move(available.x() + (available.width() - width()) / 2,
       available.y() + (available.height() - height()) / 2);
}

void MainWindow::CreateGadgets() {
  auto* area = new QWidget(this);
  setCentralWidget(area);
  auto* layout = new QVBoxLayout(area);
  layout->setContentsMargins(8, 0, 8, 4);
  layout->setSpacing(4);

  // A line under the menu bar.
  auto* line = new QFrame(area);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  layout->addWidget(line);

  reportLabel_ = new QLabel(QStringLiteral("HTML Report:"), area);
  reportLabel_->setTextFormat(Qt::PlainText);
  layout->addWidget(reportLabel_);

  splitter_ = new QSplitter(Qt::Horizontal, area);
  splitter_->setChildrenCollapsible(false);
  reportView_ = new QWebEngineView(splitter_);
  auto note = [this](const QString& text) { statusBar()->showMessage(text, kNoteMilliseconds); };
  reportView_->setPage(new ReportPage(post_, reportView_, {}, note));
  // The view would take dropped files itself and open them as pages.
  reportView_->setAcceptDrops(false);
  reportView_->setMinimumWidth(200);
  splitter_->addWidget(reportView_);
  headerPanel_ = new HeaderPanelView(post_, splitter_);
  splitter_->addWidget(headerPanel_);
  // A wider window widens both, the report more.
  splitter_->setStretchFactor(0, 3);
  splitter_->setStretchFactor(1, 2);
  headerPanel_->hide();
  layout->addWidget(splitter_, 1);

  findBar_ = CreateFindBar(area);
  layout->addWidget(findBar_);
  findBar_->hide();
  // From the panel the keyboard goes on to the report, then the find bar.
  QWidget::setTabOrder(headerPanel_->ApplyButton(), reportView_);
  QWidget::setTabOrder(reportView_, findField_);
}

QWidget* MainWindow::CreateFindBar(QWidget* parent) {
  auto* bar = new QWidget(parent);
  auto* row = new QHBoxLayout(bar);
  row->setContentsMargins(0, 0, 0, 0);
  auto* label = new QLabel(QStringLiteral("Fi&nd:"), bar);
  findField_ = new QLineEdit(bar);
  findField_->setClearButtonEnabled(true);
  label->setBuddy(findField_);
  row->addWidget(label);
  row->addWidget(findField_, 1);
  auto* previous = new QToolButton(bar);
  previous->setText(QStringLiteral("&Previous"));
  auto* next = new QToolButton(bar);
  next->setText(QStringLiteral("Ne&xt"));
  auto* close = new QToolButton(bar);
  close->setText(QStringLiteral("Close"));
  close->setToolTip(QStringLiteral("Closes the find bar (Escape)"));
  row->addWidget(previous);
  row->addWidget(next);
  row->addWidget(close);
  connect(findField_, &QLineEdit::textChanged, this, [this] { FindNext(false); });
  connect(findField_, &QLineEdit::returnPressed, this, [this] { FindNext(false); });
  connect(next, &QToolButton::clicked, this, [this] { FindNext(false); });
  connect(previous, &QToolButton::clicked, this, [this] { FindNext(true); });
  auto end = [this] {
    reportView_->findText(QString());
    findBar_->hide();
    reportView_->setFocus();
  };
  connect(close, &QToolButton::clicked, this, end);
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), bar, end);
  escape->setContext(Qt::WidgetWithChildrenShortcut);
  return bar;
}

void MainWindow::StartFinding() {
  findBar_->show();
  findField_->setFocus();
  findField_->selectAll();
}

// The page marks every match and scrolls to the next; the status line
// says when there is none.
void MainWindow::FindNext(bool backward) {
  const QString text = findField_->text();
  QWebEnginePage::FindFlags flags;
  if (backward) flags |= QWebEnginePage::FindBackward;
  reportView_->findText(text, flags, [this, text](const QWebEngineFindTextResult& result) {
    if (!text.isEmpty() && result.numberOfMatches() == 0) {
      statusBar()->showMessage(QStringLiteral("Not found: %1").arg(text), kNoteMilliseconds);
    }
  });
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

  // The window's own: nothing for the main routine to decide.
  QMenu* view = AddMenu(QStringLiteral("&View"), kMenuView);
  panelToggle_ = view->addAction(QStringLiteral("Header &panel"));
  panelToggle_->setData(int(kMenuHeaderPanel));
  panelToggle_->setCheckable(true);
  panelToggle_->setChecked(true);
  panelToggle_->setShortcut(QKeySequence(Qt::Key_F9));
  panelToggle_->setShortcutContext(Qt::ApplicationShortcut);
  connect(panelToggle_, &QAction::toggled, this, [this] { UpdatePanelVisibility(); });
  QAction* back = view->addAction(QStringLiteral("&Back"));
  back->setData(int(kMenuBack));
  back->setShortcut(QKeySequence::Back);
  back->setShortcutContext(Qt::ApplicationShortcut);
  connect(back, &QAction::triggered, reportView_, &QWebEngineView::back);
  QAction* find = view->addAction(QStringLiteral("&Find in page\u2026"));
  find->setData(int(kMenuFind));
  find->setShortcut(QKeySequence::Find);
  find->setShortcutContext(Qt::ApplicationShortcut);
  connect(find, &QAction::triggered, this, &MainWindow::StartFinding);

  QMenu* max = AddMenu(QStringLiteral("&Max"), kMenuMax);
  AddItem(max, QStringLiteral("Set BlitzMax &ROOT folder"), kMenuRootFolder);
  AddItem(max, QStringLiteral("Launch &BlitzMax"), kMenuLaunchIde);
  AddItem(max, QStringLiteral("View &Module details"), kMenuModuleDetails);

  QMenu* help = AddMenu(QStringLiteral("&Help"), kMenuHelp);
  QAction* contents = AddItem(help, QStringLiteral("&Contents"), kMenuContents);
  contents->setShortcut(QKeySequence(Qt::Key_F1));
  // F1 works wherever the focus is, the report view included.
  contents->setShortcutContext(Qt::ApplicationShortcut);
  AddItem(help, QStringLiteral("&About"), kMenuAbout);
}

void MainWindow::ShowHeaderPanel(const HeaderPanelContent& content) {
  headerPanel_->Show(content);
  panelHasContent_ = true;
  UpdatePanelVisibility();
}

void MainWindow::HideHeaderPanel() {
  panelHasContent_ = false;
  UpdatePanelVisibility();
}

void MainWindow::UpdatePanelVisibility() {
  const bool shown = panelHasContent_ && panelToggle_->isChecked();
  if (!shown && headerPanel_->isVisible()) keptSizes_ = splitter_->sizes();
  headerPanel_->setVisible(shown);
  if (!shown || panelSized_) return;
  panelSized_ = true;
  if (keptSizes_.size() == 2) {
    splitter_->setSizes(keptSizes_);
    return;
  }
  const int width = splitter_->width();
  const int panel = width * 2 / 5;
  splitter_->setSizes({width - panel, panel});
}

QByteArray MainWindow::SaveLayoutState() const {
  QByteArray state;
  QDataStream out(&state, QIODevice::WriteOnly);
  // Sizes the user has not yet seen stay as they were kept.
  QList<int> sizes = headerPanel_->isVisible() ? splitter_->sizes() : keptSizes_;
  out << kLayoutStateVersion << panelToggle_->isChecked() << sizes;
  return state;
}

void MainWindow::RestoreLayoutState(const QByteArray& state) {
  QDataStream in(state);
  quint32 version = 0;
  bool panelWanted = true;
  QList<int> sizes;
  in >> version >> panelWanted >> sizes;
  if (in.status() != QDataStream::Ok || version != kLayoutStateVersion) return;
  panelToggle_->setChecked(panelWanted);
  if (sizes.size() == 2 && sizes[0] > 0 && sizes[1] > 0) keptSizes_ = sizes;
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
