// The inside of a Session, shared by its files: the inputs of both sides
// per frame, the saved games of the rollback window, and what confirmed
// frames left behind (commands, hashes).
#pragma once

#include <deque>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "net/frame.h"
#include "net/session.h"
#include "net/side_keys.h"

namespace zelkar::net {

struct Session::Impl {
  // Frames kept in the input rings: the frames the peer has not
  // acknowledged plus those not yet confirmed stay well under this, since
  // neither side runs more than kMaxFramesAhead beyond the other's inputs.
  static constexpr int64_t kRing = 128;
  // Saved games: every frame run on a prediction, at most kMaxFramesAhead.
  static constexpr int64_t kSnapshots = kMaxFramesAhead + 2;
  static constexpr int64_t kNever = std::numeric_limits<int64_t>::max();
  // Confirmed ticks a hash packet carries, or whatever waited this long:
  // each packet costs some twenty bytes beside its hashes, and a
  // difference found a few tenths of a second later changes nothing.
  static constexpr std::size_t kHashBatch = 30;
  static constexpr int64_t kHashFlushMicros = 300000;
  // Hashes the peer has not acknowledged go again once the oldest of them
  // went this long ago: a bit more than the round trip of a slow link, so
  // that most go once.
  static constexpr int64_t kHashRepeatMicros = 300000;
  static constexpr int64_t kMaxCatchUpFrames = 16;  // a late poll runs at most this many
  // A greeting (Hello, or Bye at the end) is repeated this often until
  // answered: about fifteen tries inside the silence time, so that even a
  // link losing a third of its datagrams answers well within it.
  static constexpr int64_t kRepeatMicros = 200000;
  // Confirmed hashes either side may hold unmatched or unacknowledged; a
  // real peer stays a round trip behind (tens of ticks), so reaching this
  // means a peer that does not answer, and the session waits for it
  // rather than growing.
  static constexpr std::size_t kMaxHashBacklog = 1024;
  // Wrong codes a waiting host takes from one address per minute before
  // it refuses that address unheard, and the addresses it remembers.
  static constexpr int kMaxWrongCodesPerMinute = 5;
  static constexpr int64_t kMinuteMicros = 60000000;
  static constexpr std::size_t kMaxTrackedAddresses = 64;

  struct Snapshot {
    std::unique_ptr<Game> game = std::make_unique<Game>();
    MatchState match;
    int64_t frame = -1;  // the frame this is the state before
  };
  struct Record {
    FrameResult result;
    MatchState match;  // after the frame
    std::vector<sim::Command> applied;
  };
  struct OutHash {  // one of our confirmed ticks' hashes, until the peer has it
    int64_t tick = 0;
    uint64_t hash = 0;
    int64_t sentAt = -1;  // when it last went; -1 before the first time
  };
  struct Tries {  // wrong codes from one address in the present minute
    std::string address;
    int64_t since = 0;
    int wrong = 0;
  };

  Impl(Link& l, const SessionConfig& c);

  // handshake
  void noteConnection(int64_t now);
  void pollGreeting(int64_t now);
  void onGreeting(const Packet& p, int64_t now);
  bool onHello(const Hello& h, int version, int64_t now);
  void refuseCaller(RefuseReason r);
  void turnAwayCaller(std::optional<RefuseReason> r);
  Tries& triesOf(const std::string& address, int64_t now);
  void begin(bool leftSide, const ConfigValues& shared, uint32_t seed, int64_t now);
  void end(Outcome o);
  void checkLink(int64_t now);

  // running
  void pollRunning(int64_t now);
  void receiveAll(int64_t now);
  bool onInputs(const Inputs& in);
  bool onHashes(const Hashes& h);
  bool blocked() const;
  bool validRemote(const Event& e) const;
  void step(bool firstRun);
  void rollback();
  void finalize();
  void compareHashes();
  void sendInputs(int64_t now);
  void sendHashes(int64_t now, bool all);
  bool lingering() const;

  void send(Channel ch, const Body& body);
  void queueLocal(Event e);
  FrameEvents& localAt(int64_t f) { return local[std::size_t(f % kRing)]; }
  FrameEvents& remoteAt(int64_t f) { return remote[std::size_t(f % kRing)]; }
  int remoteSideIndex() const { return localLeft ? 1 : 0; }

  Link& link;
  SessionConfig cfg;
  Phase phase = Phase::WaitingForPeer;
  Outcome outcome = Outcome::None;
  int64_t desyncTick = 0;
  int peerVersion = kProtocolVersion;
  SessionStats stats;

  bool connected = false;
  bool everConnected = false;
  bool helloSent = false;
  int64_t lastHelloSent = 0;
  int64_t connectedAt = 0;
  int64_t lastHeard = 0;  // the last valid packet of this session, or the connection
  Welcome welcome;        // the host's answer, again for every repeated Hello
  std::vector<Tries> tries;
  std::vector<TurnedAway> turnedAway;
  bool localLeft = true;
  KeyTable localRight{};

  std::unique_ptr<Game> game = std::make_unique<Game>();
  QuietWindow ws{*game};
  MatchState match;
  int64_t frame = 0;        // frames run
  int64_t firstRunEnd = 0;  // frames run at least once
  int64_t intervalMicros = 10000;
  int64_t nextDue = -1;
  int64_t lastPoll = -1;

  std::vector<FrameEvents> local = std::vector<FrameEvents>(kRing);
  std::vector<FrameEvents> remote = std::vector<FrameEvents>(kRing);
  std::deque<Event> pendingLocal;
  bool localDone = false;
  int64_t localFixed = 0;   // local inputs are fixed for the frames before this
  int64_t remoteKnown = 0;  // the peer's inputs are known for the frames before this
  int64_t peerAck = 0;      // the peer has our inputs for the frames before this
  int64_t peerFrame = 0;
  int peerAdvantage = 0;
  int64_t rollbackFrom = kNever;
  int64_t lastInputsSent = -1;
  int64_t lastSentFrame = -1;

  std::vector<Snapshot> snapshots = std::vector<Snapshot>(kSnapshots);
  std::vector<Record> records = std::vector<Record>(kRing);
  int64_t finalEnd = 0;  // frames before this are confirmed
  bool confirmedOver = false;

  std::vector<sim::Command> confirmed;
  std::vector<ConfirmedTick> newTicks;
  std::deque<ConfirmedTick> unchecked;  // our confirmed ticks the peer's hashes have not met
  std::deque<uint64_t> peerHashes;      // the peer's hashes our ticks have not met
  int64_t peerHashNext = 1;             // tick of the next hash the peer sends
  std::deque<OutHash> hashOut;          // ours the peer has not acknowledged, oldest first
  int64_t hashSentUpTo = 1;             // ticks before this have gone at least once
  int64_t lastHashSent = 0;
  int64_t lastByeSent = 0;
  bool byeSent = false;
  bool byeReceived = false;
  bool byeAnswerDue = false;  // a Bye arrived since we last sent ours
  bool peerGone = false;      // silent or closed after the match was over

  std::vector<Sound> sounds;
  std::vector<std::array<std::string, 2>> messages;
  std::vector<uint8_t> packet;
};

}  // namespace zelkar::net
