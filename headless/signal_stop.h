// SIGTERM, SIGINT and SIGHUP for zelkar-sim's online runs: the handler
// only notes the signal; the run's loop sees it, completes what it writes
// (the --dump lines so far, the recording of the confirmed match) and then
// dies by the same signal, so that the caller sees status 128 + N as from
// the window.
#pragma once

namespace zelkar::sim {

class SignalStop {
 public:
  SignalStop();   // catches the three signals
  ~SignalStop();  // gives them their default action back
  SignalStop(const SignalStop&) = delete;
  SignalStop& operator=(const SignalStop&) = delete;

  // The first signal that arrived since construction, 0 if none.
  static int received();
  // Ends the process by `signal` with its default action.
  [[noreturn]] static void dieBy(int signal);
};

}  // namespace zelkar::sim
