// The desktop program's window, driven offscreen through the main routine.

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QImage>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QHeaderView>
#include <QScrollBar>
#include <QTreeWidget>
#include <QScreen>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextLayout>
#include <QMainWindow>
#include <QTimer>
#include <QUrl>
#include <QtTest>
#include <cmath>
#include <csignal>
#include <functional>

#include "base/version.h"
#include "app/app_state.h"
#include "app/main_routine.h"
#include "catalogue/module_records.h"
#include "platform/menu_tags.h"
#include "platform/qt/qt_screen.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/report_page.h"

namespace vt {

namespace {

constexpr int kPatience = 90000;  // WebEngine starts slowly on small machines

const QString kSourceFolder = QStringLiteral(VELTRANE_SOURCE_DIR);

QString ExampleRoot() { return kSourceFolder + QStringLiteral("/examples/BlitzMax"); }
QString ExampleProgram() {
  return kSourceFolder + QStringLiteral("/examples/game/game.bmx");
}

QByteArray Contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool CopyFile(const QString& from, const QString& to) {
  QDir().mkpath(QFileInfo(to).path());
  return QFile::copy(from, to);
}

// The text areas of a written report, as the page holds them: the first line
// break after the opening tag belongs to the markup.
QStringList TextAreasOfFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  QString page = QString::fromLatin1(file.readAll())
                     .replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  QStringList areas;
  QRegularExpression area(QStringLiteral("<textarea[^>]*>\\n?(.*?)</textarea>"),
                          QRegularExpression::DotMatchesEverythingOption);
  for (auto it = area.globalMatch(page); it.hasNext();) areas << it.next().captured(1);
  return areas;
}

// The size the main window has when it is first shown.
class FirstShownSize : public QObject {
 public:
  QSize size;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* window = qobject_cast<QMainWindow*>(watched);
    if (window && event->type() == QEvent::Show && !size.isValid()) size = window->size();
    return false;
  }
};

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();
  void cleanup();

  void helpPageAtStartUpInACentredWindowWithItsMenu();
  void oneArgumentShowsItsReport();
  void twoArgumentsKeepTheHelpPage();
  void fitsAt800x600WithNothingClipped();
  void missingHelpPageIsNamedInAnInformationBox();
  void dialogsChooseTheRootAndTheSource();
  void theFirstStartOffersToChooseTheFolder();
  void droppedFilesAndEventsDuringABoxWaitInTheQueue();
  void reportPicturesAreReadable();
  void terminationSignalEndsTheProgramNormally();
  void versionAndAMissingDisplayAreSaidWithoutAWindow();
  void sourceLinksOpenOutsideAndReloadExaminesAgain();
  void recentProgramsAreListedInTheFileMenu();
  void theWindowKeepsItsSizeAndPlace();
  void theKeyboardReachesAndCopiesEverything();
  void anotherProgramStartsAtTheTopOfItsReport();
  void aRecentProgramThatIsGoneLeavesTheList();
  void checkColoursReadOnLightAndDarkPalettes();
  void headerPanelCopiesSwitchesBlocksAndAppliesOnlyWhenConfirmed();
  void applyIsRefusedWhenAnIncludeIsMissing();

 private:
  void PrepareApplicationFolder(bool withHelpPage, const QString& root);
  void Start(const QStringList& arguments);
  void HandleQueuedEvents();
  void WaitForPage(const QString& path);
  QStringList PageTextAreas();
  QVariant RunScript(const QString& script);
  // Calls `answer` for each modal box or dialog that opens from now on.
  void AnswerModals(std::function<void(QWidget*)> answer);
  static void PressOk(QWidget* modal);
  // Answers the edit's confirmation with `button`, keeping the diff it showed
  // in `shown`; presses OK on message boxes.
  void AnswerEditWith(QDialogButtonBox::StandardButton button, QString* shown);
  // A copy of the example game in `folder`; its main file.
  static QString CopyOfGame(const QTemporaryDir& folder);
  QStringList PanelLines(int box);
  QStringList CheckStates();

  MainWindow* Window() { return screen_->Window(); }
  QString AppFile(const QString& name) const { return app_->path() + "/" + name; }

  std::unique_ptr<QtScreen> screen_;
  // The run on the real window, one for each test.
  std::unique_ptr<AppState> state_;
  std::unique_ptr<QTemporaryDir> app_;
  QTimer modalWatcher_;
  std::function<void(QWidget*)> answer_;
  QStringList boxTexts_;
  QString writeButtonText_;
  bool diffColoured_ = false;
};

void MainWindowTest::initTestCase() {
  screen_ = std::make_unique<QtScreen>();
  modalWatcher_.setInterval(50);
  connect(&modalWatcher_, &QTimer::timeout, this, [this] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible() || !answer_) return;
    if (auto* box = qobject_cast<QMessageBox*>(modal)) boxTexts_ << box->text();
    answer_(modal);
  });
}

void MainWindowTest::init() {
  app_ = std::make_unique<QTemporaryDir>();
  state_ = std::make_unique<AppState>(*screen_, ToText(app_->path()));
  boxTexts_.clear();
  AnswerModals(PressOk);
}

void MainWindowTest::cleanup() {
  AnswerModals(nullptr);
  ShutDown(*state_);
  while (!screen_->Events().Empty()) screen_->WaitEvent();
  QVERIFY(!screen_->HasWindow());
}

void MainWindowTest::AnswerModals(std::function<void(QWidget*)> answer) {
  answer_ = std::move(answer);
  if (answer_)
    modalWatcher_.start();
  else
    modalWatcher_.stop();
}

// OK where the box has one, else its Close: a user who only reads.
void MainWindowTest::PressOk(QWidget* modal) {
  auto* box = qobject_cast<QMessageBox*>(modal);
  if (!box) return;
  QAbstractButton* button = box->button(QMessageBox::Ok);
  if (!button) button = box->button(QMessageBox::Close);
  if (button) button->click();
}

