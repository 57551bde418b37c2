#include "net/frame.h"

#include "app/state_hash.h"

namespace zelkar::net {

namespace {

int64_t apply(Game& g, QuietWindow& ws, const FrameOutput& out, sim::Command c) {
  const int64_t ticks = play(g, ws, c);
  if (out.sounds)
    for (std::size_t i = 0; i < g.sounds.size(); ++i) out.sounds->push_back(g.sounds[i]);
  g.sounds.clear();
  if (out.applied) out.applied->push_back(std::move(c));
  return ticks;
}

void applySide(Game& g, QuietWindow& ws, MatchState& m, int side, const FrameEvents& events,
               const FrameOutput& out) {
  for (const Event& e : events) {
    switch (e.kind) {
      case Event::Kind::KeyDown:
        apply(g, ws, out, sim::KeyDownCommand{e.keyCode, e.shift});
        break;
      case Event::Kind::KeyUp:
        apply(g, ws, out, sim::KeyUpCommand{e.keyCode});
        break;
      case Event::Kind::Start:
        apply(g, ws, out, sim::StartCommand{e.given, e.given ? e.text : "", e.friction});
        break;
      case Event::Kind::Answer:
        // Only an asked question takes answers; the next match needs both
        // players' Y, and one N ends it for both.
        if (g.ended || !g.awaitingAnswer || !g.screen.han.visible) break;
        if (!e.yes) {
          m.noBy = int8_t(side);
          apply(g, ws, out, sim::AnswerCommand{"N"});
        } else {
          m.saidYes[std::size_t(side)] = true;
          if (m.saidYes[0] && m.saidYes[1]) {
            m.saidYes = {};
            apply(g, ws, out, sim::AnswerCommand{"Y"});
          }
        }
        break;
      case Event::Kind::Done:
        m.done[std::size_t(side)] = true;
        break;
    }
  }
}

}  // namespace

FrameResult runFrame(Game& g, QuietWindow& ws, MatchState& m, const FrameEvents& left,
                     const FrameEvents& right, const FrameOutput& out) {
  applySide(g, ws, m, 0, left, out);
  applySide(g, ws, m, 1, right, out);
  FrameResult r;
  if (!sim::simulationRunning(g)) return r;
  r.ticked = apply(g, ws, out, sim::TickCommand{1}) > 0;
  ++m.ticks;
  r.hash = stateHash(g);
  return r;
}

}  // namespace zelkar::net
