// The computer player as a player: it keeps quiet when no match runs, sees
// nothing of the game's generator, drives home to re-arm, and even the
// beginner fires at a target in reach.
#include "cpu/player.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "support/arena_setup.h"

namespace zelkar::testing {
namespace {

constexpr int16_t kBackKeys[2] = {105, 81};  // keypad 9 (keyboard kind 1), Q
constexpr int16_t kFireKeys[2] = {kRightFire, kLeftFire};

void send(Game& g, FakeWindowSystem& ws, const cpu::KeyEvents& keys) {
  for (const cpu::KeyEvent& e : keys) {
    if (e.down)
      formKeyDown(g, ws, e.keyCode, 0);
    else
      formKeyUp(g, e.keyCode, 0);
  }
}

TEST(CpuPlayer, QuietWhileNoMatchRunsOrTheQuestionWaits) {
  FakeWindowSystem ws;
  auto g = std::make_unique<Game>();
  formLoad(*g, ws, 5);
  startTimer(*g);
  auto expectQuiet = [&](const char* when) {
    for (int p = 0; p < 2; ++p)
      EXPECT_EQ(cpu::Player(p, 3, 5).decide(*g).size(), 0) << when << ", player " << p;
  };
  expectQuiet("start panel");
  gameClick(*g, ws);
  g->awaitingAnswer = true;
  expectQuiet("replay question");
}

TEST(CpuPlayer, NeverReadsTheGamesGenerator) {
  FakeWindowSystem ws;
  auto g = std::make_unique<Game>(startedGame(ws, 9, false, "11"));
  auto other = std::make_unique<Game>();
  cpu::Player seen[2] = {cpu::Player(0, 3, 9), cpu::Player(1, 2, 9)};
  cpu::Player blind[2] = {cpu::Player(0, 3, 9), cpu::Player(1, 2, 9)};
  for (int n = 0; n < 1500 && !g->awaitingAnswer; ++n) {
    *other = *g;
    other->rng.seed(g->rng.state() ^ 0x123456u);  // another future for the match
    for (int p = 0; p < 2; ++p) {
      const cpu::KeyEvents a = seen[p].decide(*g);
      const cpu::KeyEvents b = blind[p].decide(*other);
      ASSERT_EQ(a.size(), b.size()) << "tick " << n << " player " << p;
      for (int i = 0; i < a.size(); ++i) ASSERT_EQ(a[i], b[i]) << "tick " << n;
      send(*g, ws, a);
    }
    timer1Timer(*g);
  }
}

TEST(CpuPlayer, OutOfShellsOnItsBaseGoesBackToSetUp) {
  for (int p = 0; p < 2; ++p) {
    FakeWindowSystem ws;
    auto g = std::make_unique<Game>(startedGame(ws, 3, false, "1"));
    cpu::Player cpu(p, 3, 3);
    // Set up and confirm; both vehicles still stand on their bases.
    for (int n = 0; n < 3000 && g->s.settingRow[p] != kRowInBattle; ++n) {
      send(*g, ws, cpu.decide(*g));
      if (g->s.settingRow[p] != kRowInBattle) timer1Timer(*g);
    }
    ASSERT_EQ(g->s.settingRow[p], kRowInBattle);
    EXPECT_EQ(g->s.setting[p][4], 1.0f) << "level 3 fires the lightest shells";
    g->s.shellsLeft[p] = 0;
    const cpu::KeyEvents keys = cpu.decide(*g);
    ASSERT_EQ(keys.size(), 1);
    EXPECT_EQ(keys[0], (cpu::KeyEvent{true, kBackKeys[p]}));
    send(*g, ws, keys);
    EXPECT_EQ(g->s.settingRow[p], 0) << "the panel is open again";
  }
}

// A beginner's aim is rough, but it shoots: set up as it likes, it fires at
// a vehicle standing 150 px off in an empty arena within 3 s and destroys it
// within 30 s.
TEST(CpuPlayer, LevelOneFiresAtAStandingTargetInReach) {
  for (int p = 0; p < 2; ++p) {
    FakeWindowSystem ws;
    auto g = std::make_unique<Game>(startedGame(ws, 5));
    emptyArena(*g);
    const int q = 1 - p;
    formKeyDown(*g, ws, kFireKeys[q], 0);  // the other confirms at once
    cpu::Player cpu(p, 1, 5);
    for (int n = 0; n < 2000 && g->s.settingRow[p] != kRowInBattle; ++n) {
      send(*g, ws, cpu.decide(*g));
      tick(*g);
    }
    ASSERT_EQ(g->s.settingRow[p], kRowInBattle);
    placeVehicle(*g, p, 300, 280, 0, 0);
    placeVehicle(*g, q, p == 0 ? 150 : 450, 280, 0, 0);
    tick(*g);
    const int shells = g->s.shellsLeft[p];
    int firstShot = -1, destroyed = -1;
    for (int n = 0; n < 1000 && destroyed < 0; ++n) {
      send(*g, ws, cpu.decide(*g));
      if (firstShot < 0 && g->s.shellsLeft[p] < shells) firstShot = n;
      tick(*g);
      if (g->s.points[p] > 0) destroyed = n;
    }
    EXPECT_GE(firstShot, 0) << "player " << p;
    EXPECT_LT(firstShot, 100) << "player " << p;
    EXPECT_GE(destroyed, 0) << "player " << p;
    EXPECT_EQ(g->s.points[q], 0) << "player " << p << " destroyed itself";
  }
}

// A beginner looks seldom: a thrust held from one look to the next gives
// more speed than it wanted, and the next look thrusts back. Across the
// arena, round a wall standing on the way, it must arrive with most of its
// tank, or it turns home before it ever stands in reach.
TEST(CpuPlayer, LevelOneCrossesTheArenaWithFuelToSpare) {
  for (int p = 0; p < 2; ++p) {
    FakeWindowSystem ws;
    auto g = std::make_unique<Game>(startedGame(ws, 5));
    emptyArena(*g);
    const int q = 1 - p;
    formKeyDown(*g, ws, kFireKeys[q], 0);
    cpu::Player cpu(p, 1, 5);
    for (int n = 0; n < 2000 && g->s.settingRow[p] != kRowInBattle; ++n) {
      send(*g, ws, cpu.decide(*g));
      tick(*g);
    }
    ASSERT_EQ(g->s.settingRow[p], kRowInBattle);
    const float tank = g->s.fuelLeft[p];
    // 640 px apart, the wall's centre (380, 291) on the line between the centres.
    placeVehicle(*g, p, p == 0 ? 700 : 60, 280, 0, 0);
    placeVehicle(*g, q, p == 0 ? 60 : 700, 280, 0, 0);
    placeWall(*g, 0, 368, 279, 12);
    thickArmour(*g);  // its shots on the way must not end the round
    tick(*g);
    // Level 1 stands 240 px off, within 15 px of its place: 255 px, and 15 more for the
    // spot's angle round the target.
    float gap = 1e9f;
    for (int n = 0; n < 4000 && gap > 270; ++n) {
      send(*g, ws, cpu.decide(*g));
      tick(*g);
      gap = std::hypot(g->s.posX[p] - g->s.posX[q], g->s.posY[p] - g->s.posY[q]);
    }
    EXPECT_LE(gap, 270) << "player " << p;
    EXPECT_GT(g->s.fuelLeft[p], tank / 2) << "player " << p;
  }
}

bool presses(const cpu::KeyEvents& keys, int16_t code) {
  for (const cpu::KeyEvent& e : keys)
    if (e.down && e.keyCode == code) return true;
  return false;
}

// Struck while it sets up, both vehicles burst and both players score: level 3 confirms
// as a rammer comes on. At 80 px/s from 700 px off the blow is (700 - 21) / 80 = 8.5 s
// away; the 3 s average of its speed passes 30 px/s within 2 s, and the computer confirms
// once the blow is less than 3 s off. A vehicle standing off leaves it setting up.
TEST(CpuPlayer, LevelThreeConfirmsEarlyAsARammerComesOn) {
  for (int p = 0; p < 2; ++p) {
    for (const float speed : {80.0f, 0.0f}) {
      FakeWindowSystem ws;
      auto g = std::make_unique<Game>(startedGame(ws, 5));
      emptyArena(*g);
      const int q = 1 - p;
      formKeyDown(*g, ws, kFireKeys[q], 0);
      const float x = g->s.posX[p] + (p == 0 ? -700.0f : 700.0f);
      placeVehicle(*g, q, x, g->s.posY[p], p == 0 ? speed : -speed, 0);
      cpu::Player cpu(p, 3, 5);
      bool confirmed = false;
      for (int n = 0; n < 250 && !confirmed; ++n) {  // 7.5 s: the rammer has not arrived
        confirmed = presses(cpu.decide(*g), kFireKeys[p]);
        tick(*g);
      }
      EXPECT_EQ(confirmed, speed > 0) << "player " << p << " at " << speed << " px/s";
    }
  }
}

// Its shell would burst on the other's coming down the same line: level 3 holds its fire.
TEST(CpuPlayer, LevelThreeHoldsItsFireWhileTheOthersShellIsOnTheLine) {
  for (int p = 0; p < 2; ++p) {
    for (const bool shellOnLine : {false, true}) {
      FakeWindowSystem ws;
      auto g = std::make_unique<Game>(battleGame(ws, 5));
      const int q = 1 - p;
      // The guns face each other from the start: the right player's left, the left's right.
      placeVehicle(*g, p, 300, 280, 0, 0);
      placeVehicle(*g, q, p == 0 ? 150 : 450, 280, 0, 0);
      tick(*g);
      if (shellOnLine) {  // half way, coming at p as fast as its own shell leaves
        g->s.shellState[q][0] = 1;
        g->s.shellX[q][0] = (p == 0 ? 236 : 386) - g->s.shellHalf;
        g->s.shellY[q][0] = 291 - g->s.shellHalf;
        g->s.shellVX[q][0] = p == 0 ? g->s.muzzleSpeed[p][1] : -g->s.muzzleSpeed[p][1];
        g->s.shellVY[q][0] = 0;
      }
      cpu::Player cpu(p, 3, 5);
      EXPECT_EQ(presses(cpu.decide(*g), kFireKeys[p]), !shellOnLine) << "player " << p;
    }
  }
}

}  // namespace
}  // namespace zelkar::testing
