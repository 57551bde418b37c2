#include <gtest/gtest.h>

#include "app/match_end.h"
#include "support/arena_setup.h"

namespace zelkar {
namespace {

using namespace zelkar::testing;

// Destroys vehicle v through a contact at the end of its probe step.
void destroyByContact(Game& g, int v) {
  g.s.contactFlag = 0;
  g.s.armourLeft[v] = -1;
  g.s.settingRow[v] = kRowInBattle;
  // A wall right ahead of the vehicle finishes it.
  placeVehicle(g, v, 200, 200, 300, 0);
  placeWall(g, 0, 230, 196, 15);
  g.s.lastContact[v] = kNoContact;
  for (int n = 0; n < 5 && g.screen.kyara[v].visible; ++n) tick(g);
}

class MatchInBattle : public ::testing::Test, protected InBattle {};

TEST_F(MatchInBattle, TenPointsEndTheMatchAndAskForAReplay) {
  s.points[0] = 9;
  s.subjectPlayer = 0;
  destroyByContact(g, 1);
  ASSERT_TRUE(g.awaitingAnswer);
  EXPECT_EQ(s.points[0], 10);
  EXPECT_EQ(g.screen.tokuten[0].caption, "10");  // two digits, as "01" after one
  EXPECT_EQ(g.screen.timer1Interval, 0);
  EXPECT_TRUE(g.screen.mes1.visible);
  EXPECT_TRUE(g.screen.han.visible);
  EXPECT_EQ(g.screen.han.top, 276);
  EXPECT_EQ(g.screen.focus, Focus::Han);
  // The right player won: "勝者" over the right side, "敗者" over the left.
  EXPECT_EQ(g.screen.syousya.left, 605);
  EXPECT_EQ(g.screen.haisya.left, 130);
  EXPECT_TRUE(g.screen.syousya.visible);

  // While waiting, keys and ticks do nothing.
  const float x = s.posX[1];
  formKeyDown(g, ws, 68, 0);
  timer1Timer(g);
  EXPECT_EQ(s.posX[1], x);
  EXPECT_EQ(s.thrustX[1], 0);

  g.screen.han.caption = "x";
  hanChange(g, ws);
  EXPECT_TRUE(g.awaitingAnswer);
  EXPECT_EQ(g.screen.han.caption, "");
  EXPECT_TRUE(g.screen.mes1.visible);

  g.screen.han.caption = "y";
  hanChange(g, ws);
  EXPECT_FALSE(g.awaitingAnswer);
  EXPECT_TRUE(g.screen.Picture2.visible);
  EXPECT_EQ(g.screen.Picture2.top, 250);
  EXPECT_FALSE(g.screen.mes1.visible);
  EXPECT_FALSE(g.screen.syousya.visible);
  EXPECT_EQ(ws.endRequests, 0);
}

TEST(Match, NoEndsTheProgram) {
  for (const char* answer : {"N", "n"}) {
    FakeWindowSystem ws;
    Game g = battleGame(ws);
    g.s.points[1] = 9;
    destroyByContact(g, 0);
    ASSERT_TRUE(g.awaitingAnswer);
    EXPECT_EQ(g.screen.syousya.left, 130);  // the left player won
    g.screen.han.caption = answer;
    hanChange(g, ws);
    EXPECT_TRUE(g.ended);
    EXPECT_EQ(ws.endRequests, 1);
  }
}

TEST(Match, AStallScoresForBothOnTheRightTick) {
  for (bool friction : {false, true}) {
    FakeWindowSystem ws;
    Game g = battleGame(ws, 7, friction);
    GameState& s = g.s;
    s.fuelLeft = s.velX = s.velY = {0, 0};
    s.shellsLeft = {0, 0};
    int n = 0;
    for (; s.points[0] == 0 && n < 5000; ++n) tick(g);
    EXPECT_EQ(n, friction ? 3001 : 4501) << friction;
    EXPECT_EQ(s.points[1], 1);
    EXPECT_EQ(s.settingRow, (Arr<int16_t, 2>{0, 0}));  // both back in set-up
  }
}

TEST_F(MatchInBattle, AStallWithBothAtNineIsADraw) {
  s.points = {9, 9};
  s.fuelLeft = {0, 0};
  s.shellsLeft = {0, 0};
  s.stallTicks = 9000;
  tick(g);
  ASSERT_TRUE(g.awaitingAnswer);
  EXPECT_TRUE(g.screen.hikiwake[0].visible);
  EXPECT_TRUE(g.screen.hikiwake[1].visible);
  EXPECT_NE(g.screen.hikiwake[0].left, g.screen.hikiwake[1].left);
  EXPECT_FALSE(g.screen.syousya.visible);
}

}  // namespace
}  // namespace zelkar