void MainWindowTest::AnswerEditWith(QDialogButtonBox::StandardButton button,
                                    QString* shown) {
  AnswerModals([this, button, shown](QWidget* modal) {
    if (qobject_cast<QMessageBox*>(modal)) return PressOk(modal);
    auto* diff = modal->findChild<QPlainTextEdit*>();
    *shown = diff->toPlainText();
    // Added and removed lines have colours of their own.
    for (QTextBlock block = diff->document()->begin(); block.isValid(); block = block.next()) {
      const bool changed = block.text().startsWith('+') || block.text().startsWith('-');
      if (changed) diffColoured_ = diffColoured_ || !block.layout()->formats().isEmpty();
    }
    auto* buttons = modal->findChild<QDialogButtonBox*>();
    writeButtonText_ = buttons->button(QDialogButtonBox::Ok)->text();
    buttons->button(button)->click();
  });
}

QString MainWindowTest::CopyOfGame(const QTemporaryDir& folder) {
  const QString game = kSourceFolder + QStringLiteral("/examples/game/");
  for (const char* file : {"game.bmx", "MathUtil.bmx", "inc/player.bmx", "inc/shots.bmx"}) {
    if (!CopyFile(game + file, folder.filePath(file))) return QString();
  }
  return folder.filePath(QStringLiteral("game.bmx"));
}

QStringList MainWindowTest::PanelLines(int box) {
  QTreeWidgetItem* top = Window()->HeaderPanel()->Boxes()->topLevelItem(box);
  QStringList lines;
  for (int i = 0; top && i < top->childCount(); ++i) {
    // What differs is no line of the box.
    if (top->child(i)->childCount() == 0) lines << top->child(i)->text(0);
  }
  return lines;
}

QStringList MainWindowTest::CheckStates() {
  QStringList states;
  for (QLabel* label : Window()->HeaderPanel()->Boxes()->findChildren<QLabel*>()) {
    if (label->accessibleName().startsWith(QStringLiteral("check: ")))
      states << label->accessibleName().mid(7);
  }
  return states;
}

void MainWindowTest::PrepareApplicationFolder(bool withHelpPage, const QString& root) {
  const QString resources = kSourceFolder + QStringLiteral("/resources/");
  if (withHelpPage) QVERIFY(CopyFile(resources + "index.htm", AppFile("index.htm")));
  for (const char* picture : {"bkg.gif", "fwtype.gif", "codebox.gif"}) {
    QVERIFY(CopyFile(resources + "htmldata/" + picture, AppFile("htmldata/") + picture));
  }
  QFile ini(AppFile("vt.ini"));
  QVERIFY(ini.open(QIODevice::WriteOnly));
  ini.write(root.toLatin1() + "\r\n");
}

void MainWindowTest::Start(const QStringList& arguments) {
  std::vector<Text> given;
  for (const QString& argument : arguments) given.push_back(ToText(argument));
  StartUp(*state_, given, ToText(app_->path()));
  QVERIFY(Window());
}

void MainWindowTest::HandleQueuedEvents() {
  while (!screen_->Events().Empty()) HandleEvent(*state_, screen_->WaitEvent());
}

// The page must be the one asked for and have finished loading. Asked of the
// page itself, so that a load that finished before the wait counts too.
void MainWindowTest::WaitForPage(const QString& path) {
  const QString expected =
      QUrl::fromLocalFile(path).toString() + QStringLiteral(" complete");
  QTRY_COMPARE_WITH_TIMEOUT(
      RunScript(QStringLiteral("location.href.split('?')[0] + ' ' + document.readyState"))
          .toString(),
      expected, kPatience);
}

QVariant MainWindowTest::RunScript(const QString& script) {
  QVariant result;
  bool done = false;
  Window()->ReportView()->page()->runJavaScript(script, [&](const QVariant& value) {
    result = value;
    done = true;
  });
  [&] { QTRY_VERIFY_WITH_TIMEOUT(done, kPatience); }();
  return result;
}

QStringList MainWindowTest::PageTextAreas() {
  return RunScript(QStringLiteral("Array.from(document.getElementsByTagName('textarea'))"
                                  ".map(function (t) { return t.value; })"))
      .toStringList();
}

