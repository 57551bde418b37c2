#include <gtest/gtest.h>

#include "support/fake_window_system.h"

namespace zelkar {
namespace {

using testing::FakeWindowSystem;
using testing::loadedGame;
using testing::startedGame;

const std::pair<std::string, std::string> kCountRefused{"1-11の範囲に設定して下さい。",
                                                        "移動障害物個数"};

TEST(GameClick, GivenCountsWithinOneToElevenStartTheMatch) {
  for (auto [text, last] : {std::pair{"11", 10}, {"1", 0}, {"10.5", 9}, {" 3abc", 2}}) {
    FakeWindowSystem ws;
    Game g = startedGame(ws, 7, false, text);
    EXPECT_TRUE(ws.messages.empty()) << text;
    EXPECT_EQ(g.s.lastObstacle, last) << text;
    EXPECT_EQ(g.screen.timer1Interval, 10);
  }
}

TEST(GameClick, CountsOutsideTheRangeAreRefusedAndNothingChanges) {
  // An empty box blocks even a random count.
  for (auto [text, given] : {std::pair{"12", true},
                             {"0", true},
                             {"abc", true},
                             {"11.5", true},
                             {"-1", true},
                             {"99999999", true},
                             {"", false}}) {
    FakeWindowSystem ws;
    Game g = loadedGame(ws);
    g.screen.Option1.value = !given;
    g.screen.Option2.value = given;
    g.screen.tirikosu.caption = text;
    const uint32_t before = g.rng.state();
    gameClick(g, ws);
    ASSERT_EQ(ws.messages.size(), 1u) << text;
    EXPECT_EQ(ws.messages[0], kCountRefused);
    EXPECT_EQ(g.screen.focus, Focus::Tirikosu);
    EXPECT_EQ(g.rng.state(), before);
    EXPECT_EQ(g.screen.timer1Interval, 0);
    EXPECT_TRUE(g.screen.Picture2.visible);
  }
}

// The draws themselves (the random count, the coefficients) are held by the
// golden replays and, to the last bit, by precision_test.cpp.
TEST(GameClick, FrictionIsShownOnlyWhenItIsOn) {
  for (const bool friction : {true, false}) {
    FakeWindowSystem ws;
    Game g = startedGame(ws, 3, friction);
    EXPECT_EQ(g.s.frictionCoef[0] > 0, friction);
    EXPECT_EQ(g.screen.hyoumas[0].visible, friction);
    EXPECT_EQ(g.screen.masatu[1].visible, friction);
    EXPECT_TRUE(!friction || !g.screen.hyoumas[0].caption.view().empty());
  }
}

// The players' reset (points, rows, settings, places, guns) is held by the
// golden replays; the window's side of it here.
TEST(GameClick, ResetsThePlayersAndLaysOutTheMatch) {
  FakeWindowSystem ws;
  Game g = loadedGame(ws);
  gameClick(g, ws);
  const GameState& s = g.s;
  const ScreenModel& w = g.screen;
  EXPECT_FALSE(w.Picture2.visible);
  EXPECT_TRUE(w.scoreVisible);
  for (int p = 0; p < 2; ++p) {
    EXPECT_TRUE(w.settei[p].visible);
    EXPECT_TRUE(w.kyara[p].visible);
    EXPECT_EQ(w.tokuten[p].caption, "00");
    EXPECT_EQ(w.setsuuti[7 * p + 5].caption, "500");
    EXPECT_EQ(w.setsuuti[7 * p + 6].caption, "8558");
  }
  EXPECT_TRUE(w.hyosuu[17].visible);
  EXPECT_TRUE(w.tani[31].visible);
  EXPECT_TRUE(w.kabe[s.lastWall].visible);
  EXPECT_FALSE(w.kabe[s.lastWall + 1].visible);
}

}  // namespace
}  // namespace zelkar
