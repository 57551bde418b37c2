// The Session's face: the calls of the front end, and the greeting that
// builds the same game on both machines before the first frame.
#include "net/session.h"

#include <utility>

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
  }
  return Outcome::WrongVersion;
}

}  // namespace

Session::Impl::Impl(Link& l, const SessionConfig& c) : link(l), cfg(c) {
  if (cfg.inputDelayFrames < 0) cfg.inputDelayFrames = 0;
  if (cfg.inputDelayFrames > kMaxInputDelay) cfg.inputDelayFrames = kMaxInputDelay;
  if (cfg.code.size() > kMaxCodeBytes) cfg.code.resize(kMaxCodeBytes);
  localRight = rightPlayerKeys(cfg.settings.keypadMode);
}

void Session::Impl::send(Channel ch, const Body& body) {
  packet = writePacket(body);
  stats.bytesSent += int64_t(packet.size());
  link.send(ch, packet);
}

void Session::Impl::end(Outcome o) {
  if (phase == Phase::Ended) return;
  phase = Phase::Ended;
  outcome = o;
}

void Session::Impl::pollGreeting(int64_t now) {
  if (!connected && link.state() == LinkState::Connected) {
    connected = true;
    lastHeard = now;
    if (cfg.role == Role::Joiner && !helloSent) {
      helloSent = true;
      send(Channel::Reliable, Hello{cfg.code, uint8_t(cfg.sideChosen ? int(cfg.side) : 2)});
    }
  }
}

void Session::Impl::onGreeting(const Packet& p, int64_t now) {
  if (const auto* rf = std::get_if<Refuse>(&p.body)) {
    peerVersion = p.version;
    return end(outcomeOf(rf->reason));
  }
  if (phase != Phase::WaitingForPeer) return void(++stats.malformedPackets);
  if (p.version != kProtocolVersion) {
    // The peer cannot read our packets: say why in the one layout every
    // version keeps, and stop.
    peerVersion = p.version;
    send(Channel::Reliable, Refuse{RefuseReason::WrongVersion});
    return end(Outcome::WrongVersion);
  }
  if (const auto* h = std::get_if<Hello>(&p.body)) {
    if (cfg.role != Role::Host) return void(++stats.malformedPackets);
    if (!sameCode(h->code, cfg.code)) {
      send(Channel::Reliable, Refuse{RefuseReason::WrongCode});
      return end(Outcome::WrongCode);
    }
    if (h->side == uint8_t(cfg.side)) {
      send(Channel::Reliable, Refuse{RefuseReason::SideTaken});
      return end(Outcome::SideTaken);
    }
    const ConfigValues& v = cfg.settings;
    send(Channel::Reliable,
         Welcome{uint8_t(cfg.side), v.keypadMode, v.tickInterval, v.soundOn, cfg.loadSeed});
    return begin(cfg.side == Side::Left, v, cfg.loadSeed, now);
  }
  if (const auto* w = std::get_if<Welcome>(&p.body)) {
    if (cfg.role != Role::Joiner || !helloSent) return void(++stats.malformedPackets);
    // The host checked our wish; a host that ignores it is not trusted.
    if (cfg.sideChosen && w->hostSide == uint8_t(cfg.side)) return end(Outcome::SideTaken);
    return begin(w->hostSide != 0, ConfigValues{w->keypadMode, w->tickIntervalMs, w->soundOn},
                 w->loadSeed, now);
  }
  ++stats.malformedPackets;
}

void Session::Impl::begin(bool leftSide, const ConfigValues& shared, uint32_t seed, int64_t now) {
  localLeft = leftSide;
  ws.setConfig(shared);
  openWindow(*game, ws, seed);
  for (std::size_t i = 0; i < game->sounds.size(); ++i) sounds.push_back(game->sounds[i]);
  game->sounds.clear();
  for (auto& m : ws.messages()) messages.push_back(std::move(m));
  ws.messages().clear();
  confirmed = {sim::ConfigCommand{shared}, sim::SeedCommand{seed}};
  // A tick interval below 1 ms cannot come from the settings window; the
  // frame clock needs a positive one.
  intervalMicros = int64_t(shared.tickInterval > 0 ? shared.tickInterval : 1) * 1000;
  localFixed = cfg.inputDelayFrames;  // the first delayed frames carry nothing
  nextDue = now;
  phase = Phase::Running;
}