void MainWindowTest::helpPageAtStartUpInACentredWindowWithItsMenu() {
  PrepareApplicationFolder(true, ExampleRoot());
  Start({});
  WaitForPage(AppFile("index.htm"));
  MainWindow* window = Window();
  QCOMPARE(window->windowTitle(), QStringLiteral("Veltrane v2.09"));
  QCOMPARE(window->ReportView()->title(), QStringLiteral("Veltrane - Help"));

  // Room for the report and the panel, within the screen, centred on it.
  QRect desktop = QGuiApplication::primaryScreen()->availableGeometry();
  QCOMPARE(window->size(), QSize(std::min(1100, desktop.width() * 9 / 10),
                                 std::min(700, desktop.height() * 9 / 10)));
  QVERIFY(desktop.contains(window->geometry()));
  QVERIFY(qAbs(window->geometry().center().x() - desktop.center().x()) <= 2);

  QVERIFY(state_->Catalogue.ModList.size() > 0);
  QCOMPARE(window->StatusLabel()->text(),
           QStringLiteral("Modules scanned: %1   Commands found: %2   Root: %3")
               .arg(state_->Catalogue.ModList.size())
               .arg(state_->Catalogue.CommandCount)
               .arg(ExampleRoot()));

  struct Item {
    QString text;
    int tag;
  };
  const QList<QPair<Item, QList<Item>>> tree = {
      {{"&File", kMenuFile},
       {{"&Examine *.bmx source", kMenuExamine},
        {"Examine &again", kMenuReexamine},
        {"", 0},
        {"E&xit", kMenuExit}}},
      {{"&View", kMenuView},
       {{"Header &panel", kMenuHeaderPanel},
        {"&Back", kMenuBack},
        {"&Find in page\u2026", kMenuFind}}},
      {{"&Max", kMenuMax},
       {{"Set BlitzMax &ROOT folder", kMenuRootFolder},
        {"Launch &BlitzMax", kMenuLaunchIde},
        {"View &Module details", kMenuModuleDetails}}},
      {{"&Help", kMenuHelp}, {{"&Contents", kMenuContents}, {"&About", kMenuAbout}}}};
  const QList<QAction*> titles = window->menuBar()->actions();
  QCOMPARE(titles.size(), tree.size());
  for (qsizetype i = 0; i < tree.size(); ++i) {
    QCOMPARE(titles[i]->text(), tree[i].first.text);
    QCOMPARE(titles[i]->data().toInt(), tree[i].first.tag);
    const QList<QAction*> items = titles[i]->menu()->actions();
    QCOMPARE(items.size(), tree[i].second.size());
    for (qsizetype j = 0; j < items.size(); ++j) {
      QCOMPARE(items[j]->text(), tree[i].second[j].text);
      QCOMPARE(items[j]->isSeparator(), tree[i].second[j].text.isEmpty());
      if (!items[j]->isSeparator())
        QCOMPARE(items[j]->data().toInt(), tree[i].second[j].tag);
      const int tag = tree[i].second[j].tag;
      QCOMPARE(items[j]->shortcut(), tag == kMenuContents      ? QKeySequence(Qt::Key_F1)
                                     : tag == kMenuExamine     ? QKeySequence(QKeySequence::Open)
                                     : tag == kMenuReexamine   ? QKeySequence(Qt::Key_F5)
                                     : tag == kMenuExit        ? QKeySequence(Qt::CTRL | Qt::Key_Q)
                                     : tag == kMenuHeaderPanel ? QKeySequence(Qt::Key_F9)
                                     : tag == kMenuBack        ? QKeySequence(QKeySequence::Back)
                                     : tag == kMenuFind        ? QKeySequence(QKeySequence::Find)
                                                               : QKeySequence());
    }
  }

  // Choosing an item only queues its tag; Exit's event then ends the loop.
  titles[0]->menu()->actions()[3]->trigger();
  QCOMPARE(screen_->Events().Size(), size_t(1));
  QVERIFY(!HandleEvent(*state_, screen_->WaitEvent()));
  // So does the close box, which leaves the window to the loop.
  QVERIFY(!window->close());
  QVERIFY(window->isVisible());
  QVERIFY(!HandleEvent(*state_, screen_->WaitEvent()));
}

void MainWindowTest::oneArgumentShowsItsReport() {
  QVERIFY(QFile::exists(ExampleProgram()));
  PrepareApplicationFolder(true, ExampleRoot());
  Start({ExampleProgram()});
  WaitForPage(AppFile("results.htm"));
  QCOMPARE(Window()->ReportLabel()->text(), QStringLiteral("HTML Report:"));
  QVERIFY(Window()->ReportView()->isVisible());

  const QStringList written = TextAreasOfFile(AppFile("results.htm"));
  const QStringList shown = PageTextAreas();
  QVERIFY(!written.isEmpty());
  QCOMPARE(shown, written);
  QVERIFY2(shown.first().startsWith(QStringLiteral("Framework BRL.")),
           qPrintable(shown.first()));
  QVERIFY(shown.first().contains(QStringLiteral("\nImport BRL.")));
  QVERIFY(shown.first().contains(QStringLiteral("\nSetGraphicsDriver ")));

  // The module page, in a file of its own, replaces the report on screen.
  HandleEvent(*state_, MenuEvent(kMenuModuleDetails));
  QTRY_VERIFY_WITH_TIMEOUT(
      PageTextAreas().size() == 2 * qsizetype(state_->Catalogue.ModList.size()), kPatience);
  // Ctrl+F finds on it; Alt+Left goes back to the report.
  Window()->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(Window()));
  QTest::keySequence(Window(), QKeySequence::Find);
  QVERIFY(Window()->FindField()->isVisible());
  QVERIFY(Window()->FindField()->hasFocus());
  QTest::keyClick(Window()->FindField(), Qt::Key_Escape);
  QVERIFY(!Window()->FindField()->isVisible());
  QTest::keySequence(Window(), QKeySequence::Back);
  WaitForPage(AppFile("results.htm"));
}

void MainWindowTest::twoArgumentsKeepTheHelpPage() {
  PrepareApplicationFolder(true, ExampleRoot());
  Start({ExampleProgram(), ExampleProgram()});
  WaitForPage(AppFile("index.htm"));
  QVERIFY(!QFile::exists(AppFile("results.htm")));
  QVERIFY(boxTexts_.isEmpty());
}

