// The desktop program's game controllers: the first pad plays the left
// player and the second the right one, by pressing and releasing that
// player's keys through the same entry points the keyboard uses, so the
// recording, the state hashes and replays see ordinary keys. A pad and the
// keyboard may drive one player together: a key is let go only when
// neither holds it.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <array>
#include <cstdio>
#include <memory>

#include "pad/key_holders.h"
#include "pad/pad_mapping.h"

namespace zelkar::qt {
class GameHost;
}

namespace zelkar::pad {

class SdlPads;

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
  PadInput(qt::GameHost& host, std::FILE* err, const char* library);
  ~PadInput() override;

  // Loads SDL and starts the reading timer. When pads cannot be used here,
  // says so in one line and leaves the keyboard as it was. Once only.
  bool start();
  // start() once the main window has painted its first frame: loading SDL
  // takes some tens of milliseconds that the first frame need not wait for.
  void startAfterFirstFrame();
  bool active() const;
  // One read of the pads (the timer's work; tests call it directly).
  void pollNow();
  // The plug message on show, empty when none.
  const QString& message() const { return message_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void send(Source source, const std::vector<KeyChange>& changes);
  void say(const QString& text);

  qt::GameHost& host_;
  std::FILE* err_;
  const char* library_;
  bool startTried_ = false;
  bool startOnPaint_ = false;
  std::unique_ptr<SdlPads> pads_;
  std::array<PadKeys, 2> keys_{};
  KeyHolders holders_;
  QTimer pollTimer_;
  QTimer messageTimer_;
  QString title_;
  QString message_;
};

// The program's pads, or none when ZELKAR_NO_PADS=1 asks for the keyboard
// alone or when SDL cannot read pads here (one line on standard error).
std::unique_ptr<PadInput> startPads(qt::GameHost& host);

}  // namespace zelkar::pad
