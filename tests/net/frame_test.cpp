// One frame of an online match: both sides' events in a fixed order, the
// replay question answered by both, and the tick.
#include "net/frame.h"

#include <gtest/gtest.h>

#include "app/match_end.h"

namespace zelkar::net {
namespace {

Event answer(bool yes) { return {.kind = Event::Kind::Answer, .yes = yes}; }
Event key(int16_t code) { return {.kind = Event::Kind::KeyDown, .keyCode = code}; }
Event done() { return {.kind = Event::Kind::Done}; }

class Frame : public ::testing::Test {
 protected:
  Frame() : g_(std::make_unique<Game>()), ws_(*g_) {
    ws_.setConfig(ConfigValues{1, 10, 0});
    restart();
  }
  // A fresh game, started.
  void restart() {
    g_ = std::make_unique<Game>();
    ws_.setGame(*g_);
    openWindow(*g_, ws_, 99);
    play(*g_, ws_, sim::StartCommand{false, "", false});
    m_ = MatchState{};
  }
  // The match is over as a draw: the question is asked.
  void askQuestion() {
    again2(*g_);
    ASSERT_TRUE(g_->awaitingAnswer);
  }
  using Commands = std::vector<sim::Command>;
  Commands run(const FrameEvents& left, const FrameEvents& right) {
    Commands applied;
    runFrame(*g_, ws_, m_, left, right, FrameOutput{&applied, nullptr});
    return applied;
  }
  static const sim::Command kY, kN;

  std::unique_ptr<Game> g_;
  QuietWindow ws_;
  MatchState m_;
};
const sim::Command Frame::kY = sim::AnswerCommand{"Y"};
const sim::Command Frame::kN = sim::AnswerCommand{"N"};

TEST_F(Frame, TheLeftSidesEventsComeFirstThenTheTick) {
  EXPECT_EQ(
      run({key(65)}, {key(100)}),
      (Commands{sim::KeyDownCommand{65, 0}, sim::KeyDownCommand{100, 0}, sim::TickCommand{1}}));
  EXPECT_EQ(m_.ticks, 1);
}

TEST_F(Frame, WhileTheQuestionStandsNoTickAndBothYesInOneFrameAnswerOnce) {
  askQuestion();
  EXPECT_TRUE(run({}, {}).empty());
  EXPECT_EQ(m_.ticks, 0);
  EXPECT_EQ(run({answer(true)}, {answer(true)}), Commands{kY});
}

TEST_F(Frame, TheNextMatchWaitsForBothYesInEitherOrder) {
  for (const bool leftFirst : {true, false}) {
    askQuestion();
    const FrameEvents first = {answer(true)};
    EXPECT_TRUE(leftFirst ? run(first, {}).empty() : run({}, first).empty());
    EXPECT_TRUE(g_->awaitingAnswer);
    EXPECT_TRUE(m_.saidYes[leftFirst ? 0 : 1]);
    EXPECT_EQ(leftFirst ? run({}, first) : run(first, {}), Commands{kY});
    EXPECT_FALSE(g_->awaitingAnswer);
    EXPECT_TRUE(g_->screen.Picture2.visible);  // the start panel again
    EXPECT_FALSE(m_.saidYes[0] || m_.saidYes[1]);
    EXPECT_FALSE(m_.over());
  }
}

TEST_F(Frame, OneNoEndsItForBothWhicheverSideSaysIt) {
  for (const int side : {0, 1}) {
    restart();
    askQuestion();
    // The other side's Y first does not save it.
    const FrameEvents yes = {answer(true)}, no = {answer(false)};
    run(side == 0 ? FrameEvents{} : yes, side == 0 ? yes : FrameEvents{});
    EXPECT_EQ(side == 0 ? run(no, {}) : run({}, no), Commands{kN});
    EXPECT_TRUE(g_->ended);
    EXPECT_EQ(m_.noBy, side);
    EXPECT_TRUE(m_.over());
  }
}

TEST_F(Frame, AnswersWithNoQuestionAreIgnored) {
  EXPECT_EQ(run({answer(false)}, {answer(true)}), Commands{sim::TickCommand{1}});  // the tick alone
  EXPECT_FALSE(m_.saidYes[1]);
  EXPECT_EQ(m_.noBy, -1);
}

TEST_F(Frame, TheSessionIsOverWhenBothSidesAreDone) {
  run({done()}, {});
  EXPECT_FALSE(m_.over());
  run({}, {done()});
  EXPECT_TRUE(m_.over());
  EXPECT_EQ(m_.noBy, -1);
}

}  // namespace
}  // namespace zelkar::net
