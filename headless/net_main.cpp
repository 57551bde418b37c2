#include "headless/net_main.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "headless/cli.h"
#include "headless/net_meet.h"
#include "headless/net_options.h"
#include "headless/net_reach.h"
#include "headless/net_script.h"
#include "headless/printable.h"
#include "headless/replay.h"
#include "headless/signal_stop.h"
#include "net/enet_link.h"
#include "net/packet.h"
#include "net/sync_test.h"

namespace zelkar::sim {

namespace {

using Clock = std::chrono::steady_clock;
// A host with no peer, or a joiner with no answer, gives up after this
// long: a script is meant to run unattended.
constexpr int64_t kPeerWaitMicros = 30'000'000;
// After the end the peer may still need our last hashes; it gets this long.
constexpr int64_t kLingerMicros = 4'000'000;
// The loop's sleep between polls: well under a tick (10 ms by default),
// so frames run on time, and long enough to leave the cores to others.
constexpr auto kPollPause = std::chrono::microseconds(500);

int syncTest(const NetOptions& opts, const std::string& text, const std::string& name,
             std::ostream& out, std::ostream& err) {
  const net::SyncRun run = net::syncTestScript(text, opts.online.syncDepth, kMaxTicks, opts.seed);
  if (run.error) {
    err << "zelkar-sim: " << name << ": line " << run.error->line << ": " << run.error->message
        << "\n";
    return kExitBad;
  }
  if (run.failure) {
    err << "zelkar-sim: sync test: tick " << run.failure->tick
        << " replayed after a rollback at tick " << run.failure->rolledBackAt
        << " differs from its first run: " << run.failure->difference << "\n";
    return kExitSession;
  }
  out << "sync test: " << run.ticks << " ticks, each rolled back " << opts.online.syncDepth
      << " ticks and replayed with the same hashes\n";
  return out.flush() ? kExitOk : kExitIo;
}

// The file was opened (and emptied) before the session, so that a path
// that cannot be written is found before anyone waits for a match.
bool writeRecord(std::ofstream& file, const std::string& path, const net::Session& session,
                 std::ostream& err) {
  file << replayText(session.confirmedCommands());
  file.close();
  if (!file) {
    err << "zelkar-sim: cannot write " << printable(path) << "\n";
    return false;
  }
  return true;
}

bool endedAsChosen(net::Outcome o) {
  return o == net::Outcome::BothScriptsDone || o == net::Outcome::LocalAnsweredNo ||
         o == net::Outcome::PeerAnsweredNo;
}

std::string refusalText(const std::optional<net::RefuseReason>& r) {
  if (!r) return "did not greet in time or left";
  switch (*r) {
    case net::RefuseReason::WrongVersion:
      return "another protocol version";
    case net::RefuseReason::WrongCode:
      return "wrong session code";
    case net::RefuseReason::SideTaken:
      return "wants this side";
    case net::RefuseReason::TooManyTries:
      return "too many wrong codes this minute";
  }
  return "refused";
}

}  // namespace

std::string outcomeText(const net::Session& session) {
  switch (session.outcome()) {
    case net::Outcome::None:
      return "the session has not ended";
    case net::Outcome::LocalAnsweredNo:
      return "this side answered N: the session is over";
    case net::Outcome::PeerAnsweredNo:
      return "the other side answered N: the session is over";
    case net::Outcome::BothScriptsDone:
      return "both scripts have ended and every tick is confirmed";
    case net::Outcome::Desync:
      return "the two machines disagree from tick " + std::to_string(session.desyncTick()) +
             " on (their state hashes differ); both replay files are kept";
    case net::Outcome::ConnectionLost:
      return "connection lost: nothing arrived from the other side for 3 s, or it left";
    case net::Outcome::HostUnreachable:
      return "no host answered there";
    case net::Outcome::WrongCode:
      return "refused by the host: the session codes differ";
    case net::Outcome::TooManyTries:
      return "refused by the host: too many wrong codes from this address; wait a minute";
    case net::Outcome::WrongVersion:
      return "refused: the other side speaks protocol version " +
             std::to_string(session.peerProtocolVersion()) + ", this one " +
             std::to_string(net::kProtocolVersion);
    case net::Outcome::SideTaken:
      return "refused: both sides want the same player";
  }
  return "ended";
}

int netMain(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
            std::ostream& err) {
  NetOptions opts;
  if (const std::string e = parseNetOptions(args, opts); !e.empty()) {
    err << "zelkar-sim: " << e << "\n(zelkar-sim --help lists the options)\n";
    return kExitBad;
  }
  const std::string name = opts.scriptPath.empty() ? "<stdin>" : printable(opts.scriptPath);
  const std::optional<std::string> read = readScriptInput(opts.scriptPath, in, err);
  if (!read) return kExitIo;
  const std::string& text = *read;
  const net::OnlineOptions& online = opts.online;
  if (online.mode == net::OnlineOptions::Mode::SyncTest)
    return syncTest(opts, text, name, out, err);

  const ParsedScript script = parseScript(text);
  const net::Role role =
      online.mode == net::OnlineOptions::Mode::Host ? net::Role::Host : net::Role::Joiner;
  ScriptSetup setup;
  std::optional<ScriptError> bad = script.error;
  if (!bad) bad = checkSideScript(script.commands, role, setup);
  if (bad) {
    err << "zelkar-sim: " << name << ": line " << bad->line << ": " << printable(bad->message)
        << "\n";
    return kExitBad;
  }
  std::ofstream record;
  if (!opts.recordPath.empty()) {
    record.open(opts.recordPath, std::ios::binary | std::ios::trunc);
    if (!record) {
      err << "zelkar-sim: cannot write " << printable(opts.recordPath) << "\n";
      return kExitIo;
    }
  }

  std::string linkError;
  NetReach reach;
  net::Endpoint connectTo = online.endpoint;
  if (role == net::Role::Joiner && !opts.meet && !reach.beforeConnect(opts, connectTo, err))
    return kExitSession;
  // Through a meeting point the joiner, too, listens first: its socket
  // opens the path before ENet connects from it.
  std::unique_ptr<net::EnetLink> link =
      role == net::Role::Host ? net::EnetLink::listen(online.endpoint, linkError)
      : opts.meet             ? net::EnetLink::listen(net::Endpoint{"", 0}, linkError)
                              : net::EnetLink::connect(connectTo, linkError);
  if (!link) {
    err << "zelkar-sim: " << linkError << "\n";
    return kExitSession;
  }
  if (opts.meet && !meetPeer(opts, *link, reach, err)) return kExitSession;
  if (role == net::Role::Host && !opts.meet) {
    err << "zelkar-sim: hosting on UDP port " << link->localPort() << ", session code "
        << *online.code << "\n";
    if (!reach.afterListen(opts, link->localPort(), err)) return kExitSession;
  }

  net::SessionConfig cfg;
  cfg.role = role;
  cfg.side = online.side.value_or(net::Side::Left);
  cfg.sideChosen = role == net::Role::Host || online.side.has_value();
  cfg.inputDelayFrames = online.inputDelay;
  cfg.code = *online.code;
  cfg.settings = setup.settings;
  cfg.loadSeed = setup.loadSeed.value_or(opts.seed);
  net::Session session(*link, cfg);
  ScriptFeeder feeder(script.commands, role);

  const Clock::time_point t0 = Clock::now();
  auto micros = [&t0] {
    return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - t0).count();
  };
  int64_t endedAt = -1;
  bool connectedSaid = opts.meet.has_value();  // meetPeer has said how
  bool outOk = true;
  const SignalStop signals;
  int signal = 0;
  bool noPeer = false;
  while ((signal = SignalStop::received()) == 0) {
    const int64_t now = micros();
    session.poll(now);
    reach.poll(*link, err);
    if (!connectedSaid && link->state() == net::LinkState::Connected) {
      err << "zelkar-sim: connected (direct) in " << now / 1000 << " ms\n";
      connectedSaid = true;
    }
    feeder.step(session);
    for (const net::ConfirmedTick& t : session.takeConfirmedTicks())
      if (opts.dumpHash) out << hashLine(t.tick, t.hash) << '\n';
    session.takeSounds();  // heard by no one; kept, they would pile up
    session.takeMessages();
    for (const net::TurnedAway& t : session.takeTurnedAway()) {
      err << "zelkar-sim: turned away a caller from " << printable(t.address) << " ("
          << refusalText(t.reason) << "); " << session.stats().callersTurnedAway
          << " so far, still waiting\n";
    }
    if (session.phase() == net::Phase::Ended) {
      if (endedAt < 0) endedAt = now;
      if (session.finished() || now - endedAt > kLingerMicros) break;
    } else if (session.phase() == net::Phase::WaitingForPeer && now > kPeerWaitMicros) {
      noPeer = true;
      break;
    }
    std::this_thread::sleep_for(kPollPause);
  }
  outOk = bool(out.flush());

