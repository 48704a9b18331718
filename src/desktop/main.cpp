// veltrane: the desktop program.

#include <QApplication>
#include <QLoggingCategory>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>
#ifndef _WIN32
#include <unistd.h>
#endif

#include "app/main_routine.h"
#include "app/program_layout.h"
#include "base/version.h"
#include "platform/command_line.h"
#include "platform/qt/qt_screen.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/termination_signals.h"

namespace {

bool Asks(int argc, char** argv, const char* option) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], option) == 0) return true;
  }
  return false;
}

// Without a display Qt would abort; the user learns what is missing instead.
bool DisplayMissing() {
#if defined(__linux__) || defined(__FreeBSD__)
  return !qEnvironmentVariableIsSet("DISPLAY") && !qEnvironmentVariableIsSet("WAYLAND_DISPLAY") &&
         !qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
#else
  return false;
#endif
}

constexpr char kUsage[] =
    "Usage: veltrane [PROGRAM.bmx]\n"
    "\n"
    "Opens the Veltrane window and, given a BlitzMax program, examines it: the\n"
    "report shows the Framework and Import lines it needs, and the panel beside\n"
    "it checks and fixes the program's header.\n"
    "\n"
    "  --help      print this and exit\n"
    "  --version   print the version and exit\n"
    "\n"
    "veltrane-cli does the same job in a terminal (veltrane-cli --help).\n";

// Qt ends the process when it cannot open the display it was told to use;
// the user gets one plain line and exit code 1 instead of an abort. Only
// while the application starts: later messages go their usual way.
void SayDisplayFailure(QtMsgType type, const QMessageLogContext&, const QString&) {
  if (type != QtFatalMsg) return;
  const QByteArray display = qgetenv("DISPLAY");
  std::fprintf(stderr,
               "veltrane: cannot open the window: the display%s%s cannot be reached; "
               "veltrane-cli does the same job in a terminal\n",
               display.isEmpty() ? "" : " ", display.constData());
  std::_Exit(1);
}

// The web view's engine says much at every start that means nothing to a
// user; what the user asks for with QT_LOGGING_RULES still shows.
void QuietenTheWebEngine() {
  if (!qEnvironmentVariableIsSet("QT_LOGGING_RULES")) {
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
  }
  if (!qEnvironmentVariableIsSet("QTWEBENGINE_CHROMIUM_FLAGS")) {
    // The view shows only the tool's own pages, one at a time: on Linux the
    // engine runs inside the program, without a helper process for each of
    // its parts, which saves a third of the memory and some of the start.
    // Elsewhere this way is untried: one renderer is enough there.
#if defined(__linux__)
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--log-level=3 --single-process");
#else
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--log-level=3 --renderer-process-limit=1");
#endif
  }
}

}  // namespace

int main(int argc, char** argv) {
  vt::FailWritesPastTheSizeLimit();
  if (Asks(argc, argv, "--help") || Asks(argc, argv, "-h")) {
    std::fputs(kUsage, stdout);
    return std::fflush(stdout) == 0 ? 0 : 7;
  }
  if (Asks(argc, argv, "--version")) {
    std::printf("veltrane %s\n", vt::kVersion);
    return std::fflush(stdout) == 0 ? 0 : 7;
  }
  if (DisplayMissing()) {
    std::fputs("veltrane: no display to open the window on (DISPLAY and WAYLAND_DISPLAY are "
               "not set); veltrane-cli does the same job in a terminal\n",
               stderr);
    return 1;
  }
  QuietenTheWebEngine();
#ifndef _WIN32
  // The web view will not start as root with its sandbox on.
  if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX")) {
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    std::fputs("veltrane: running as root, so the web view's sandbox is off\n", stderr);
  }
#endif
  // Qt WebEngine needs this before the application object exists.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QtMessageHandler usual = qInstallMessageHandler(SayDisplayFailure);
  QApplication application(argc, argv);
  qInstallMessageHandler(usual);

  vt::QtScreen screen;
  vt::WatchTerminationSignals([&screen] {
    screen.Post(vt::TerminateEvent());
    // A box waiting for its OK would hold the way out: every dialog closes
    // as if cancelled, so nothing is written, and none opens after it.
    screen.EndDialogs();
  });

  std::vector<vt::Text> arguments;
  const QStringList given = QCoreApplication::arguments();
  for (qsizetype i = 1; i < given.size(); ++i) arguments.push_back(vt::ToText(given[i]));
  vt::Text applicationFolder = vt::ToText(QCoreApplication::applicationDirPath());

  return vt::MainRoutine(screen, arguments, vt::LayoutForProgram(applicationFolder));
}
