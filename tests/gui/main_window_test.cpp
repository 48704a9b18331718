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
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <QtTest>
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
  void resizingKeepsTheMargins();
  void missingHelpPageIsNamedInAnInformationBox();
  void dialogsChooseTheRootAndTheSource();
  void droppedFilesAndEventsDuringABoxWaitInTheQueue();
  void reportPicturesAreReadable();
  void terminationSignalEndsTheProgramNormally();
  void versionAndAMissingDisplayAreSaidWithoutAWindow();
  void sourceLinksOpenOutsideAndReloadExaminesAgain();
  void recentProgramsAreListedInTheFileMenu();
  void theWindowKeepsItsSizeAndPlace();
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

void MainWindowTest::PressOk(QWidget* modal) {
  if (auto* box = qobject_cast<QMessageBox*>(modal))
    box->button(QMessageBox::Ok)->click();
}

void MainWindowTest::AnswerEditWith(QDialogButtonBox::StandardButton button,
                                    QString* shown) {
  AnswerModals([button, shown](QWidget* modal) {
    if (qobject_cast<QMessageBox*>(modal)) return PressOk(modal);
    *shown = modal->findChild<QPlainTextEdit*>()->toPlainText();
    modal->findChild<QDialogButtonBox*>()->button(button)->click();
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
  for (int i = 0; top && i < top->childCount(); ++i) lines << top->child(i)->text(0);
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
      RunScript(QStringLiteral("location.href + ' ' + document.readyState")).toString(),
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

  QRect desktop = QGuiApplication::primaryScreen()->geometry();
  QCOMPARE(window->frameGeometry().size(), QSize(660, 460));
  QCOMPARE(window->frameGeometry().topLeft(),
           desktop.topLeft() +
               QPoint((desktop.width() - 660) / 2, (desktop.height() - 460) / 2));

  QVERIFY(state_->Catalogue.ModList.size() > 0);
  QCOMPARE(window->StatusLabel()->text(),
           QStringLiteral("Modules scanned: %1   Commands found: %2")
               .arg(state_->Catalogue.ModList.size())
               .arg(state_->Catalogue.CommandCount));

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
      {{"&Max", kMenuMax},
       {{"Set BlitzMax &ROOT folder", kMenuRootFolder},
        {"Launch &BlitzMax", kMenuLaunchIde},
        {"View Module details", kMenuModuleDetails}}},
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
      QCOMPARE(items[j]->shortcut(), tag == kMenuContents    ? QKeySequence(Qt::Key_F1)
                                     : tag == kMenuExamine   ? QKeySequence(QKeySequence::Open)
                                     : tag == kMenuReexamine ? QKeySequence(Qt::Key_F5)
                                     : tag == kMenuExit      ? QKeySequence(Qt::CTRL | Qt::Key_Q)
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

  const QString screenshot = qEnvironmentVariable("VELTRANE_SCREENSHOT");
  if (!screenshot.isEmpty()) {
    Window()->resize(1280, 800);
    // Room for the panel's reasons beside a page at its natural width.
    Window()->ReportSplitter()->setSizes({660, 600});
    HandleEvent(*state_, DropEvent(ToText(ExampleProgram())));
    WaitForPage(AppFile("results.htm"));
    QTRY_COMPARE_WITH_TIMEOUT(PageTextAreas(), written, kPatience);
    Window()->ReportView()->page()->runJavaScript(
        QStringLiteral("window.scrollTo(0, 172)"));
    QTest::qWait(1500);  // let the compositor paint the page once more
    QVERIFY(Window()->grab().save(screenshot));
  }
}

void MainWindowTest::twoArgumentsKeepTheHelpPage() {
  PrepareApplicationFolder(true, ExampleRoot());
  Start({ExampleProgram(), ExampleProgram()});
  WaitForPage(AppFile("index.htm"));
  QVERIFY(!QFile::exists(AppFile("results.htm")));
  QVERIFY(boxTexts_.isEmpty());
}

void MainWindowTest::resizingKeepsTheMargins() {
  PrepareApplicationFolder(true, ExampleRoot());
  Start({});
  MainWindow* window = Window();
  QWidget* client = window->Client();
  QRect label = window->ReportLabel()->geometry();
  auto* separator = client->findChild<QGroupBox*>();
  QVERIFY(separator);

  auto expectMargins = [&] {
    const int cw = client->width(), ch = client->height();
    QCOMPARE(window->ReportSplitter()->geometry(), QRect(8, 40, cw - 16, ch - 48));
    QCOMPARE(window->ReportView()->size(), window->ReportSplitter()->size());
    QCOMPARE(window->ReportLabel()->geometry(), label);
    QCOMPARE(separator->geometry(), QRect(-2, -6, cw + 2, 8));
  };
  QCOMPARE(label, QRect(10, 20, client->width() - 40, 20));
  expectMargins();

  window->resize(900, 700);
  QTRY_COMPARE(window->size(), QSize(900, 700));
  expectMargins();

  window->resize(100, 100);  // below the minimum
  QTRY_COMPARE(window->frameGeometry().size(), QSize(260, 180));
  expectMargins();
}

void MainWindowTest::missingHelpPageIsNamedInAnInformationBox() {
  PrepareApplicationFolder(false, ExampleRoot());
  QString caption;
  bool onTop = false, modal = false, information = false;
  QList<QAbstractButton*> buttons;
  AnswerModals([&](QWidget* widget) {
    auto* box = qobject_cast<QMessageBox*>(widget);
    if (!box) return;
    caption = box->windowTitle();
    onTop = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    modal = box->isModal();
    information = box->icon() == QMessageBox::Information;
    buttons = box->buttons();
    PressOk(box);
  });
  Start({});
  const QString message = "HTML file error. Unable to view:\n" + AppFile("index.htm");
  QCOMPARE(boxTexts_, QStringList{message});
  QCOMPARE(caption, QStringLiteral("Veltrane"));
  QVERIFY(onTop);
  QVERIFY(modal);
  QVERIFY(information);
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
           QStringLiteral("Modules scanned: %1   Commands found: %2")
               .arg(state_->Catalogue.ModList.size())
               .arg(state_->Catalogue.CommandCount));

  answerWith(ExampleProgram());
  HandleEvent(*state_, MenuEvent(kMenuExamine));
  QCOMPARE(titles.last(), QStringLiteral("Select BMX source file ..."));
  QVERIFY2(filter.contains(QStringLiteral("(*.bmx)")), qPrintable(filter));
  WaitForPage(AppFile("results.htm"));
  QCOMPARE(boxTexts_.size(), 1);
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
    shownDuringBox = Window()->ReportView()->url();
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
  ReportPage page([&](Event event) { posted.push_back(event); }, nullptr,
                  [&](const QUrl& url) { opened.push_back(url); });
  const QUrl source = QUrl::fromLocalFile(QStringLiteral("/home/me/game.bmx"));
  QVERIFY(!page.acceptNavigationRequest(source, QWebEnginePage::NavigationTypeLinkClicked, true));
  QCOMPARE(opened, QList<QUrl>{source});
  const QUrl report = QUrl::fromLocalFile(QStringLiteral("/home/me/results.htm"));
  QVERIFY(page.acceptNavigationRequest(report, QWebEnginePage::NavigationTypeLinkClicked, true));
  QVERIFY(!page.acceptNavigationRequest(report, QWebEnginePage::NavigationTypeReload, true));
  QCOMPARE(posted.size(), size_t(1));
  QCOMPARE(posted[0].kind, EventKind::Menu);
  QCOMPARE(posted[0].tag, int(kMenuReexamine));
  QCOMPARE(opened.size(), 1);
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
  PrepareApplicationFolder(true, QString());
  Start({});
  Window()->resize(700, 520);
  QTRY_COMPARE(Window()->size(), QSize(700, 520));
  ShutDown(*state_);
  QVERIFY(QFile::exists(AppFile("window.ini")));
  Start({});
  QCOMPARE(Window()->size(), QSize(700, 520));
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
#if defined(Q_OS_LINUX)
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
