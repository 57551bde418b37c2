// The Session's face: the calls of the front end.
#include "net/session.h"

#include <utility>

#include "net/session_impl.h"

namespace zelkar::net {

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
  s.noteConnection(nowMicros);
  s.receiveAll(nowMicros);
  s.checkLink(nowMicros);
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
  if (s.peerGone) return true;
  if (s.confirmedOver) return s.byeSent && s.byeReceived;
  // A desync is over once the peer has every hash we confirmed, so that
  // it finds the difference too.
  if (s.outcome == Outcome::Desync) return s.hashOut.empty();
  return true;
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
std::vector<TurnedAway> Session::takeTurnedAway() { return std::exchange(impl_->turnedAway, {}); }
const std::vector<sim::Command>& Session::confirmedCommands() const { return impl_->confirmed; }
const SessionStats& Session::stats() const { return impl_->stats; }

}  // namespace zelkar::net
