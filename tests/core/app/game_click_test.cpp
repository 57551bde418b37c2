#include <gtest/gtest.h>

#include <cmath>

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

TEST(GameClick, RandomCountsRangeOverTwoToElevenObstacles) {
  int lowest = 99, highest = -1;
  for (uint32_t seed = 1; seed < 200; ++seed) {
    FakeWindowSystem ws;
    Game g = startedGame(ws, seed);
    lowest = std::min<int>(lowest, g.s.lastObstacle);
    highest = std::max<int>(highest, g.s.lastObstacle);
    for (int i = 0; i < 11; ++i) EXPECT_EQ(g.screen.tiri[i].visible, i <= g.s.lastObstacle);
  }
  EXPECT_EQ(lowest, 1);
  EXPECT_EQ(highest, 10);
}

TEST(GameClick, FrictionIsDrawnInHundredthsWithKineticAtMostStatic) {
  for (uint32_t seed = 1; seed < 300; ++seed) {
    FakeWindowSystem ws;
    Game g = startedGame(ws, seed, true);
    const double muS = g.s.frictionCoef[0] / 9.8, muK = g.s.frictionCoef[1] / 9.8;
    EXPECT_GE(muS, 0.0999);
    EXPECT_LE(muS, 0.5001);
    EXPECT_LE(muK, muS + 1e-6);
    EXPECT_NEAR(muS * 100, std::round(muS * 100), 1e-4);
    EXPECT_TRUE(g.screen.hyoumas[0].visible);
    EXPECT_TRUE(g.screen.masatu[1].visible);
    EXPECT_FALSE(g.screen.hyoumas[0].caption.view().empty());
  }
  FakeWindowSystem ws;
  Game g = startedGame(ws, 3, false);
  EXPECT_EQ(g.s.frictionCoef[0], 0);
  EXPECT_FALSE(g.screen.hyoumas[0].visible);
}

TEST(GameClick, ResetsThePlayersAndLaysOutTheMatch) {
  FakeWindowSystem ws;
  Game g = loadedGame(ws);
  g.s.points = {9, 4};
  g.s.settingRow = {6, 6};
  gameClick(g, ws);
  const GameState& s = g.s;
  const ScreenModel& w = g.screen;
  EXPECT_FALSE(w.Picture2.visible);
  EXPECT_TRUE(w.scoreVisible);
  for (int p = 0; p < 2; ++p) {
    EXPECT_EQ(s.points[p], 0);
    EXPECT_EQ(s.settingRow[p], 0);
    EXPECT_EQ(s.setting[p], (Arr<float, 6>{10, 100, 200, 50, 10, 500}));
    EXPECT_TRUE(w.settei[p].visible);
    EXPECT_TRUE(w.kyara[p].visible);
    EXPECT_EQ(w.kyara[p].left, s.kitiLeft[p] + 8);
    EXPECT_EQ(w.tokuten[p].caption, "00");
    EXPECT_EQ(w.setsuuti[7 * p + 5].caption, "500");
    EXPECT_FLOAT_EQ(s.totalMass[p], 6220 + 1000 + 838.6f + 500);
    EXPECT_EQ(w.setsuuti[7 * p + 6].caption, "8558");
  }
  EXPECT_FLOAT_EQ(w.hline[0].x2, s.tables().dirLineX[32]);
  EXPECT_TRUE(w.hyosuu[17].visible);
  EXPECT_TRUE(w.tani[31].visible);
  EXPECT_TRUE(w.kabe[s.lastWall].visible);
  EXPECT_FALSE(w.kabe[s.lastWall + 1].visible);
}

}  // namespace
}  // namespace zelkar
