// The running Session: inputs both ways, prediction and rollback, the
// frame clock with its time synchronisation, confirmation and the exchange
// of state hashes.
#include <algorithm>

#include "net/overloaded.h"
#include "net/session_impl.h"
#include "net/snapshot.h"

namespace zelkar::net {

void Session::Impl::receiveAll(int64_t now) {
  while (link.receive(packet)) {
    stats.bytesReceived += int64_t(packet.size());
    const std::optional<Packet> p = readPacket(packet);
    if (!p) {
      ++stats.malformedPackets;
      continue;
    }
    // Only what this session can check and use keeps the peer "heard":
    // a peer whose every packet is refused is as good as silent.
    const bool waiting = phase == Phase::WaitingForPeer;
    const bool valid =
        std::visit(Overloaded{
                       [&](const Hello&) { return onGreeting(*p, now), false; },
                       [&](const Welcome&) { return onGreeting(*p, now), false; },
                       [&](const Refuse&) { return onGreeting(*p, now), false; },
                       // The host's first inputs can overtake its welcome; they come
                       // again, so they are left unread.
                       [&](const Inputs& in) { return !waiting && onInputs(in); },
                       [&](const Hashes& h) { return !waiting && onHashes(h); },
                       [&](const Bye&) { return !waiting && (byeReceived = byeAnswerDue = true); },
                   },
                   p->body);
    if (valid) {
      lastHeard = now;
    } else if (!waiting && !std::holds_alternative<Hello>(p->body) &&
               !std::holds_alternative<Welcome>(p->body) &&
               !std::holds_alternative<Refuse>(p->body)) {
      ++stats.malformedPackets;
    }
  }
}

bool Session::Impl::blocked() const {
  // Neither side runs far past the other's inputs, nor past what the
  // rings and the hash backlog hold.
  return frame - remoteKnown >= kMaxFramesAhead || localFixed + 1 - peerAck >= kRing - 2 ||
         unchecked.size() >= kMaxHashBacklog || hashOut.size() >= kMaxHashBacklog;
}

bool Session::Impl::lingering() const {
  // After the end there is still something to tell the peer: the last
  // acknowledgements and hashes of a match that ended by its inputs, or
  // the hashes that show a desync.
  return phase == Phase::Ended && !peerGone &&
         (confirmedOver || (outcome == Outcome::Desync && !hashOut.empty()));
}

void Session::Impl::pollRunning(int64_t now) {
  const bool playing = phase == Phase::Running;
  if (!playing && !lingering()) return;

  if (rollbackFrom != kNever && playing) rollback();
  if (playing) {
    // The side ahead by more than a frame lets a little more time pass
    // between its frames, so that neither side is rolled back all the time.
    const int64_t lead = ((frame - peerFrame) - peerAdvantage) / 2;
    const int64_t slowdown = lead > 1 ? intervalMicros / 8 : 0;
    bool waiting = false;
    for (int64_t run = 0; now >= nextDue && !match.over(); ++run) {
      if (blocked()) {
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
  if (lastInputsSent < 0 || frame > lastSentFrame || now - lastInputsSent >= intervalMicros)
    sendInputs(now);
  sendHashes(now, phase == Phase::Ended);
  const bool repeatDue = !byeReceived && now - lastByeSent >= kRepeatMicros;
  if (confirmedOver && unchecked.empty() && hashOut.empty() &&
      (!byeSent || repeatDue || byeAnswerDue)) {
    // Repeated until the peer's own Bye shows it is done too, and sent
    // again for each of the peer's, whose repeats say ours was lost.
    byeSent = true;
    byeAnswerDue = false;
    lastByeSent = now;
    send(Channel::Unreliable, Bye{});
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

bool Session::Impl::onInputs(const Inputs& in) {
  const int64_t first = in.first, stop = first + int64_t(in.frames.size());
  const int64_t peerRan = in.frame;
  // Acknowledging frames or hashes we never sent, skipping frames we lack,
  // running further ahead than our rings reach, or claiming a frame its
  // own inputs contradict (a side fixes its inputs at most the input delay
  // ahead of its frame, and runs at most kMaxFramesAhead past ours) is not
  // something a peer does.
  bool valid = int64_t(in.ack) <= localFixed && first <= remoteKnown &&
               stop <= finalEnd + kRing - 1 && stop <= peerRan + kMaxInputDelay &&
               peerRan <= int64_t(in.ack) + kMaxFramesAhead && int64_t(in.hashAck) <= hashSentUpTo;
  for (std::size_t i = 0; valid && i < in.frames.size(); ++i) {
    for (const Event& e : in.frames[i]) valid = valid && validRemote(e);
    // A frame we already have must come again unchanged (one so old that
    // the ring has moved past it can no longer be compared).
    const int64_t f = first + int64_t(i);
    if (valid && f < remoteKnown && f + kRing > remoteKnown) valid = remoteAt(f) == in.frames[i];
  }
  if (!valid) return false;
  for (int64_t f = remoteKnown; f < stop; ++f) {
    FrameEvents& slot = remoteAt(f);
    slot = in.frames[std::size_t(f - first)];
    // We ran this frame predicting nothing new from the peer.
    if (f < frame && !slot.empty()) rollbackFrom = std::min(rollbackFrom, f);
  }
  remoteKnown = std::max(remoteKnown, stop);
  peerAck = std::max(peerAck, int64_t(in.ack));
  while (!hashOut.empty() && hashOut.front().tick < int64_t(in.hashAck)) hashOut.pop_front();
  if (peerRan >= peerFrame) {
    peerFrame = peerRan;
    // The peer counts its lead from the last frame of ours it heard of,
    // which is at most our frame now: a claim of being further behind
    // than that is not believed, so a peer cannot slow us by words alone.
    peerAdvantage = int(std::max<int64_t>(in.advantage, peerRan - firstRunEnd));
  }
  return true;
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
  // A replayed frame's message boxes were shown when it first ran.
  std::vector<sim::Message> shown = ws.takeMessages();
  if (firstRun)
    for (auto& m : shown) messages.push_back(std::move(m));
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
      hashOut.push_back(OutHash{t.tick, t.hash});
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

bool Session::Impl::onHashes(const Hashes& h) {
  // Repeated until acknowledged, so batches come again, overlap and
  // arrive out of order: take what follows what we have, and keep no more
  // than the backlog (the rest comes again once we acknowledge).
  const int64_t first = h.first;
  if (first > peerHashNext) return true;  // a gap a repeat will fill
  for (std::size_t i = std::size_t(peerHashNext - first); i < h.hashes.size(); ++i) {
    if (peerHashes.size() >= kMaxHashBacklog) break;
    peerHashes.push_back(h.hashes[i]);
    ++peerHashNext;
  }
  return true;
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
      // Also after an end by the inputs: the last hashes still count.
      phase = Phase::Ended;
      outcome = Outcome::Desync;  // our hashes go on until the peer has them
      return;
    }
  }
}

void Session::Impl::sendInputs(int64_t now) {
  Inputs in;
  in.ack = uint32_t(remoteKnown);
  in.hashAck = uint32_t(peerHashNext);
  // Frames run at least once: a rollback at the end of the match stops
  // at its last frame and leaves `frame` behind what our inputs cover.
  in.frame = uint32_t(firstRunEnd);
  in.advantage = int8_t(std::clamp<int64_t>(firstRunEnd - peerFrame, -127, 127));
  in.first = uint32_t(peerAck);
  // Header 4 + ack, hash ack, frame, advantage, first, frame and busy
  // counts 19;
  // then each frame that has events: its place, its count, the events.
  std::size_t bytes = 23;
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
  // New hashes go in batches (all at once at the end). The peer takes
  // them in order only, so one that was lost holds back all after it: once
  // the oldest unacknowledged has waited kHashRepeatMicros, everything
  // unacknowledged goes again. On a link that loses nothing that never
  // happens; repeating all every kHashRepeatMicros instead resent, three
  // times a second, the hashes merely still on their way.
  const int64_t unsent = hashOut.back().tick - hashSentUpTo + 1;
  const bool flush = unsent > 0 && (all || unsent >= int64_t(kHashBatch) ||
                                    now - lastHashSent >= kHashFlushMicros);
  const OutHash& oldest = hashOut.front();
  const bool repeat = oldest.sentAt >= 0 && now - oldest.sentAt >= kHashRepeatMicros;
  if (!flush && !repeat) return;
  // Ticks in hashOut follow each other, so each packet is one run.
  std::size_t from = repeat ? 0 : hashOut.size() - std::size_t(unsent);
  while (from < hashOut.size()) {
    Hashes h;
    h.first = uint32_t(hashOut[from].tick);
    for (; from < hashOut.size() && h.hashes.size() < kMaxHashesPerPacket; ++from) {
      h.hashes.push_back(hashOut[from].hash);
      hashOut[from].sentAt = now;
    }
    send(Channel::Unreliable, h);
  }
  hashSentUpTo = hashOut.back().tick + 1;
  lastHashSent = now;
}

}  // namespace zelkar::net