// At 800x600, and at the smallest size allowed, the panel shows every Copy
// button and check state whole, fits its columns into its width (the reasons
// elided, no scroll bar across) and nothing of the window lies outside it.
void MainWindowTest::fitsAt800x600WithNothingClipped() {
  QTemporaryDir work;
  const QString program = CopyOfGame(work);
  PrepareApplicationFolder(true, ExampleRoot());
  Start({program});
  MainWindow* window = Window();
  HeaderPanelView* panel = window->HeaderPanel();
  QVERIFY(panel->isVisible());
  for (QSize size : {QSize(800, 600), QSize(1280, 800), window->minimumSize()}) {
    window->resize(size);
    QTRY_COMPARE(window->size(), size);
    QTest::qWait(100);
    QTreeWidget* boxes = panel->Boxes();
    const QRect inside = boxes->viewport()->rect();
    QVERIFY(!boxes->horizontalScrollBar()->isVisible());
    QVERIFY2(boxes->columnWidth(0) + boxes->columnWidth(1) <= inside.width(),
             qPrintable(QStringLiteral("%1 + %2 > %3 at %4x%5").arg(boxes->columnWidth(0))
                            .arg(boxes->columnWidth(1)).arg(inside.width())
                            .arg(size.width()).arg(size.height())));
    for (QWidget* shown : boxes->viewport()->findChildren<QWidget*>()) {
      const bool control = qobject_cast<QAbstractButton*>(shown) ||
                           shown->accessibleName().startsWith(QStringLiteral("check: "));
      if (!control || !shown->isVisible()) continue;
      const QRect at(shown->mapTo(boxes->viewport(), QPoint(0, 0)), shown->size());
      QVERIFY2(inside.contains(at) || !inside.intersects(at),
               qPrintable(QStringLiteral("%1 cut at %2x%3").arg(shown->objectName())
                              .arg(size.width()).arg(size.height())));
      QVERIFY(shown->width() >= shown->minimumSizeHint().width());
    }
    for (QWidget* part : {static_cast<QWidget*>(panel->ApplyButton()),
                          static_cast<QWidget*>(panel->BlockChoice()),
                          static_cast<QWidget*>(window->ReportView())}) {
      const QRect at(part->mapTo(window, QPoint(0, 0)), part->size());
      QVERIFY(window->rect().contains(at));
      QVERIFY(part->width() >= part->minimumSizeHint().width());
    }
  }
  const QString folder = qEnvironmentVariable("VELTRANE_SCREENSHOTS");
  if (folder.isEmpty()) return;
  for (QSize size : {QSize(800, 600), QSize(1280, 800)}) {
    window->resize(size);
    QTRY_COMPARE(window->size(), size);
    QTest::qWait(1500);  // let the compositor paint the page once more
    QVERIFY(window->grab().save(
        QStringLiteral("%1/window-%2x%3.png").arg(folder).arg(size.width()).arg(size.height())));
  }
}

void MainWindowTest::missingHelpPageIsNamedInAnInformationBox() {
  PrepareApplicationFolder(false, ExampleRoot());
  QString caption;
  bool onTop = false, modal = false, warning = false;
  QList<QAbstractButton*> buttons;
  AnswerModals([&](QWidget* widget) {
    auto* box = qobject_cast<QMessageBox*>(widget);
    if (!box) return;
    caption = box->windowTitle();
    onTop = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    modal = box->isModal();
    warning = box->icon() == QMessageBox::Warning;
    buttons = box->buttons();
    PressOk(box);
  });
  Start({});
  const QString message = "HTML file error. Unable to view:\n" + AppFile("index.htm");
  QCOMPARE(boxTexts_, QStringList{message});
  QCOMPARE(caption, QStringLiteral("Veltrane"));
  QVERIFY(onTop);
  QVERIFY(modal);
  QVERIFY(warning);
  QCOMPARE(buttons.size(), 1);

  // F1 works from the report view too.
  Window()->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(Window()));
  QTest::keyClick(Window()->ReportView(), Qt::Key_F1);
  QCOMPARE(screen_->Events().Size(), size_t(1));
  HandleQueuedEvents();
  QCOMPARE(boxTexts_, (QStringList{message, message}));
}

void MainWindowTest::dialogsChooseTheRootAndTheSource() {
  PrepareApplicationFolder(true, app_->path() + "/nowhere");
  Start({});
  QCOMPARE(boxTexts_.size(), 1);  // the start-up check
  QCOMPARE(Window()->StatusLabel()->text(),
           QStringLiteral("Modules scanned: 0   Commands found: 0"));

  QStringList titles;
  QString filter;
  auto answerWith = [&](const QString& path) {
    AnswerModals([&, path](QWidget* widget) {
      auto* dialog = qobject_cast<QFileDialog*>(widget);
      if (!dialog) return PressOk(widget);
      titles << dialog->windowTitle();
      if (dialog->fileMode() == QFileDialog::ExistingFile)
        filter = dialog->nameFilters().join(";");
      if (path.isEmpty()) return dialog->reject();
      if (dialog->fileMode() == QFileDialog::Directory) {
        dialog->setDirectory(path);
      } else {
        // Typed, as a user would: selectFile() leaves a focused name field be.
        dialog->setDirectory(QFileInfo(path).path());
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(name);
        name->setText(QFileInfo(path).fileName());
      }
      static_cast<QDialog*>(dialog)->accept();
    });
  };

  answerWith(QString());
  HandleEvent(*state_, MenuEvent(kMenuRootFolder));
  QCOMPARE(titles, QStringList{"Choose BlitzMax ROOT folder"});
  QCOMPARE(Window()->StatusLabel()->text(),
           QStringLiteral("Modules scanned: 0   Commands found: 0"));

  answerWith(ExampleRoot());
  HandleEvent(*state_, MenuEvent(kMenuRootFolder));
  QFile ini(AppFile("vt.ini"));
  QVERIFY(ini.open(QIODevice::ReadOnly));
  QCOMPARE(ini.readAll(), ExampleRoot().toLatin1() + "\r\n");
  QVERIFY(state_->Catalogue.ModList.size() > 0);
  QCOMPARE(Window()->StatusLabel()->text(),
           QStringLiteral("Modules scanned: %1   Commands found: %2   Root: %3")
               .arg(state_->Catalogue.ModList.size())
               .arg(state_->Catalogue.CommandCount)
               .arg(ExampleRoot()));

  answerWith(ExampleProgram());
  HandleEvent(*state_, MenuEvent(kMenuExamine));
  QCOMPARE(titles.last(), QStringLiteral("Select BMX source file ..."));
  QVERIFY2(filter.contains(QStringLiteral("(*.bmx)")), qPrintable(filter));
  WaitForPage(AppFile("results.htm"));
  QCOMPARE(boxTexts_.size(), 1);
  // The window says which program and which installation it shows.
  QCOMPARE(Window()->windowTitle(), QStringLiteral("game.bmx \u2014 Veltrane v2.09"));
  QVERIFY(Window()->StatusLabel()->text().endsWith(QStringLiteral("   Program: ") +
                                                   ExampleProgram()));
}

