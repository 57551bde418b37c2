// The front end's one controller: it owns the game value and the windows,
// forwards every window event to its handler and, after each handler, makes
// the windows show what the handler left in the screen model. What differs
// between a local match, a replay, an online match and the sync test is
// asked of its PlayMode (play_mode.h).
#pragma once

#include <QObject>
#include <QTimer>
#include <array>
#include <bitset>
#include <memory>
#include <string>
#include <vector>

#include "app/game.h"
#include "audio/sound.h"
#include "events/script.h"
#include "qt/config_location.h"
#include "qt/run_stats.h"
#include "qt/sound_output.h"

namespace zelkar::qt {

class CpuSeats;
class HashLog;
class MainWindow;
class NetPlay;
class PlayMode;
class Recorder;
class Replayer;
class ScoreWindow;
class QtWindowSystem;

class GameHost : public QObject {
  Q_OBJECT

 public:
  struct Options {
    int scale = 1;  // whole-number enlargement of the main window
    ConfigLocation config{};
    // Folder of the four WAV files; empty plays nothing (tests).
    QString soundFolder{};
    // Told of ticks, the tick timer and the first start panel; may be null.
    RunStats* stats = nullptr;
    // Writes every event the game handles as a replay file; may be null.
    Recorder* recorder = nullptr;
    // Writes the state hash after every tick; may be null.
    HashLog* hashes = nullptr;
    // The mode: at most one of replay, net and syncTestDepth; with none, a
    // local match.
    // Plays a replay: the players' input is ignored but Ctrl+F2; may be null.
    Replayer* replay = nullptr;
    // Online play: the session's game is shown and the players' input goes
    // to the session; may be null.
    NetPlay* net = nullptr;
    // A local game rolled back this many ticks after every tick and
    // replayed (--sync-test); 0 off.
    int syncTestDepth = 0;
    // Computer players, whose keys go in before each tick of a local match
    // or a sync test; may be null.
    CpuSeats* cpu = nullptr;
  };

  explicit GameHost(Options options);
  ~GameHost() override;

  // The main window's load: the settings are asked for until they can be
  // read, then the main window opens and the start timer is armed.
  void load(uint32_t seed);

  // Window events, each one handler call.
  void startTimerFired();
  void tick();
  void keyDown(int16_t keyCode, int16_t shift);
  void keyUp(int16_t keyCode, int16_t shift);
  void option1Clicked();
  void option2Clicked();
  void gameClicked();
  void answerChanged();
  void mainWindowClosing();
  // The player changed a start panel box that has no handler of its own.
  void widgetsEdited();

  // The events a recording holds, as the core takes them once the widgets
  // have been read into the model: the players' events end here, and a
  // replay calls them directly.
  void keyPressed(int16_t keyCode, int16_t shift);
  void keyReleased(int16_t keyCode, int16_t shift);
  void startPressed();  // only while the start panel shows
  void answerTyped();   // only while the answer box shows
  // Timer1 stays stopped from now on, whatever the model says: the end of
  // a replay keeps its last moment on the screen.
  void holdTicks();
  // The main window has put a frame on the screen.
  void framePainted();
  // The main window has the keyboard again after another window had it.
  // Keys let go meanwhile were released there, never here: every key the
  // game still thinks held is released now, in the game and the recording.
  void mainWindowActivated();

  // Online play: shows the session's game, which is only read from here
  // on, and plays the sounds of its new frames.
  void showShared(const Game& shared, const std::vector<Sound>& sounds);

  // Shows the model as it stands, after a change made outside a handler.
  void refresh() { afterHandler(After::event); }

  // Closes every window and stops the event loop; no handler runs after.
  void end();
  bool ended() const { return ended_; }

  // The game on the screen: the window's own, or online the session's.
  const Game& game() const { return *shown_; }
  // The game the window's handlers run on; online it only holds what this
  // player typed and clicked, until the session shows its own.
  Game& ownGame() { return *g_; }
  MainWindow& mainWindow() { return *main_; }
  ScoreWindow& scoreWindow() { return *score_; }
  QtWindowSystem& windowSystem() { return *ws_; }
  const QTimer& startClock() const { return startTimer_; }
  const QTimer& tickClock() const { return timer1_; }

 signals:
  // The tick timer has fired: what feeds the coming tick (the pads) is
  // read now, so it needs no timer of its own while ticks run.
  void tickDue();
  // The tick timer started or stopped.
  void tickClockRunning(bool running);

 private:
  // What ran: a tick or a key moves items but draws no new pictures, so
  // the window repaints only what changed; after anything else, everything.
  enum class After { event, tick, key, startButton };
  template <typename Handler>
  void run(Handler&& handler, After after = After::event);
  void afterHandler(After after);
  // Makes the windows show game(): the explosions it reported since the
  // last look, the widgets, the focus, the score and the arena.
  void present(After after);
  void takeExplosions();
  void syncTimers();
  // The sound module, the audio output and the four effects are loaded and
  // opened once the first window is out: loading Qt Multimedia, its
  // connection to the sound server and the decoding take longer than
  // everything that window needs, and no sound plays before a match.
  void openSoundsSoon();
  void tellTickClock();
  void recordStart();
  void syncScoreWindow(bool reshow);
  void applyFocus(bool force);
  void handled(const sim::Command& c);

  void releaseHeldKeys();

  // Counts the events being handled, nested ones included (ticks run while
  // the settings window is open inside Ctrl+F1's handler). Releases due
  // while it is non-zero wait until the outermost event is done, so that
  // the recording keeps the order the game saw.
  struct Busy {
    explicit Busy(GameHost& h) : host(h) { ++host.busy_; }
    ~Busy();
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;
    GameHost& host;
  };

  std::unique_ptr<Game> g_;
  const Game* shown_;
  // Explosion reports of the shown game taken so far, by number.
  uint64_t explosionsTaken_ = 0;
  std::unique_ptr<PlayMode> mode_;
  std::unique_ptr<MainWindow> main_;
  ScoreWindow* score_;  // a child window of main_
  std::unique_ptr<QtWindowSystem> ws_;
  std::unique_ptr<SoundOutput> sound_;
  RunStats* stats_;
  Recorder* recorder_;
  HashLog* hashes_;
  QString soundFolder_;  // until the sounds are opened, after the first frame
  QTimer startTimer_;
  QTimer timer1_;
  bool ended_ = false;
  bool ticksHeld_ = false;
  int busy_ = 0;
  bool releaseDue_ = false;
  // The players' keys pressed in this window and not yet released, by
  // virtual-key code (0..255).
  std::bitset<256> held_;
  // The count box as a replay of the recording holds it: only a `start
  // given` line sets it there.
  std::string replayedCountText_;
  bool scoreShown_ = false;
  bool tickClockShown_ = false;  // what tickClockRunning last said
  Focus focusShown_ = Focus::None;
  struct ShownScore {
    bool visible = false;
    Caption text;
  };
  std::array<ShownScore, 2> scoreDrawn_{};
};

// The settings a game runs with, as a recording and a session take them.
ConfigValues settingsInForce(const GameState& s);

}  // namespace zelkar::qt
