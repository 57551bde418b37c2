// A local key acts on the frame it was pressed in, or that many frames
// later with an input delay; the record shows it there on both machines.
#include <gtest/gtest.h>

#include "events/script.h"
#include "session_pair.h"

namespace zelkar::net::testing {
namespace {

// Ticks run before the first `down KEY` of a record.
int64_t ticksBefore(const std::vector<sim::Command>& record, int16_t key) {
  int64_t ticks = 0;
  for (const sim::Command& c : record) {
    if (const auto* t = std::get_if<sim::TickCommand>(&c)) ticks += t->count;
    if (const auto* d = std::get_if<sim::KeyDownCommand>(&c); d && d->keyCode == key) return ticks;
  }
  return -1;
}

class InputDelay : public ::testing::TestWithParam<int> {};

TEST_P(InputDelay, TheJoinersKeyActsThatManyFramesLater) {
  const int delay = GetParam();
  SimLinkConfig link;
  link.latencyMicros = 20000;
  SessionConfig j = SessionPair::joinerConfig();
  j.inputDelayFrames = delay;
  SessionPair p(link, SessionPair::hostConfig(), j);
  ASSERT_TRUE(p.connect());
  for (int i = 0; i < 30; ++i) p.advance();
  // The host starts: its frame S0 is the first to tick.
  const int64_t startFrame = p.host.frame();
  p.host.start(sim::StartCommand{});
  while (p.joiner.frame() < startFrame + 40) p.advance();
  // The joiner presses L, its letter key of "left", on its frame J.
  const int64_t pressFrame = p.joiner.frame();
  p.joiner.localKeyDown(76, 0);
  for (int i = 0; i < 300; ++i) p.advance();

  // In the shared game "left" of the right side is the host's keypad 4.
  const int64_t expected = pressFrame + delay - startFrame;
  EXPECT_EQ(ticksBefore(p.host.confirmedCommands(), 100), expected);
  EXPECT_EQ(ticksBefore(p.joiner.confirmedCommands(), 100), expected);
}

INSTANTIATE_TEST_SUITE_P(Frames, InputDelay, ::testing::Values(0, 1, 3, kMaxInputDelay));

}  // namespace
}  // namespace zelkar::net::testing