// At the first start without an installation, the message offers the
// folder dialog at once; the folder chosen there is the root from then on.
void MainWindowTest::theFirstStartOffersToChooseTheFolder() {
  PrepareApplicationFolder(true, app_->path() + "/nowhere");
  QStringList buttons;
  AnswerModals([&](QWidget* widget) {
    if (auto* box = qobject_cast<QMessageBox*>(widget)) {
      QVERIFY(box->icon() == QMessageBox::Warning);
      for (QAbstractButton* button : box->buttons()) buttons << button->text();
      for (QAbstractButton* button : box->buttons()) {
        if (box->buttonRole(button) == QMessageBox::AcceptRole) return button->click();
      }
    }
    if (auto* dialog = qobject_cast<QFileDialog*>(widget)) {
      dialog->setDirectory(ExampleRoot());
      static_cast<QDialog*>(dialog)->accept();
    }
  });
  Start({});
  QCOMPARE(boxTexts_.size(), 1);
  QVERIFY(buttons.contains(QStringLiteral("&Choose folder\u2026")));
  QVERIFY(state_->Catalogue.ModList.size() > 0);
  QCOMPARE(Contents(AppFile("vt.ini")), ExampleRoot().toLatin1() + "\r\n");
}

void MainWindowTest::droppedFilesAndEventsDuringABoxWaitInTheQueue() {
  PrepareApplicationFolder(true, ExampleRoot());
  Start({});
  WaitForPage(AppFile("index.htm"));

  const QStringList files = {kSourceFolder + "/examples/game/inc/player.bmx",
                             kSourceFolder + "/examples/game/MathUtil.bmx",
                             ExampleProgram()};
  auto* mime = new QMimeData;
  QList<QUrl> urls;
  for (const QString& file : files) urls << QUrl::fromLocalFile(file);
  urls << QUrl(QStringLiteral("https://example.invalid/remote.bmx"));
  mime->setUrls(urls);
  // Over the report view, which must leave the drop to the window.
  const QPoint overView = Window()->ReportView()->mapTo(Window(), QPoint(100, 100));
  QDragEnterEvent enter(overView, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(Window()->windowHandle(), &enter);
  QVERIFY(enter.isAccepted());
  QDropEvent drop(overView, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(Window()->windowHandle(), &drop);
  QCOMPARE(screen_->Events().Size(), size_t(3));

  QStringList scanned;
  while (!screen_->Events().Empty()) {
    Event event = screen_->WaitEvent();
    QCOMPARE(event.kind, EventKind::Drop);
    scanned << ToQString(event.text);
    HandleEvent(*state_, event);
  }
  QCOMPARE(scanned, files);
  WaitForPage(AppFile("results.htm"));
  QVERIFY(PageTextAreas().first().startsWith(QStringLiteral("Framework ")));

  // While the About box waits for its OK, the user presses F1: the help page
  // must come only after the box has closed.
  QUrl shownDuringBox;
  size_t queuedDuringBox = 0;
  AnswerModals([&](QWidget* widget) {
    for (QAction* action : Window()->menuBar()->actions().last()->menu()->actions()) {
      if (action->data().toInt() == kMenuContents) action->trigger();
    }
    queuedDuringBox = screen_->Events().Size();
    shownDuringBox = Window()->ReportView()->url().adjusted(QUrl::RemoveQuery);
    PressOk(widget);
  });
  HandleEvent(*state_, MenuEvent(kMenuAbout));
  QVERIFY(boxTexts_.last().startsWith(QStringLiteral("Veltrane v2.09\n\n")));
  QCOMPARE(queuedDuringBox, size_t(1));
  QCOMPARE(shownDuringBox, QUrl::fromLocalFile(AppFile("results.htm")));
  HandleQueuedEvents();
  WaitForPage(AppFile("index.htm"));
}

void MainWindowTest::reportPicturesAreReadable() {
  for (const char* picture : {"bkg.gif", "fwtype.gif", "codebox.gif"}) {
    QImage image(kSourceFolder + "/resources/htmldata/" + picture);
    QVERIFY2(!image.isNull(), picture);
    QVERIFY(image.width() >= 8 && image.height() >= 8);
  }
}

// A kill from outside takes the way out through the loop, even while a box
// waits for its OK, so that the program ends as if closed.
void MainWindowTest::terminationSignalEndsTheProgramNormally() {
#if defined(Q_OS_LINUX)
  QProcess program;
  program.start(QStringLiteral(VELTRANE_PROGRAM), {});
  QVERIFY(program.waitForStarted());
  // Signal only once the program has its handler, or the signal would kill it.
  const QString status = QStringLiteral("/proc/%1/status").arg(program.processId());
  auto handlesTerm = [&] {
    QFile file(status);
    if (!file.open(QIODevice::ReadOnly)) return false;
    for (const QByteArray& line : file.readAll().split('\n')) {
      if (!line.startsWith("SigCgt:")) continue;
      const qulonglong caught = line.mid(7).trimmed().toULongLong(nullptr, 16);
      return ((caught >> (SIGTERM - 1)) & 1) != 0;
    }
    return false;
  };
  QTRY_VERIFY_WITH_TIMEOUT(handlesTerm(), kPatience);
  program.terminate();
  QVERIFY(program.waitForFinished(kPatience));
  QCOMPARE(program.exitStatus(), QProcess::NormalExit);
  QCOMPARE(program.exitCode(), 0);
  // The web engine's start-up chatter is not the user's business.
  const QString said = QString::fromUtf8(program.readAllStandardError());
  QVERIFY2(!said.contains(QStringLiteral("qt.webenginecontext")), qPrintable(said));
#else
  QSKIP("needs /proc to see when the program is ready");
#endif
}

// A click on a source file's link hands the file to the user's own program
// and leaves the report; a page link stays in the view; Reload asks for the
// program to be examined again.
void MainWindowTest::sourceLinksOpenOutsideAndReloadExaminesAgain() {
  std::vector<Event> posted;
  QList<QUrl> opened;
  QStringList notes;
  bool opens = true;
  ReportPage page(
      [&](Event event) { posted.push_back(event); }, nullptr,
      [&](const QUrl& url) {
        opened.push_back(url);
        return opens;
      },
      [&](const QString& note) { notes << note; });
  const QUrl source = QUrl::fromLocalFile(QStringLiteral("/home/me/game.bmx"));
  QVERIFY(!page.acceptNavigationRequest(source, QWebEnginePage::NavigationTypeLinkClicked, true));
  QCOMPARE(opened, QList<QUrl>{source});
  QVERIFY(notes.isEmpty());
  // Nothing on the system opens it: the user is told, not left guessing.
  opens = false;
  QVERIFY(!page.acceptNavigationRequest(source, QWebEnginePage::NavigationTypeLinkClicked, true));
  QCOMPARE(notes, QStringList{QStringLiteral("No program here opens /home/me/game.bmx")});
  opened.clear();
  const QUrl report = QUrl::fromLocalFile(QStringLiteral("/home/me/results.htm"));
  QVERIFY(page.acceptNavigationRequest(report, QWebEnginePage::NavigationTypeLinkClicked, true));
  QVERIFY(!page.acceptNavigationRequest(report, QWebEnginePage::NavigationTypeReload, true));
  QCOMPARE(posted.size(), size_t(1));
  QCOMPARE(posted[0].kind, EventKind::Menu);
  QCOMPARE(posted[0].tag, int(kMenuReexamine));
  QVERIFY(opened.isEmpty());
}

// The programs examined last come before Exit, numbered, each sending its
// tag; an ampersand of a path stays one.
void MainWindowTest::recentProgramsAreListedInTheFileMenu() {
  PrepareApplicationFolder(true, QString());
  Start({});
  QMenu* file = Window()->menuBar()->actions()[0]->menu();
  const qsizetype plain = file->actions().size();
  screen_->SetRecentPrograms({u"/w/a.bmx", u"/w/b&c.bmx"});
  const QList<QAction*> items = file->actions();
  QCOMPARE(items.size(), plain + 3);
  QCOMPARE(items[3]->text(), QStringLiteral("&1 /w/a.bmx"));
  QCOMPARE(items[4]->text(), QStringLiteral("&2 /w/b&&c.bmx"));
  QVERIFY(items.last()->text() == QStringLiteral("E&xit"));
  items[4]->trigger();
  const Event event = screen_->WaitEvent();
  QCOMPARE(event.tag, int(kMenuRecentProgram + 1));
  screen_->SetRecentPrograms({});
  QCOMPARE(file->actions().size(), plain);
}

// Closed and started again, the window comes back as the user left it.
void MainWindowTest::theWindowKeepsItsSizeAndPlace() {
  QTemporaryDir work;
  const QString program = CopyOfGame(work);
  PrepareApplicationFolder(true, ExampleRoot());
  Start({program});
  Window()->resize(900, 620);
  QTRY_COMPARE(Window()->size(), QSize(900, 620));
  Window()->ReportSplitter()->setSizes({600, 280});
  const QList<int> sizes = Window()->ReportSplitter()->sizes();
  ShutDown(*state_);
  QVERIFY(QFile::exists(AppFile("window.ini")));
  // Restored before it is shown: it never appears at another size.
  FirstShownSize shownAt;
  qApp->installEventFilter(&shownAt);
  Start({program});
  qApp->removeEventFilter(&shownAt);
  QCOMPARE(shownAt.size, QSize(900, 620));
  QCOMPARE(Window()->size(), QSize(900, 620));
  QCOMPARE(Window()->ReportSplitter()->sizes(), sizes);

  // Hidden with F9, the panel stays hidden for the next program and the
  // next run, until F9 again.
  Window()->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(Window()));
  QTest::keyClick(Window(), Qt::Key_F9);
  QVERIFY(!Window()->HeaderPanel()->isVisible());
  QVERIFY(!Window()->PanelToggle()->isChecked());
  HandleEvent(*state_, MenuEvent(kMenuReexamine));
  QVERIFY(!Window()->HeaderPanel()->isVisible());
  ShutDown(*state_);
  Start({program});
  QVERIFY(!Window()->HeaderPanel()->isVisible());
  Window()->PanelToggle()->trigger();
  QVERIFY(Window()->HeaderPanel()->isVisible());
}

// Every control of the panel is reached by Tab in the order it is read;
// Ctrl+C copies what is selected, or the whole box from its title row, and
// Ctrl+Shift+C the box the keyboard is in.
void MainWindowTest::theKeyboardReachesAndCopiesEverything() {
  QTemporaryDir work;
  const QString program = CopyOfGame(work);
  PrepareApplicationFolder(true, ExampleRoot());
  Start({program});
  HeaderPanelView* panel = Window()->HeaderPanel();
  Window()->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(Window()));
  panel->BlockChoice()->setEnabled(true);
  panel->BlockChoice()->setFocus();
  QList<QWidget*> reached;
  for (int i = 0; i < 5; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    reached << QApplication::focusWidget();
  }
  const QList<QWidget*> expected = {panel->Boxes(), panel->CopyButton(0), panel->CopyButton(1),
                                    panel->ApplyButton(), Window()->ReportView()->focusProxy()
                                                              ? Window()->ReportView()->focusProxy()
                                                              : Window()->ReportView()};
  QCOMPARE(reached, expected);

  const QStringList page = TextAreasOfFile(AppFile("results.htm"));
  QTreeWidget* boxes = panel->Boxes();
  QApplication::clipboard()->clear();
  boxes->setFocus();
  boxes->setCurrentItem(boxes->topLevelItem(1));
  QTest::keySequence(boxes, QKeySequence::Copy);
  HandleQueuedEvents();
  QCOMPARE(QApplication::clipboard()->text(), page[1]);

  QTreeWidgetItem* first = boxes->topLevelItem(0);
  boxes->clearSelection();
  boxes->setCurrentItem(first->child(1));
  first->child(0)->setSelected(true);
  first->child(1)->setSelected(true);
  QTest::keySequence(boxes, QKeySequence::Copy);
  QCOMPARE(QApplication::clipboard()->text(),
           first->child(0)->text(0) + '\n' + first->child(1)->text(0) + '\n');

  panel->CopyButton(0)->setFocus();
  QTest::keyClick(panel->CopyButton(0), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
  HandleQueuedEvents();
  QCOMPARE(QApplication::clipboard()->text(), page[0]);
}

// Another program's report starts at its top, not where the last one was
// left; the title names the program.
void MainWindowTest::anotherProgramStartsAtTheTopOfItsReport() {
  QTemporaryDir first, second;
  const QString one = CopyOfGame(first);
  const QString two = CopyOfGame(second);
  PrepareApplicationFolder(true, ExampleRoot());
  Start({one});
  WaitForPage(AppFile("results.htm"));
  Window()->resize(800, 600);
  RunScript(QStringLiteral("window.scrollTo(0, 400)"));
  QTRY_VERIFY_WITH_TIMEOUT(RunScript(QStringLiteral("window.scrollY")).toInt() > 0, kPatience);
  HandleEvent(*state_, DropEvent(ToText(two)));
  WaitForPage(AppFile("results.htm"));
  QTRY_COMPARE_WITH_TIMEOUT(RunScript(QStringLiteral("window.scrollY")).toInt(), 0, kPatience);
  QVERIFY(Window()->windowTitle().startsWith(QStringLiteral("game.bmx ")));
}

// A program on the recent list that is gone leaves the list, with a word
// why, instead of failing again each time.
void MainWindowTest::aRecentProgramThatIsGoneLeavesTheList() {
  QTemporaryDir work;
  const QString program = CopyOfGame(work);
  PrepareApplicationFolder(true, ExampleRoot());
  Start({program});
  QCOMPARE(state_->Examine.RecentPrograms.size(), size_t(1));
  QVERIFY(QFile::remove(program));
  QMenu* file = Window()->menuBar()->actions()[0]->menu();
  const qsizetype listed = file->actions().size();
  HandleEvent(*state_, MenuEvent(kMenuRecentProgram));
  QVERIFY(state_->Examine.RecentPrograms.empty());
  QCOMPARE(file->actions().size(), listed - 2);  // the item and its separator
  QVERIFY2(boxTexts_.last().contains(program), qPrintable(boxTexts_.last()));
  state_->Examine.RecentPrograms.clear();
  ShutDown(*state_);
  Start({});
  QVERIFY(state_->Examine.RecentPrograms.empty());
}

// The check states read on a light and on a dark palette: at least 4.5:1
// against the tree's base.
void MainWindowTest::checkColoursReadOnLightAndDarkPalettes() {
  auto luminance = [](const QColor& colour) {
    auto channel = [](double c) {
      return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) +
           0.0722 * channel(colour.blueF());
  };
  auto contrast = [&](const QColor& a, const QColor& b) {
    double x = luminance(a), y = luminance(b);
    return (std::max(x, y) + 0.05) / (std::min(x, y) + 0.05);
  };
  for (QColor base : {QColor(Qt::white), QColor(0xf0, 0xf0, 0xf0), QColor(0x2d, 0x2d, 0x2d),
                      QColor(0x1e, 0x1e, 0x1e), QColor(Qt::black)}) {
    QPalette palette;
    palette.setColor(QPalette::Base, base);
    for (HeaderCheckState state : {HeaderCheckState::Matches, HeaderCheckState::Differs,
                                   HeaderCheckState::Unreadable}) {
      const double ratio = contrast(HeaderPanelView::CheckStateColour(state, palette), base);
      QVERIFY2(ratio >= 4.5, qPrintable(QStringLiteral("%1 on %2: %3")
                                            .arg(int(state)).arg(base.name()).arg(ratio)));
    }
  }
}


// The version is the command line's; without a display the program says so
// rather than abort.
void MainWindowTest::versionAndAMissingDisplayAreSaidWithoutAWindow() {
  QProcess version;
  version.start(QStringLiteral(VELTRANE_PROGRAM), {QStringLiteral("--version")});
  QVERIFY(version.waitForFinished(kPatience));
  QCOMPARE(version.exitCode(), 0);
  QCOMPARE(QString::fromUtf8(version.readAllStandardOutput()),
           QStringLiteral("veltrane %1\n").arg(QLatin1String(kVersion)));
  QProcess help;
  help.start(QStringLiteral(VELTRANE_PROGRAM), {QStringLiteral("--help")});
  QVERIFY(help.waitForFinished(kPatience));
  QCOMPARE(help.exitCode(), 0);
  QVERIFY(QString::fromUtf8(help.readAllStandardOutput()).startsWith(QStringLiteral("Usage: veltrane")));
#if defined(Q_OS_LINUX)
  // A display that is named but not there: one plain line, exit 1, no abort.
  QProcess dead;
  QProcessEnvironment deadDisplay = QProcessEnvironment::systemEnvironment();
  deadDisplay.remove(QStringLiteral("QT_QPA_PLATFORM"));
  deadDisplay.remove(QStringLiteral("WAYLAND_DISPLAY"));
  deadDisplay.insert(QStringLiteral("DISPLAY"), QStringLiteral(":97"));
  dead.setProcessEnvironment(deadDisplay);
  dead.start(QStringLiteral(VELTRANE_PROGRAM), {});
  QVERIFY(dead.waitForFinished(kPatience));
  QCOMPARE(dead.exitStatus(), QProcess::NormalExit);
  QCOMPARE(dead.exitCode(), 1);
  const QString said = QString::fromUtf8(dead.readAllStandardError());
  QVERIFY2(said.contains(QStringLiteral("the display :97 cannot be reached")), qPrintable(said));

  QProcess headless;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    environment.remove(QLatin1String(name));
  }
  headless.setProcessEnvironment(environment);
  headless.start(QStringLiteral(VELTRANE_PROGRAM), {});
  QVERIFY(headless.waitForFinished(kPatience));
  QCOMPARE(headless.exitStatus(), QProcess::NormalExit);
  QCOMPARE(headless.exitCode(), 1);
  QVERIFY(QString::fromUtf8(headless.readAllStandardError()).contains(QStringLiteral("no display")));
#endif
}

