// One online match between two machines, with rollback: the local side's
// keys act on the game at once, the peer's are predicted as "nothing new"
// (held keys stay held) and corrected when they arrive, by restoring the
// game saved before the first mispredicted frame and replaying up to now.
//
// Time runs in frames of the host's tick interval. Every frame applies the
// events of both sides for that frame, the left side's first, then runs one
// tick of the simulation timer if it is running. Frames go on while the
// timer stands (start panel, replay question), so match events such as the
// start button or an answer are simply inputs of a frame like keys.
//
// Qt-free, clock-free and thread-free: the front end passes the time in
// through poll() and shows game(). The session owns the Game: both machines
// build it alike from the host's settings and seed once the peer is there.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/game.h"
#include "audio/sound.h"
#include "events/script.h"
#include "net/link.h"
#include "net/packet.h"
#include "settings/config_file.h"

namespace zelkar::net {

enum class Side : uint8_t { Left, Right };
enum class Role : uint8_t { Host, Joiner };

struct SessionConfig {
  Role role = Role::Host;
  Side side = Side::Left;    // the host's side, or the joiner's wish when sideChosen
  bool sideChosen = false;   // --side given; else the joiner takes the side the host leaves
  int inputDelayFrames = 0;  // 0..kMaxInputDelay: local keys act this many frames later
  std::string code;          // both machines must give the same session code
  // This machine's settings. The host's keyboard kind, tick interval and
  // sound switch are those of the shared game; a joiner's keyboard kind
  // only says where its own keys are.
  ConfigValues settings;
  uint32_t loadSeed = 0;  // host only: the generator's state at load
};

inline constexpr int kMaxInputDelay = 8;
inline constexpr int kMaxFramesAhead = 8;  // of the last frame the peer's inputs confirm
// "Connection lost": nothing valid of this session arrived for this long.
// A host's caller that has not greeted in this time loses the seat.
inline constexpr int64_t kSilenceMicros = 3000000;
// A joiner's link comes up when the host's transport answers its call, but
// the host's side comes up only when that answer is acknowledged, and the
// host drops everything the joiner sends until then. On a lossy link the
// host may need several of its repeated answers (up to about 3.2 s on the
// real link), so a joiner greets for this long from its link coming up
// before it says that no host answered; its silence clock starts with the
// host's first answer.
inline constexpr int64_t kGreetingMicros = 2 * kSilenceMicros;
inline constexpr std::size_t kMaxCodeBytes = 32;  // session codes are short

enum class Phase : uint8_t {
  WaitingForPeer,  // the link is not up yet, or the handshake is under way
  Running,         // frames run (a match, the start panel or the replay question)
  Ended,           // the session is over; outcome() says why
};

// Why a session ended; None while it runs.
enum class Outcome : uint8_t {
  None,
  LocalAnsweredNo,  // this player answered N to the replay question
  PeerAnsweredNo,   // the other player did
  BothScriptsDone,  // both sides said done() (headless runs)
  Desync,           // the hashes of tick desyncTick() differ
  ConnectionLost,   // nothing valid for kSilenceMicros, or the link closed
  HostUnreachable,  // a joiner had no answer: its link never came up, or no greeting came back
  WrongCode,        // the host refused our code
  WrongVersion,     // the peer speaks another protocol version
  SideTaken,        // both machines want the same side
  TooManyTries,     // the host refuses this address for a while: too many wrong codes
};

// A caller a waiting host turned away; the host goes on waiting.
struct TurnedAway {
  std::string address;
  // Why: its Hello was refused for this, or (nullopt) it did not greet
  // within kSilenceMicros, or it left before greeting.
  std::optional<RefuseReason> reason;
};

struct ConfirmedTick {
  int64_t tick = 0;  // ticks of the shared match run so far, from 1
  uint64_t hash = 0;
};

struct SessionStats {
  int64_t rollbacks = 0;          // restores after a misprediction
  int64_t replayedFrames = 0;     // frames run again by those restores
  int maxRollbackFrames = 0;      // deepest single restore
  int64_t waitedMicros = 0;       // time spent unable to run a due frame
  int64_t malformedPackets = 0;   // dropped as unreadable, out of range or not ours
  int64_t callersTurnedAway = 0;  // a waiting host's refused or silent callers
  int64_t bytesSent = 0;          // packet payloads, both channels
  int64_t bytesReceived = 0;
};

class Session {
 public:
  Session(Link& link, const SessionConfig& config);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // Keys of this machine. Either player's keys drive this machine's side
  // (each player has a whole keyboard); Ctrl+F2 stops the match for both;
  // other keys (Ctrl+F1 included: its settings are local) are ignored.
  void localKeyDown(int16_t keyCode, int16_t shift);
  void localKeyUp(int16_t keyCode);
  // Ctrl+F1 on this machine chose another keyboard kind: only where this
  // player's keys are changes, never the shared game.
  void setLocalKeyboard(int16_t keypadMode);
  // The start panel's choices; the host's only. The arena comes from the
  // generator both machines share since load, as in a local game.
  void start(const sim::StartCommand& choices);
  // Text typed into the answer box: Y once both have said Y starts the next
  // match, N on either ends the session for both; anything else is ignored.
  void answer(std::string_view text);
  // Ctrl+F2.
  void stop();
  // No more local inputs (a headless script has ended): the session ends
  // once both sides have said so and every frame is confirmed.
  void done();

  // Services the link, reads the peer's packets, rolls back if they show a
  // misprediction, and runs every frame that is due by nowMicros (never
  // more than kMaxFramesAhead beyond the peer's confirmed inputs).
  void poll(int64_t nowMicros);

  Phase phase() const;
  Outcome outcome() const;
  int64_t desyncTick() const;       // with Outcome::Desync
  int peerProtocolVersion() const;  // with Outcome::WrongVersion
  bool finished() const;            // ended and the peer has everything it needs from us
  Side localSide() const;
  const SessionConfig& config() const;
  const std::string& code() const;

  // The game as this machine sees it now (confirmed and predicted frames);
  // valid once phase() has left WaitingForPeer. Draw it; never change it.
  const Game& game() const;
  int64_t frame() const;  // frames run so far
  int64_t ticks() const;  // ticks of the shared match in game(), predicted ones included
  // The replay question has this player's Y and waits for the peer's.
  bool waitingForPeerAnswer() const;

  // Sounds and message boxes of frames run for the first time since the
  // last call: frames replayed by a rollback make no sound and show nothing.
  std::vector<Sound> takeSounds();
  std::vector<std::array<std::string, 2>> takeMessages();  // text, title
  // Ticks confirmed by both sides' inputs since the last call, in order:
  // what --dump hash prints.
  std::vector<ConfirmedTick> takeConfirmedTicks();
  // Callers a waiting host turned away since the last call.
  std::vector<TurnedAway> takeTurnedAway();
  // The confirmed match as replay commands (config, seed, then each
  // frame's events, left side first, and its tick): replayText() of it
  // plays the same match in zelkar-sim --script. Grows as frames confirm.
  const std::vector<sim::Command>& confirmedCommands() const;

  const SessionStats& stats() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace zelkar::net
