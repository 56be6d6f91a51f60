#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>

#include "event_log.h"
#include "termination_signals.h"

namespace mokuro {
namespace {

int g_signalPipe[2] = {-1, -1};
bool g_requested = false;

// Only async-signal-safe work here: the loop does the rest.
void OnSignal(int signal) {
  const char byte = static_cast<char>(signal);
  [[maybe_unused]] const ssize_t ignored = ::write(g_signalPipe[1], &byte, 1);
}

}  // namespace

void QuitOnTerminationSignals(QCoreApplication& app) {
  if (::pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, &app);
  QObject::connect(notifier, &QSocketNotifier::activated, &app, [] {
    char byte = 0;
    while (::read(g_signalPipe[0], &byte, 1) == 1) {
    }
    LogEvent("termination signal: closing");
    g_requested = true;
    // Unlike quit(), this ends the loops of open boxes and dialogs as well, also before the
    // main loop runs, and no loop starts again until the main loop would.
    QCoreApplication::exit(0);
  });
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(signal, &action, nullptr);
}

bool TerminationRequested() { return g_requested; }

}  // namespace mokuro
