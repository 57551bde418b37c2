#include "qt/signal_close.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <cstdlib>

namespace zelkar::qt {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
int pipeEnds[2] = {-1, -1};  // read, write: one pipe for the one program
volatile std::sig_atomic_t firstSignal = 0;

void wakeEventLoop(int signal) {
  // Only async-signal-safe calls here; a full pipe already holds a wake-up.
  const int saved = errno;
  if (firstSignal == 0) firstSignal = signal;
  const char byte = 1;
  [[maybe_unused]] const ssize_t n = ::write(pipeEnds[1], &byte, 1);
  errno = saved;
}

}  // namespace

SignalClose::SignalClose(std::function<void(int)> onSignal) : onSignal_(std::move(onSignal)) {
  if (pipeEnds[0] >= 0 || ::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) return;
  firstSignal = 0;
  notifier_ = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &SignalClose::readSignal);
  struct sigaction action = {};
  action.sa_handler = wakeEventLoop;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int s : kSignals) ::sigaction(s, &action, nullptr);
}

SignalClose::~SignalClose() {
  if (notifier_ == nullptr) return;
  for (int s : kSignals) std::signal(s, SIG_DFL);
  delete notifier_;
  ::close(pipeEnds[0]);
  ::close(pipeEnds[1]);
  pipeEnds[0] = pipeEnds[1] = -1;
}

int SignalClose::received() { return firstSignal; }

void SignalClose::dieBy(int signal) {
  std::signal(signal, SIG_DFL);
  sigset_t only;
  sigemptyset(&only);
  sigaddset(&only, signal);
  ::sigprocmask(SIG_UNBLOCK, &only, nullptr);
  std::raise(signal);
  // Not reached for the signals handled here; a signal whose default is to
  // be ignored would land here.
  std::_Exit(128 + signal);
}

void SignalClose::readSignal() {
  char bytes[16];
  while (::read(pipeEnds[0], bytes, sizeof bytes) > 0) {
  }
  if (onSignal_) onSignal_(firstSignal);
}

}  // namespace zelkar::qt