  reach.report(*link, err);
  // Let the last reliable packets (the end, the hashes) reach the peer.
  link->close();
  const int64_t closeBy = micros() + 1'000'000;
  while (link->state() != net::LinkState::Closed && micros() < closeBy) {
    link->service(micros());
    std::this_thread::sleep_for(kPollPause);
  }

  if (noPeer) {
    // No match, so no recording: the emptied file goes too.
    record.close();
    std::error_code ignored;
    if (!opts.recordPath.empty()) std::filesystem::remove(opts.recordPath, ignored);
    err << "zelkar-sim: no peer within " << kPeerWaitMicros / 1'000'000 << " s\n";
    if (signal == 0) return kExitSession;
  }
  const bool recorded =
      noPeer || opts.recordPath.empty() || writeRecord(record, opts.recordPath, session, err);
  if (signal != 0) {
    // What was confirmed is written; the caller learns how we ended.
    err << "zelkar-sim: stopped by signal " << signal << "\n";
    err.flush();
    SignalStop::dieBy(signal);
  }
  const net::SessionStats& st = session.stats();
  err << "zelkar-sim: " << outcomeText(session) << " (" << session.frame() << " frames, "
      << st.rollbacks << " rollbacks, deepest " << st.maxRollbackFrames << ", " << st.replayedFrames
      << " frames replayed, waited " << st.waitedMicros / 1000 << " ms, " << st.malformedPackets
      << " malformed packets, " << st.bytesSent << " bytes sent, " << st.bytesReceived
      << " received; with ENet's headers and acknowledgements " << link->bytesSent()
      << " UDP bytes sent, " << link->bytesReceived() << " received)\n";
  if (!outOk) {
    err << "zelkar-sim: cannot write the output\n";
    return kExitIo;
  }
  if (!recorded) return kExitIo;
  return endedAsChosen(session.outcome()) ? kExitOk : kExitSession;
}

}  // namespace zelkar::sim
