// veltrane: the desktop program.

#include <QApplication>
#include <QStringList>
#include <cstdio>
#include <vector>
#ifndef _WIN32
#include <unistd.h>
#endif

#include "app/main_routine.h"
#include "app/program_layout.h"
#include "platform/qt/qt_screen.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/termination_signals.h"

int main(int argc, char** argv) {
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
