#include "headless/net_main.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "headless/cli.h"
#include "headless/net_meet.h"
#include "headless/net_options.h"
#include "headless/net_script.h"
#include "headless/replay.h"
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

std::optional<std::string> readScript(const std::string& path, std::istream& in, std::string& text,
                                      std::ostream& err) {
  const std::string name = path.empty() ? "<stdin>" : path;
  std::ostringstream buffer;
  if (path.empty()) {
    buffer << in.rdbuf();
  } else {
    std::ifstream file(path, std::ios::binary);
    std::error_code ec;
    if (!file || std::filesystem::is_directory(path, ec)) {
      err << "zelkar-sim: cannot open " << name << "\n";
      return std::nullopt;
    }
    buffer << file.rdbuf();
    if (file.bad()) {
      err << "zelkar-sim: cannot read " << name << "\n";
      return std::nullopt;
    }
  }
  text = buffer.str();
  return name;
}

int syncTest(const NetOptions& opts, const std::string& text, const std::string& name,
             std::ostream& out, std::ostream& err) {
  const net::SyncRun run = net::syncTestScript(text, opts.syncDepth, kMaxTicks, opts.seed);
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
  out << "sync test: " << run.ticks << " ticks, each rolled back " << opts.syncDepth
      << " ticks and replayed with the same hashes\n";
  return out.flush() ? kExitOk : kExitIo;
}

bool writeRecord(const std::string& path, const net::Session& session, std::ostream& err) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << replayText(session.confirmedCommands());
  file.close();
  if (!file) {
    err << "zelkar-sim: cannot write " << path << "\n";
    return false;
  }
  return true;
}

bool endedAsChosen(net::Outcome o) {
  return o == net::Outcome::BothScriptsDone || o == net::Outcome::LocalAnsweredNo ||
         o == net::Outcome::PeerAnsweredNo;
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
      return "connection lost: the other side was silent for 3 s or left";
    case net::Outcome::WrongCode:
      return "refused: the session codes differ";
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
  std::string text;
  const auto name = readScript(opts.scriptPath, in, text, err);
  if (!name) return kExitIo;
  if (opts.mode == NetOptions::Mode::SyncTest) return syncTest(opts, text, *name, out, err);

  const ParsedScript script = parseScript(text);
  const net::Role role = opts.mode == NetOptions::Mode::Host ? net::Role::Host : net::Role::Joiner;
  ScriptSetup setup;
  std::optional<ScriptError> bad = script.error;
  if (!bad) bad = checkSideScript(script.commands, role, setup);
  if (bad) {
    err << "zelkar-sim: " << *name << ": line " << bad->line << ": " << bad->message << "\n";
    return kExitBad;
  }

  std::string linkError;
  // Through a meeting point the joiner, too, listens first: its socket
  // opens the path before ENet connects from it.
  std::unique_ptr<net::EnetLink> link =
      role == net::Role::Host ? net::EnetLink::listen(opts.endpoint, linkError)
      : opts.meet             ? net::EnetLink::listen(net::Endpoint{"", 0}, linkError)
                              : net::EnetLink::connect(opts.endpoint, linkError);
  if (!link) {
    err << "zelkar-sim: " << linkError << "\n";
    return kExitSession;
  }
  if (opts.meet && !meetPeer(opts, *link, err)) return kExitSession;
  if (role == net::Role::Host && !opts.meet)
    err << "zelkar-sim: hosting on UDP port " << link->localPort() << ", session code " << opts.code
        << "\n";

  net::SessionConfig cfg;
  cfg.role = role;
  cfg.side = opts.side.value_or(net::Side::Left);
  cfg.sideChosen = role == net::Role::Host || opts.side.has_value();
  cfg.inputDelayFrames = opts.inputDelay;
  cfg.code = opts.code;
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
  while (true) {
    const int64_t now = micros();
    session.poll(now);
    if (!connectedSaid && link->state() == net::LinkState::Connected) {
      err << "zelkar-sim: connected (direct) in " << now / 1000 << " ms\n";
      connectedSaid = true;
    }
    feeder.step(session);
    for (const net::ConfirmedTick& t : session.takeConfirmedTicks())
      if (opts.dumpHash) out << hashLine(t.tick, t.hash) << '\n';
    session.takeSounds();  // heard by no one; kept, they would pile up
    session.takeMessages();
    if (session.phase() == net::Phase::Ended) {
      if (endedAt < 0) endedAt = now;
      if (session.finished() || now - endedAt > kLingerMicros) break;
    } else if (session.phase() == net::Phase::WaitingForPeer && now > kPeerWaitMicros) {
      err << "zelkar-sim: no peer within " << kPeerWaitMicros / 1'000'000 << " s\n";
      return kExitSession;
    }
    std::this_thread::sleep_for(kPollPause);
  }
  outOk = bool(out.flush());

  // Let the last reliable packets (the end, the hashes) reach the peer.
  link->close();
  const int64_t closeBy = micros() + 1'000'000;
  while (link->state() != net::LinkState::Closed && micros() < closeBy) {
    link->service(micros());
    std::this_thread::sleep_for(kPollPause);
  }

  const bool recorded = opts.recordPath.empty() || writeRecord(opts.recordPath, session, err);
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