// The panel shows the chosen block's boxes as the page does; Copy puts a
// box's lines on the clipboard; Apply writes only what the user agreed to.
void MainWindowTest::headerPanelCopiesSwitchesBlocksAndAppliesOnlyWhenConfirmed() {
  QTemporaryDir work;
  const QString program = CopyOfGame(work);
  QVERIFY(!program.isEmpty());
  PrepareApplicationFolder(true, ExampleRoot());
  Start({program});
  HeaderPanelView* panel = Window()->HeaderPanel();
  QVERIFY(panel->isVisible());
  const QStringList page = TextAreasOfFile(AppFile("results.htm"));
  QCOMPARE(page.size(), 4);  // two blocks of two boxes
  QCOMPARE(panel->BlockChoice()->count(), 2);
  QCOMPARE(panel->BlockChoice()->currentIndex(), 0);
  QCOMPARE(PanelLines(0).join('\n') + '\n', page[0]);
  QCOMPARE(CheckStates(), (QStringList{"differs", "differs"}));
  // Each box says what differs, as --check says it, under an item that
  // opens on request.
  QTreeWidgetItem* findings = panel->Findings(0);
  QVERIFY(findings);
  QVERIFY(!findings->isExpanded());
  QVERIFY(findings->childCount() > 0);
  for (int i = 0; i < findings->childCount(); ++i) {
    const QString finding = findings->child(i)->text(0);
    QVERIFY2(finding.startsWith(QStringLiteral("game.bmx:")), qPrintable(finding));
  }
  QCOMPARE(findings->child(0)->text(0),
           QStringLiteral("game.bmx:4: no Framework line: with Framework BRL.GLMax2D it could "
                          "drop 10 of the 28 modules it imports now"));
  QCOMPARE(findings->child(findings->childCount() - 1)->text(0),
           QStringLiteral("game.bmx:4: unneeded Import BRL.LinkedList"));
  QCOMPARE(panel->Findings(1)->child(0)->text(0),
           QStringLiteral("MathUtil.bmx:3: missing Import BRL.Retro (Right at MathUtil.bmx:23)"));

  panel->CopyButton(1)->click();
  HandleQueuedEvents();
  QCOMPARE(QApplication::clipboard()->text(), page[1]);

  panel->BlockChoice()->setCurrentIndex(1);
  HandleQueuedEvents();
  QCOMPARE(PanelLines(0).join('\n') + '\n', page[2]);
  panel->CopyButton(0)->click();
  HandleQueuedEvents();
  QCOMPARE(QApplication::clipboard()->text(), page[2]);

  const QByteArray before = Contents(program);
  QString diff;
  AnswerEditWith(QDialogButtonBox::Cancel, &diff);
  panel->ApplyButton()->click();
  HandleQueuedEvents();
  QVERIFY2(diff.contains(QStringLiteral("\n+Framework BRL.D3D7Max2D\n")), qPrintable(diff));
  QCOMPARE(writeButtonText_, QStringLiteral("&Write 2 files"));
  QVERIFY(diffColoured_);
  QCOMPARE(Contents(program), before);

  diff.clear();
  AnswerEditWith(QDialogButtonBox::Ok, &diff);
  panel->ApplyButton()->click();
  HandleQueuedEvents();
  QVERIFY(Contents(program).contains("Framework BRL.D3D7Max2D"));
  QCOMPARE(panel->BlockChoice()->currentIndex(), 1);
  QCOMPARE(CheckStates(), (QStringList{"matches", "matches"}));
  QVERIFY2(boxTexts_.last().startsWith(QStringLiteral("Wrote game.bmx")),
           qPrintable(boxTexts_.last()));

  // With nothing to change, nothing is asked.
  diff.clear();
  panel->ApplyButton()->click();
  HandleQueuedEvents();
  QVERIFY(diff.isEmpty());
  QCOMPARE(boxTexts_.last(), QStringLiteral("Every header matches; nothing to write."));
}