void Session::Impl::queueLocal(Event e) {
  if (localDone || phase == Phase::Ended) return;
  pendingLocal.push_back(std::move(e));
}

Session::Session(Link& link, const SessionConfig& config)
    : impl_(std::make_unique<Impl>(link, config)) {}
Session::~Session() = default;

void Session::localKeyDown(int16_t keyCode, int16_t shift) {
  if (isStopKey(keyCode, shift)) return stop();
  const int control = controlOfKey(keyCode, impl_->localRight);
  if (control < 0 || impl_->phase != Phase::Running) return;
  const int16_t key = keyOfSide(impl_->game->s, impl_->localLeft, control);
  if (key == 0) return;
  Event e;
  e.kind = Event::Kind::KeyDown, e.keyCode = key;
  impl_->queueLocal(std::move(e));
}

void Session::localKeyUp(int16_t keyCode) {
  const int control = controlOfKey(keyCode, impl_->localRight);
  if (control < 0 || impl_->phase != Phase::Running) return;
  const int16_t key = keyOfSide(impl_->game->s, impl_->localLeft, control);
  if (key == 0) return;
  Event e;
  e.kind = Event::Kind::KeyUp, e.keyCode = key;
  impl_->queueLocal(std::move(e));
}

void Session::setLocalKeyboard(int16_t keypadMode) {
  impl_->localRight = rightPlayerKeys(keypadMode);
}

void Session::start(const sim::StartCommand& choices) {
  if (impl_->cfg.role != Role::Host) return;
  Event e;
  e.kind = Event::Kind::Start, e.given = choices.given, e.friction = choices.friction;
  // The count box holds a short number; what does not fit a packet could
  // not be a count anyway.
  if (choices.given) e.text = choices.text.substr(0, kMaxTextBytes);
  impl_->queueLocal(std::move(e));
}

void Session::answer(std::string_view text) {
  if (text != "y" && text != "Y" && text != "n" && text != "N") return;
  Event e;
  e.kind = Event::Kind::Answer, e.yes = text == "y" || text == "Y";
  impl_->queueLocal(std::move(e));
}

void Session::stop() {
  Event e;
  e.kind = Event::Kind::KeyDown, e.keyCode = kVkF2, e.shift = kShiftCtrlOnly;
  impl_->queueLocal(std::move(e));
}

void Session::done() {
  Event e;
  e.kind = Event::Kind::Done;
  impl_->queueLocal(std::move(e));
  impl_->localDone = true;
}

void Session::poll(int64_t nowMicros) {
  Impl& s = *impl_;
  s.link.service(nowMicros);
  if (s.phase == Phase::WaitingForPeer) s.pollGreeting(nowMicros);
  s.pollRunning(nowMicros);
  s.lastPoll = nowMicros;
}

Phase Session::phase() const { return impl_->phase; }
Outcome Session::outcome() const { return impl_->outcome; }
int64_t Session::desyncTick() const { return impl_->desyncTick; }
int Session::peerProtocolVersion() const { return impl_->peerVersion; }
bool Session::finished() const {
  const Impl& s = *impl_;
  if (s.phase != Phase::Ended) return false;
  // A match that ended by its inputs is over for us once both sides have
  // checked every hash; anything else has nothing left to exchange.
  return !s.confirmedOver || (s.byeSent && s.byeReceived) || s.peerGone;
}
Side Session::localSide() const { return impl_->localLeft ? Side::Left : Side::Right; }
const SessionConfig& Session::config() const { return impl_->cfg; }
const std::string& Session::code() const { return impl_->cfg.code; }
const Game& Session::game() const { return *impl_->game; }
int64_t Session::frame() const { return impl_->frame; }
int64_t Session::ticks() const { return impl_->match.ticks; }
bool Session::waitingForPeerAnswer() const {
  const Impl& s = *impl_;
  return s.game->awaitingAnswer && s.match.saidYes[s.localLeft ? 0 : 1];
}

std::vector<Sound> Session::takeSounds() { return std::exchange(impl_->sounds, {}); }
std::vector<std::array<std::string, 2>> Session::takeMessages() {
  return std::exchange(impl_->messages, {});
}
std::vector<ConfirmedTick> Session::takeConfirmedTicks() {
  return std::exchange(impl_->newTicks, {});
}
const std::vector<sim::Command>& Session::confirmedCommands() const { return impl_->confirmed; }
const SessionStats& Session::stats() const { return impl_->stats; }

}  // namespace zelkar::net
