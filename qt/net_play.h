// Online play in the window: the ENet link and the rollback session, polled
// from the event loop. The session owns the shared game; after every poll
// that ran frames the window is shown the session's game, the sounds of
// frames run for the first time are played, and the end of the session is
// told in a message box before the program closes.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <chrono>
#include <memory>

#include "net/enet_link.h"
#include "net/session.h"
#include "qt/net_options.h"

namespace zelkar::qt {

class GameHost;

class NetPlay : public QObject {
  Q_OBJECT

 public:
  // recordPath: the confirmed match is written there at the end; empty: not.
  NetPlay(NetOptions options, QString recordPath);
  ~NetPlay() override;

  // Opens the UDP socket (and, for the joiner, starts connecting). False
  // with `error` set when it cannot.
  bool open(QString& error);
  // Plays over a link the connect window already brought up (through the
  // meeting point, or a direct wait), instead of opening one: its socket
  // is the one the routers opened. `path` names how it came ("direct",
  // "punched", "local", "relayed") for the title.
  void adopt(std::unique_ptr<net::EnetLink> link, std::string path);
  // The main window has loaded with these settings: the session starts and
  // polling begins. The host's settings and seed become the match's.
  void begin(GameHost& host, const ConfigValues& settings, uint32_t loadSeed);

  bool isHost() const { return options_.role == NetOptions::Role::host; }
  // The session shows the game (the peer is there and the match is shared).
  bool sharing() const;
  const QString& code() const { return options_.code; }
  uint16_t port() const { return link_ ? link_->localPort() : 0; }

  void keyDown(int16_t keyCode, int16_t shift);
  void keyUp(int16_t keyCode);
  void start(const sim::StartCommand& choices);
  void answer(const std::string& text);
  // Ctrl+F1 changed this machine's keyboard kind: its own player's keys follow.
  void setLocalKeyboard(int16_t keypadMode);
  // Ctrl+F1 changed this machine's sound switch (the shared game keeps the
  // host's): the session's sounds are played here only while it is on.
  void setLocalSound(bool on) { soundOn_ = on; }

  // The session ended otherwise than as a player chose (the connection was
  // lost, the codes, versions or sides did not match, the games differed):
  // the program then exits with kExitFailed, as zelkar-sim does.
  bool failed() const;
  static constexpr int kExitFailed = 3;

  // The title of the main window: the game's name and what the link is doing.
  QString windowTitle() const;
  // The message that tells this player why the session ended; empty when
  // nothing needs saying (this player answered N).
  static QString endText(const net::Session& session);

  net::Session* session() { return session_.get(); }

  // Writes the confirmed match to the recording (once); also called when a
  // signal ends the program, so the recording survives it.
  void writeRecord();

 private:
  void poll();
  void showTitle();
  // "direct, round trip 12 ms" for the title while the match is shared.
  QString pathText() const;
  void ended();
  int64_t micros() const;

  NetOptions options_;
  QString recordPath_;
  std::unique_ptr<net::EnetLink> link_;
  std::string path_ = "direct";
  // The round trip in the title changes at most this often, so that the
  // title does not flicker, and a message another part put there (a
  // controller plugged in) is not written over each time ENet's estimate
  // moves by a millisecond.
  static constexpr int64_t kRoundTripShownMicros = 2'000'000;
  uint32_t roundTripShownMs_ = 0;
  int64_t roundTripShownAt_ = -kRoundTripShownMicros;
  std::unique_ptr<net::Session> session_;
  GameHost* host_ = nullptr;
  QTimer pollTimer_;
  std::chrono::steady_clock::time_point t0_;
  int64_t shownFrame_ = -1;
  int64_t shownRollbacks_ = 0;
  int64_t endedAt_ = -1;
  bool soundOn_ = true;
  // The status last written into the title: the title is rewritten only
  // when it changes, so that what others add there (a controller's plug
  // message) stays readable.
  QString titleShown_;
  bool polling_ = false;  // a message box's own event loop must not poll again
  bool told_ = false;
  bool recorded_ = false;
};

}  // namespace zelkar::qt
