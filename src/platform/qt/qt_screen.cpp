#include "platform/qt/qt_screen.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QUrl>

#include "platform/qt/dialogs.h"
#include "platform/qt/qt_text.h"

namespace vt {

namespace {

// The platform's request to end the program (the application menu's Quit,
// the session ending) becomes an event for the loop instead of ending the
// program behind its back.
class QuitWatcher : public QObject {
 public:
  explicit QuitWatcher(QtScreen* screen) : screen_(screen) {
    qApp->installEventFilter(this);
  }
  ~QuitWatcher() override {
    if (qApp) qApp->removeEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* target, QEvent* event) override {
    if (target != qApp || event->type() != QEvent::Quit) return false;
    // Refused here (on macOS the platform would end the process at once),
    // granted by the loop.
    event->ignore();
    screen_->Post(TerminateEvent());
    return true;
  }

 private:
  QtScreen* screen_;
};

}  // namespace

QtScreen::QtScreen()
    : applicationTitle_(QStringLiteral("Veltrane")),
      quitWatcher_(std::make_unique<QuitWatcher>(this)) {}

QtScreen::~QtScreen() = default;

QWidget* QtScreen::Owner() const {
  if (QWidget* active = QApplication::activeWindow()) return active;
  return window_.get();
}

void QtScreen::InformationBox(const Text& text) {
  if (ending_) return;
  ShowInformationBox(Owner(), applicationTitle_, ToQString(text));
}

void QtScreen::WarningBox(const Text& text) {
  if (ending_) return;
  ShowWarningBox(Owner(), applicationTitle_, ToQString(text));
}

void QtScreen::EndDialogs() {
  ending_ = true;
  CloseOpenDialogs();
}

void QtScreen::SetStatusText(const Text& text) {
  if (window_) window_->StatusLabel()->setText(ToQString(text));
}

// Painted at once: while an examine runs, no events are handled.
void QtScreen::SetLabelText(const Text& text) {
  if (!window_) return;
  window_->ReportLabel()->setText(ToQString(text));
  window_->ReportLabel()->repaint();
}

void QtScreen::SetViewVisible(bool visible) {
  if (window_) window_->ReportView()->setVisible(visible);
}

void QtScreen::Navigate(const Text& path) {
  if (!window_) return;
  QUrl page = QUrl::fromLocalFile(ToQString(path));
  page.setQuery(QStringLiteral("view=%1").arg(pageGeneration_));
  window_->ReportView()->load(page);
  window_->update();
}

void QtScreen::ClearView() {
  if (window_) window_->ReportView()->setHtml(QString());
}

void QtScreen::SetApplicationTitle(const Text& title) {
  applicationTitle_ = ToQString(title);
  QApplication::setApplicationName(applicationTitle_);
}

void QtScreen::KeepWindowPlaceIn(const Text& file) { placeFile_ = ToQString(file); }

// Shown only once the kept size, place and panel are restored, so that the
// window appears once, where the user left it.
void QtScreen::CreateMainWindow(const Text& title) {
  windowTitle_ = ToQString(title);
  program_.clear();
  window_ = std::make_unique<MainWindow>(windowTitle_,
                                         [this](Event event) { Post(std::move(event)); });
  if (!placeFile_.isEmpty() && QFile::exists(placeFile_)) {
    QSettings place(placeFile_, QSettings::IniFormat);
    const QByteArray geometry = place.value(QStringLiteral("window/geometry")).toByteArray();
    if (!geometry.isEmpty()) window_->restoreGeometry(geometry);
    window_->RestoreLayoutState(place.value(QStringLiteral("window/layout")).toByteArray());
  }
  window_->show();
}

void QtScreen::DestroyMainWindow() {
  if (window_ && !placeFile_.isEmpty() && QFileInfo(placeFile_).dir().exists()) {
    QSettings place(placeFile_, QSettings::IniFormat);
    place.setValue(QStringLiteral("window/geometry"), window_->saveGeometry());
    place.setValue(QStringLiteral("window/layout"), window_->SaveLayoutState());
  }
  window_.reset();
}

void QtScreen::ShowProgramName(const Text& program) {
  const QString path = ToQString(program);
  if (path != program_) ++pageGeneration_;
  program_ = path;
  if (!window_) return;
  window_->setWindowTitle(path.isEmpty() ? windowTitle_
                                         : QFileInfo(path).fileName() +
                                               QStringLiteral(" \u2014 ") + windowTitle_);
}

void QtScreen::Post(Event event) {
  events_.Post(std::move(event));
  if (waiting_) waiting_->quit();
}

// Runs Qt's loop only while waiting, so callbacks that arrive during a
// handler find nobody waiting and just queue their event.
Event QtScreen::WaitEvent() {
  while (events_.Empty()) {
    QEventLoop loop;
    waiting_ = &loop;
    loop.exec();
    waiting_ = nullptr;
  }
  return events_.Take();
}

Text QtScreen::OpenFileDialog(const Text& title, const Text& extension, const Text& folder) {
  if (ending_) return Text();
  return ToText(AskForFile(Owner(), ToQString(title), ToQString(extension), ToQString(folder)));
}

void QtScreen::SetRecentPrograms(const std::vector<Text>& programs) {
  if (!window_) return;
  QStringList shown;
  for (const Text& program : programs) shown.push_back(ToQString(program));
  window_->SetRecentPrograms(shown);
}

Text QtScreen::ChooseFolderDialog(const Text& title) {
  if (ending_) return Text();
  return ToText(AskForFolder(Owner(), ToQString(title)));
}

void QtScreen::ShowHeaderPanel(const HeaderPanelContent& content) {
  if (window_) window_->ShowHeaderPanel(content);
}

void QtScreen::HideHeaderPanel() {
  if (window_) window_->HideHeaderPanel();
}

void QtScreen::SetClipboardText(const Text& text) {
  QApplication::clipboard()->setText(ToQString(text));
}

bool QtScreen::ConfirmHeaderEdit(const Text& diff, size_t files) {
  if (ending_) return false;
  return ConfirmEdit(Owner(), applicationTitle_, ToQString(diff), files);
}

bool QtScreen::OfferFolderChoice(const Text& text) {
  if (ending_) return false;
  return vt::OfferFolderChoice(Owner(), applicationTitle_, ToQString(text));
}

}  // namespace vt
