// The greeting that builds the same game on both machines before the
// first frame, and the watch over the link that ends a session whose peer
// has gone. A waiting host is open to anyone who can reach its port, so
// nothing a caller sends ends it: a wrong caller is refused and turned
// away, and the host waits on.
#include <algorithm>

#include "net/session_impl.h"

namespace zelkar::net {

namespace {

// Compares codes in time independent of where they differ, so that the
// answer's timing tells a guesser nothing.
bool sameCode(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  unsigned diff = 0;
  for (std::size_t i = 0; i < a.size(); ++i) diff |= unsigned(uint8_t(a[i]) ^ uint8_t(b[i]));
  return diff == 0;
}

Outcome outcomeOf(RefuseReason r) {
  switch (r) {
    case RefuseReason::WrongVersion:
      return Outcome::WrongVersion;
    case RefuseReason::WrongCode:
      return Outcome::WrongCode;
    case RefuseReason::SideTaken:
      return Outcome::SideTaken;
    case RefuseReason::TooManyTries:
      return Outcome::TooManyTries;
  }
  return Outcome::WrongVersion;
}

}  // namespace

void Session::Impl::noteConnection(int64_t now) {
  // Before anything is read: a caller's greeting can arrive in the very
  // service that brings the link up, and the session it starts must
  // still be watched for silence.
  if (connected || link.state() != LinkState::Connected) return;
  connected = everConnected = true;
  connectedAt = lastHeard = now;  // the silence clock starts here
  peerVersion = kProtocolVersion;
}

void Session::Impl::pollGreeting(int64_t now) {
  if (!connected) return;
  if (cfg.role == Role::Joiner && (!helloSent || now - lastHelloSent >= kRepeatMicros)) {
    // Repeated until answered: a lost Hello or Welcome costs one repeat.
    helloSent = true;
    lastHelloSent = now;
    send(Channel::Unreliable, Hello{cfg.code, uint8_t(cfg.sideChosen ? int(cfg.side) : 2)});
  }
  if (cfg.role == Role::Host && now - lastHeard > kSilenceMicros)
    turnAwayCaller(std::nullopt);  // connected and never greeted: the seat is free again
}

void Session::Impl::checkLink(int64_t now) {
  const bool closed = link.state() == LinkState::Closed;
  if (phase == Phase::WaitingForPeer && cfg.role == Role::Host) {
    // A caller that left before greeting frees the seat.
    if (closed) turnAwayCaller(std::nullopt);
    return;
  }
  // A joiner's link is up before the host's side of it (see
  // kGreetingMicros): until the host's first answer it greets on for
  // longer, and silence then means that no host answered.
  const bool greeting = phase == Phase::WaitingForPeer;
  const int64_t allowed = greeting ? kGreetingMicros : kSilenceMicros;
  const bool silent = connected && now - lastHeard > allowed;
  if (!closed && !silent) return;
  if (phase == Phase::Ended) {
    peerGone = true;
  } else if (greeting && (!everConnected || !closed)) {
    end(Outcome::HostUnreachable);
  } else {
    end(Outcome::ConnectionLost);
  }
}

Session::Impl::Tries& Session::Impl::triesOf(const std::string& address, int64_t now) {
  auto it = std::find_if(tries.begin(), tries.end(),
                         [&](const Tries& t) { return t.address == address; });
  if (it == tries.end()) {
    if (tries.size() >= kMaxTrackedAddresses) {
      // Forget the address whose minute began longest ago.
      it = std::min_element(tries.begin(), tries.end(),
                            [](const Tries& a, const Tries& b) { return a.since < b.since; });
      *it = Tries{address, now, 0};
    } else {
      it = tries.insert(tries.end(), Tries{address, now, 0});
    }
  }
  if (now - it->since >= kMinuteMicros) *it = Tries{address, now, 0};
  return *it;
}

void Session::Impl::turnAwayCaller(std::optional<RefuseReason> r) {
  ++stats.callersTurnedAway;
  turnedAway.push_back(TurnedAway{link.peerAddress(), r});
  link.turnAway();
  connected = false;
}

void Session::Impl::refuseCaller(RefuseReason r) {
  // Reliable, unlike everything else: the link ends right after it, so
  // there is no next Hello to answer again, and the caller should learn
  // why rather than see the link close.
  packet = writePacket(Refuse{r});
  stats.bytesSent += int64_t(packet.size());
  link.send(Channel::Reliable, packet);
  turnAwayCaller(r);
}

bool Session::Impl::onHello(const Hello& h, int version, int64_t now) {
  if (cfg.role != Role::Host) return false;
  if (phase != Phase::WaitingForPeer) {
    // Our Welcome was lost: the greeted caller asks again.
    if (version != kProtocolVersion || !sameCode(h.code, cfg.code)) return false;
    send(Channel::Unreliable, welcome);
    return true;
  }
  if (version != kProtocolVersion) {
    // The caller cannot read our packets: say why in the one layout every
    // version keeps.
    refuseCaller(RefuseReason::WrongVersion);
    return true;  // answered, though not welcomed
  }
  Tries& t = triesOf(link.peerAddress(), now);
  if (t.wrong >= kMaxWrongCodesPerMinute) {
    refuseCaller(RefuseReason::TooManyTries);
    return true;  // answered, though not welcomed
  }
  if (!sameCode(h.code, cfg.code)) {
    ++t.wrong;
    refuseCaller(RefuseReason::WrongCode);
    return true;  // answered, though not welcomed
  }
  if (h.side == uint8_t(cfg.side)) {
    refuseCaller(RefuseReason::SideTaken);
    return true;  // answered, though not welcomed
  }
  const ConfigValues& v = cfg.settings;
  welcome = Welcome{uint8_t(cfg.side), v.keypadMode, v.tickInterval, v.soundOn, cfg.loadSeed};
  send(Channel::Unreliable, welcome);
  begin(cfg.side == Side::Left, v, cfg.loadSeed, now);
  return true;
}

void Session::Impl::onGreeting(const Packet& p, int64_t now) {
  bool valid = false;
  if (const auto* h = std::get_if<Hello>(&p.body)) {
    valid = onHello(*h, p.version, now);
  } else if (const auto* rf = std::get_if<Refuse>(&p.body)) {
    // Only an answer to our own greeting: mid-match a refusal means nothing.
    if (phase == Phase::WaitingForPeer && cfg.role == Role::Joiner && helloSent) {
      peerVersion = p.version;
      return end(outcomeOf(rf->reason));
    }
    if (phase == Phase::WaitingForPeer && cfg.role == Role::Host) {
      return turnAwayCaller(rf->reason);  // the caller refuses us: the next may not
    }
  } else if (const auto* w = std::get_if<Welcome>(&p.body)) {
    if (cfg.role == Role::Joiner && phase != Phase::WaitingForPeer) {
      valid = p.version == kProtocolVersion;  // a repeat, answering a repeated Hello
    } else if (cfg.role == Role::Joiner && helloSent) {
      if (p.version != kProtocolVersion) {
        peerVersion = p.version;
        packet = writePacket(Refuse{RefuseReason::WrongVersion});
        link.send(Channel::Reliable, packet);
        return end(Outcome::WrongVersion);
      }
      // The host checked our wish; a host that ignores it is not trusted.
      if (cfg.sideChosen && w->hostSide == uint8_t(cfg.side)) return end(Outcome::SideTaken);
      lastHeard = now;
      return begin(w->hostSide != 0, ConfigValues{w->keypadMode, w->tickIntervalMs, w->soundOn},
                   w->loadSeed, now);
    }
  }
  if (valid) {
    lastHeard = now;
  } else {
    ++stats.malformedPackets;
  }
}

void Session::Impl::begin(bool leftSide, const ConfigValues& shared, uint32_t seed, int64_t now) {
  localLeft = leftSide;
  ws.setConfig(shared);
  openWindow(*game, ws, seed);
  for (std::size_t i = 0; i < game->sounds.size(); ++i) sounds.push_back(game->sounds[i]);
  game->sounds.clear();
  for (auto& m : ws.takeMessages()) messages.push_back(std::move(m));
  confirmed = {sim::ConfigCommand{shared}, sim::SeedCommand{seed}};
  // A tick interval below 1 ms cannot come from the settings window; the
  // frame clock needs a positive one.
  intervalMicros = int64_t(shared.tickInterval > 0 ? shared.tickInterval : 1) * 1000;
  localFixed = cfg.inputDelayFrames;  // the first delayed frames carry nothing
  nextDue = now;
  phase = Phase::Running;
}

}  // namespace zelkar::net
