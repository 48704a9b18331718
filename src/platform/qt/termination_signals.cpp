#include "platform/qt/termination_signals.h"

#if defined(_WIN32)

namespace vt {
void WatchTerminationSignals(std::function<void()>) {}
}  // namespace vt

#else

#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <csignal>

namespace vt {

namespace {

// A signal handler may only write to a file; Qt's loop reads the other end.
int signalSockets[2] = {-1, -1};

extern "C" void OnTerminationSignal(int) {
  char byte = 1;
  [[maybe_unused]] ssize_t written = write(signalSockets[0], &byte, 1);
}

}  // namespace

void WatchTerminationSignals(std::function<void()> onSignal) {
  if (signalSockets[0] >= 0) return;
  if (socketpair(AF_UNIX, SOCK_STREAM, 0, signalSockets) != 0) return;
  auto* notifier = new QSocketNotifier(signalSockets[1], QSocketNotifier::Read);
  QObject::connect(notifier, &QSocketNotifier::activated, [onSignal] {
    char byte;
    [[maybe_unused]] ssize_t read = ::read(signalSockets[1], &byte, 1);
    onSignal();
  });

  struct sigaction action = {};
  action.sa_handler = OnTerminationSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal : {SIGTERM, SIGINT, SIGHUP}) sigaction(signal, &action, nullptr);
}

}  // namespace vt

#endif
