// The desktop program's glue for the game controllers: it reads the pads
// from a Qt timer on the GUI thread, hands their keys to GameHost's
// keyDown/keyUp (the keyboard's own entry points), shows plug changes in
// the main window's title, and tells the reader about the keyboard's keys
// so that a key held by both is let go only when neither holds it.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "pad/pad_reader.h"

namespace zelkar::qt {

class GameHost;

class PadInput : public QObject {
  Q_OBJECT

 public:
  // How often the pads are read: more often than the fastest tick (10 ms)
  // so that a press is seen by the tick after it, never two ticks later.
  static constexpr int kPollMs = 8;
  // How long a pad's plug message stays in the main window's title.
  static constexpr int kMessageMs = 4000;

  // Watches the main window's keys for the merge; the pads themselves are
  // read from start() on.
  PadInput(GameHost& host, std::FILE* err, const char* library);
  ~PadInput() override;

  // Loads SDL and starts the reading timer. When pads cannot be used here,
  // says so in one line and leaves the keyboard as it was. Once only.
  bool start();
  // start() once the main window has painted its first frame: loading SDL
  // takes some tens of milliseconds that the first frame need not wait for.
  void startAfterFirstFrame();
  bool active() const { return reader_.active(); }
  // One read of the pads (the timer's work; tests call it directly).
  void pollNow();
  // The plug message on show, empty when none.
  const QString& message() const { return message_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void plugged(const pad::PlugEvent& e);
  void say(const QString& text);

  GameHost& host_;
  std::FILE* err_;
  bool startTried_ = false;
  bool startOnPaint_ = false;
  pad::PadReader reader_;
  pad::PadSink sink_;
  QTimer pollTimer_;
  QTimer messageTimer_;
  QString title_;
  QString message_;
};

// The program's pads, or none when ZELKAR_NO_PADS=1 asks for the keyboard
// alone or when SDL cannot read pads here (one line on standard error).
std::unique_ptr<PadInput> startPads(GameHost& host);

}  // namespace zelkar::qt
