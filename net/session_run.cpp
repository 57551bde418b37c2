// The running Session: inputs both ways, prediction and rollback, the
// frame clock with its time synchronisation, confirmation and the exchange
// of state hashes.
#include <algorithm>

#include "net/session_impl.h"
#include "net/snapshot.h"

namespace zelkar::net {

void Session::Impl::pollRunning(int64_t now) {
  if (link.state() == LinkState::Closed && !byeReceived) {
    if (phase == Phase::Ended) peerGone = true;
    end(Outcome::ConnectionLost);
  }
  while (link.receive(packet)) {
    stats.bytesReceived += int64_t(packet.size());
    const std::optional<Packet> p = readPacket(packet);
    if (!p) {
      ++stats.malformedPackets;
      continue;
    }
    lastHeard = now;
    if (std::holds_alternative<Hello>(p->body) || std::holds_alternative<Welcome>(p->body) ||
        std::holds_alternative<Refuse>(p->body)) {
      onGreeting(*p, now);
    } else if (phase == Phase::WaitingForPeer) {
      // The host's first inputs can overtake its welcome on the other
      // channel; they come again, so they are left unread, not counted.
      if (!std::holds_alternative<Inputs>(p->body)) ++stats.malformedPackets;
    } else if (const auto* in = std::get_if<Inputs>(&p->body)) {
      onInputs(*in);
    } else if (const auto* h = std::get_if<Hashes>(&p->body)) {
      onHashes(*h);
    } else if (std::holds_alternative<Bye>(p->body)) {
      byeReceived = true;
    }
  }
  if (connected && !byeReceived && now - lastHeard > kSilenceMicros) {
    if (phase == Phase::Ended) peerGone = true;
    end(Outcome::ConnectionLost);
  }
  const bool playing = phase == Phase::Running;
  const bool finishing = phase == Phase::Ended && confirmedOver;
  if (!playing && !finishing) return;

  if (rollbackFrom != kNever) rollback();
  if (playing) {
    // The side ahead by more than a frame lets a little more time pass
    // between its frames, so that neither side is rolled back all the time.
    const int64_t lead = ((frame - peerFrame) - peerAdvantage) / 2;
    const int64_t slowdown = lead > 1 ? intervalMicros / 8 : 0;
    bool waiting = false;
    for (int64_t run = 0; now >= nextDue && !match.over(); ++run) {
      if (frame - remoteKnown >= kMaxFramesAhead || localFixed + 1 - peerAck >= kRing - 2) {
        waiting = true;
        break;
      }
      if (run == kMaxCatchUpFrames) {
        nextDue = now;  // far behind (a stalled front end): no race to catch up
        break;
      }
      step(true);
      nextDue += intervalMicros + slowdown;
    }
    if (waiting) {
      stats.waitedMicros += now - std::max(lastPoll, nextDue);
      nextDue = now;  // a frame that had to wait is due again at once, no debt builds up
    }
  }
  finalize();
  compareHashes();
  if (phase != Phase::Running && !confirmedOver) return;  // a desync found just now
  if (lastInputsSent < 0 || frame > lastSentFrame || now - lastInputsSent >= intervalMicros)
    sendInputs(now);
  sendHashes(now, confirmedOver);
  if (confirmedOver && !byeSent && unchecked.empty() && hashOut.empty()) {
    byeSent = true;
    send(Channel::Reliable, Bye{});
  }
}

bool Session::Impl::validRemote(const Event& e) const {
  const bool peerLeft = !localLeft;
  switch (e.kind) {
    case Event::Kind::KeyDown:
      // Its own side's keys, and Ctrl+F2 which stops the match for both.
      return isKeyOfSide(game->s, peerLeft, e.keyCode) || isStopKey(e.keyCode, e.shift);
    case Event::Kind::KeyUp:
      return isKeyOfSide(game->s, peerLeft, e.keyCode);
    case Event::Kind::Start:
      return cfg.role == Role::Joiner;  // only the host presses the start button
    case Event::Kind::Answer:
    case Event::Kind::Done:
      return true;
  }
  return false;
}

void Session::Impl::onInputs(const Inputs& in) {
  const int64_t first = in.first, stop = first + int64_t(in.frames.size());
  // Acknowledging frames we never sent, skipping frames we lack, or running
  // further ahead than our rings reach is not something a peer does.
  bool valid =
      int64_t(in.ack) <= localFixed && first <= remoteKnown && stop <= finalEnd + kRing - 1;
  for (std::size_t i = 0; valid && i < in.frames.size(); ++i) {
    for (const Event& e : in.frames[i]) valid = valid && validRemote(e);
    // A frame we already have must come again unchanged (one so old that
    // the ring has moved past it can no longer be compared).
    const int64_t f = first + int64_t(i);
    if (valid && f < remoteKnown && f + kRing > remoteKnown) valid = remoteAt(f) == in.frames[i];
  }
  if (!valid) return void(++stats.malformedPackets);
  for (int64_t f = remoteKnown; f < stop; ++f) {
    FrameEvents& slot = remoteAt(f);
    slot = in.frames[std::size_t(f - first)];
    // We ran this frame predicting nothing new from the peer.
    if (f < frame && !slot.empty()) rollbackFrom = std::min(rollbackFrom, f);
  }
  remoteKnown = std::max(remoteKnown, stop);
  peerAck = std::max(peerAck, int64_t(in.ack));
  peerFrame = std::max(peerFrame, int64_t(in.frame));
  peerAdvantage = in.advantage;
}

void Session::Impl::step(bool firstRun) {
  const int64_t f = frame;
  if (f >= remoteKnown) {
    // Run on a prediction: keep what to go back to.
    Snapshot& snap = snapshots[std::size_t(f % kSnapshots)];
    saveGame(*game, *snap.game);
    snap.match = match;
    snap.frame = f;
  }
  if (firstRun) {
    // Local keys enter the frame their delay points at, at most a frame's
    // worth at a time; the rest wait for the next.
    FrameEvents& mine = localAt(localFixed);
    mine.clear();
    while (!pendingLocal.empty() && mine.size() < kMaxEventsPerFrame) {
      mine.push_back(std::move(pendingLocal.front()));
      pendingLocal.pop_front();
    }
    ++localFixed;
  }
  static const FrameEvents kNothing;  // the peer's predicted inputs
  const FrameEvents& theirs = f < remoteKnown ? remoteAt(f) : kNothing;
  const FrameEvents& mine = localAt(f);
  Record& rec = records[std::size_t(f % kRing)];
  rec.applied.clear();
  std::vector<Sound> replayedSounds;
  FrameOutput out{&rec.applied, firstRun ? &sounds : &replayedSounds};
  rec.result =
      net::runFrame(*game, ws, match, localLeft ? mine : theirs, localLeft ? theirs : mine, out);
  rec.match = match;
  if (firstRun) {
    for (auto& m : ws.messages()) messages.push_back(std::move(m));
  }
  ws.messages().clear();
  ++frame;
  firstRunEnd = std::max(firstRunEnd, frame);
}

void Session::Impl::rollback() {
  const int64_t from = rollbackFrom, to = frame;
  rollbackFrom = kNever;
  const Snapshot& snap = snapshots[std::size_t(from % kSnapshots)];
  if (snap.frame != from) return;  // cannot happen: every predicted frame was saved
  restoreGame(*game, *snap.game);
  match = snap.match;
  frame = from;
  while (frame < to && !match.over()) step(false);
  ++stats.rollbacks;
  stats.replayedFrames += frame - from;
  stats.maxRollbackFrames = std::max(stats.maxRollbackFrames, int(to - from));
}

void Session::Impl::finalize() {
  const int64_t last = std::min(remoteKnown, frame);
  for (; finalEnd < last && !confirmedOver; ++finalEnd) {
    const Record& rec = records[std::size_t(finalEnd % kRing)];
    for (const sim::Command& c : rec.applied) {
      auto* tick = std::get_if<sim::TickCommand>(&c);
      auto* last = confirmed.empty() ? nullptr : std::get_if<sim::TickCommand>(&confirmed.back());
      if (tick && last)
        ++last->count;
      else
        confirmed.push_back(c);
    }
    if (rec.result.ticked) {
      const ConfirmedTick t{rec.match.ticks, rec.result.hash};
      newTicks.push_back(t);
      unchecked.push_back(t);
      hashOut.push_back(t);
    }
    if (rec.match.over()) {
      confirmedOver = true;
      const int localIndex = localLeft ? 0 : 1;
      end(rec.match.noBy < 0             ? Outcome::BothScriptsDone
          : rec.match.noBy == localIndex ? Outcome::LocalAnsweredNo
                                         : Outcome::PeerAnsweredNo);
    }
  }
}

void Session::Impl::onHashes(const Hashes& h) {
  // Reliable and in order: each batch starts where the last one ended.
  if (int64_t(h.first) != peerHashNext) return void(++stats.malformedPackets);
  for (uint64_t v : h.hashes) peerHashes.push_back(v);
  peerHashNext += int64_t(h.hashes.size());
}

void Session::Impl::compareHashes() {
  while (!unchecked.empty() && !peerHashes.empty()) {
    const ConfirmedTick t = unchecked.front();
    const uint64_t theirs = peerHashes.front();
    unchecked.pop_front();
    peerHashes.pop_front();
    if (t.hash != theirs) {
      desyncTick = t.tick;
      confirmedOver = false;  // nothing more to confirm: the match stops here
      end(Outcome::Desync);
      sendHashes(0, true);  // so that the peer finds it too
      return;
    }
  }
}

void Session::Impl::sendInputs(int64_t now) {
  Inputs in;
  in.ack = uint32_t(remoteKnown);
  in.frame = uint32_t(frame);
  in.advantage = int8_t(std::clamp<int64_t>(frame - peerFrame, -127, 127));
  in.first = uint32_t(peerAck);
  // Header 4 + ack, frame, advantage, first, frame and busy counts 15;
  // then each frame that has events: its place, its count, the events.
  std::size_t bytes = 19;
  for (int64_t f = peerAck; f < localFixed && in.frames.size() < kMaxFramesPerPacket; ++f) {
    std::size_t frameBytes = localAt(f).empty() ? 0 : 2;
    for (const Event& e : localAt(f)) frameBytes += eventBytes(e);
    if (bytes + frameBytes > Link::kMaxPacketBytes) break;
    bytes += frameBytes;
    in.frames.push_back(localAt(f));
  }
  send(Channel::Unreliable, in);
  lastInputsSent = now;
  lastSentFrame = frame;
}

void Session::Impl::sendHashes(int64_t now, bool all) {
  if (hashOut.empty()) return;
  if (!all && hashOut.size() < kHashBatch && now - lastHashSent < kHashFlushMicros) return;
  std::size_t i = 0;
  while (i < hashOut.size()) {
    Hashes h;
    h.first = uint32_t(hashOut[i].tick);
    for (; i < hashOut.size() && h.hashes.size() < kMaxHashesPerPacket; ++i)
      h.hashes.push_back(hashOut[i].hash);
    send(Channel::Reliable, h);
  }
  hashOut.clear();
  lastHashSent = now;
}

}  // namespace zelkar::net
