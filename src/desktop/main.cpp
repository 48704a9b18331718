// veltrane: the desktop program.

#include <QApplication>
#include <QStringList>
#include <cstdio>
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

}  // namespace

int main(int argc, char** argv) {
  vt::FailWritesPastTheSizeLimit();
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
  // The web view's engine logs much that means nothing to a user; its fatal
  // errors still show.
  if (!qEnvironmentVariableIsSet("QTWEBENGINE_CHROMIUM_FLAGS")) {
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--log-level=3");
  }
#ifndef _WIN32
  // The web view will not start as root with its sandbox on.
  if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX")) {
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    std::fputs("veltrane: running as root, so the web view's sandbox is off\n", stderr);
  }
#endif
  // Qt WebEngine needs this before the application object exists.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication application(argc, argv);

  vt::QtScreen screen;
  vt::WatchTerminationSignals([&screen] {
    screen.Post(vt::TerminateEvent());
    // A box waiting for its OK would hold the way out: close it.
    if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
  });

  std::vector<vt::Text> arguments;
  const QStringList given = QCoreApplication::arguments();
  for (qsizetype i = 1; i < given.size(); ++i) arguments.push_back(vt::ToText(given[i]));
  vt::Text applicationFolder = vt::ToText(QCoreApplication::applicationDirPath());

  return vt::MainRoutine(screen, arguments, vt::LayoutForProgram(applicationFolder));
}
