// Ends the program when SIGTERM, SIGINT or SIGHUP arrives, at any moment of
// the run (a match, the question, the first-start settings window), after
// the files it writes (a recording, a hash list) were completed. The signal
// handler only writes to a pipe; the event loop, which also runs inside
// modal windows, reads it and does the rest outside the handler.
#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace zelkar::qt {

class SignalClose : public QObject {
  Q_OBJECT

 public:
  // `onSignal` gets the signal's number; it should finish the files and
  // call dieBy(signal).
  explicit SignalClose(std::function<void(int)> onSignal);
  // The signals get their default action back.
  ~SignalClose() override;

  bool active() const { return notifier_ != nullptr; }
  // The first signal that arrived, 0 if none: one that came after the
  // event loop ended was never handled.
  static int received();

  // Ends the process by `signal` with its default action, so that the
  // parent sees a death by that signal (a shell: status 128 + signal).
  [[noreturn]] static void dieBy(int signal);

 private:
  void readSignal();

  std::function<void(int)> onSignal_;
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace zelkar::qt
