// Ends the program when SIGTERM, SIGINT or SIGHUP arrives as the player
// closing the main window would, so that the files it writes (a recording,
// a hash list) are complete. The signal handler only writes to a pipe; the
// event loop reads it and does the rest outside the handler.
#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace zelkar::qt {

class SignalClose : public QObject {
  Q_OBJECT

 public:
  explicit SignalClose(std::function<void()> onSignal);
  // The signals get their default action back.
  ~SignalClose() override;

  bool active() const { return notifier_ != nullptr; }

 private:
  void readSignal();

  std::function<void()> onSignal_;
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace zelkar::qt