// As --write does, Apply judges no header while a file the program names
// could not be read: also when the file went missing after the examination.
void MainWindowTest::applyIsRefusedWhenAnIncludeIsMissing() {
  QTemporaryDir work;
  const QString program = CopyOfGame(work);
  PrepareApplicationFolder(true, ExampleRoot());
  Start({program});
  HeaderPanelView* panel = Window()->HeaderPanel();
  QVERIFY(!panel->Warnings()->isVisible());
  QVERIFY(QFile::remove(work.filePath(QStringLiteral("inc/player.bmx"))));
  const QByteArray before = Contents(program);
  QString diff;
  AnswerEditWith(QDialogButtonBox::Ok, &diff);
  panel->ApplyButton()->click();
  HandleQueuedEvents();
  QVERIFY(diff.isEmpty());
  QVERIFY(boxTexts_.last().startsWith(QStringLiteral("Apply refused")));
  QVERIFY2(panel->Warnings()->text().contains(QStringLiteral("Include file not found")),
           qPrintable(panel->Warnings()->text()));
  QVERIFY(boxTexts_.last().contains(panel->Warnings()->text()));
  QCOMPARE(Contents(program), before);
}

}  // namespace vt

int main(int argc, char** argv) {
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication application(argc, argv);
  vt::MainWindowTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "main_window_test.moc"
