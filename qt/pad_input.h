// The desktop program's glue for the game controllers: it reads the pads
// from a Qt timer on the GUI thread, hands their keys to GameHost's
// keyDown/keyUp (the keyboard's own entry points), shows plug changes in
// the main window's title, and tells the reader about the keyboard's keys
// so that a key held by both is let go only when neither holds it.
#pragma once

#include <QElapsedTimer>
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
  // How often the pads are read while no tick timer runs (the start panel,
  // an online match, whose ticks are the session's). While it runs they are
  // read as each tick is due instead, so a press is seen by the tick after
  // it and the program wakes no more often than it ticks.
  static constexpr int kPollMs = 8;
  // With no pad plugged in, a read only looks for one being plugged in:
  // a tenth of a second is still at once for a player, and SDL's work at
  // every tick (a fifth of the window's processor time in a match) is
  // saved.
  static constexpr int kPlugLookMs = 100;
  // How long a pad's plug message stays in the main window's title.
  static constexpr int kMessageMs = 4000;

  // Watches the main window's keys for the merge; the pads themselves are
  // read from start() on.
  PadInput(GameHost& host, std::FILE* err, const char* library);
  ~PadInput() override;

  // Loads SDL and starts reading. When pads cannot be used here,
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
  void followTickClock(bool ticking);
  void readIfDue();
  void say(const QString& text);

  GameHost& host_;
  std::FILE* err_;
  bool startTried_ = false;
  bool startOnPaint_ = false;
  pad::PadReader reader_;
  pad::PadSink sink_;
  QTimer pollTimer_;
  QElapsedTimer sinceRead_;
  int padsIn_ = 0;  // pads plugged in and opened
  QTimer messageTimer_;
  QString title_;
  QString message_;
};

// The program's pads, or none when ZELKAR_NO_PADS=1 asks for the keyboard
// alone or when SDL cannot read pads here (one line on standard error).
std::unique_ptr<PadInput> startPads(GameHost& host);

}  // namespace zelkar::qt
