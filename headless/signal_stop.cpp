#include "headless/signal_stop.h"

#include <csignal>
#include <cstdlib>

namespace zelkar::sim {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
volatile std::sig_atomic_t firstSignal = 0;

extern "C" void noteSignal(int signal) {
  if (firstSignal == 0) firstSignal = signal;
}

}  // namespace

SignalStop::SignalStop() {
  firstSignal = 0;
  for (int s : kSignals) std::signal(s, noteSignal);
}

SignalStop::~SignalStop() {
  for (int s : kSignals) std::signal(s, SIG_DFL);
}

int SignalStop::received() { return firstSignal; }

void SignalStop::dieBy(int signal) {
  std::signal(signal, SIG_DFL);
  std::raise(signal);
  std::_Exit(128 + signal);  // only if the default action did not end us
}

}  // namespace zelkar::sim
