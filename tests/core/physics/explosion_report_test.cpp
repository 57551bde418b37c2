#include <gtest/gtest.h>

#include "physics/round_restart.h"
#include "support/arena_setup.h"

namespace zelkar {
namespace {

using namespace zelkar::testing;

// explodeVehicle runs every size of the blast inside one handler; the window can
// only show it from the report, so the report must say where and how big.
TEST(ExplosionReport, EitherVehicleIsReportedAtItsCentreWithTheFullBlastWidth) {
  for (int v = 0; v < 2; ++v) {
    FakeWindowSystem ws;
    Game g = battleGame(ws);
    placeVehicle(g, v, 400.25f, 120.5f, 30, -20);
    g.explosions.clear();
    explodeVehicle(g, v);
    ASSERT_EQ(g.explosions.size(), 1u) << v;
    const VehicleExplosion& e = g.explosions[0];
    EXPECT_EQ(e.vehicle, v);
    // The centre is the corner plus the radius (11 px with the 21-px disc).
    EXPECT_FLOAT_EQ(e.centreX, 400.25f + 11);
    EXPECT_FLOAT_EQ(e.centreY, 120.5f + 11);
    EXPECT_EQ(e.widthFrom, 31);  // baku's picture is 31 px wide
    EXPECT_EQ(e.picture, g.screen.baku[v].picture);
    // The rules themselves end as before: the blast and the vehicle hidden,
    // the big explosion sound requested.
    EXPECT_FALSE(g.screen.baku[v].visible);
    EXPECT_FALSE(g.screen.kyara[v].visible);
    ASSERT_GE(g.sounds.size(), 1u);
    EXPECT_EQ(g.sounds[g.sounds.size() - 1], Sound::bakuhatuon2);
  }
}

// A reader that never empties the queue (an online session's game) still
// finds the newest reports, by number.
TEST(ExplosionReport, AFullQueueKeepsTheNewestAndNeverGrows) {
  FakeWindowSystem ws;
  Game g = battleGame(ws);
  const uint64_t before = g.explosions.pushed();
  g.explosions.clear();
  for (std::size_t i = 0; i < ExplosionQueue::kCapacity + 5; ++i) explodeVehicle(g, int(i % 2));
  ASSERT_EQ(g.explosions.size(), ExplosionQueue::kCapacity);
  EXPECT_EQ(g.explosions.pushed(), before + 13);
  // Reports 5..12 of the 13 stay: the oldest held is vehicle 5 % 2, the newest 12 % 2.
  EXPECT_EQ(g.explosions[0].vehicle, 1);
  EXPECT_EQ(g.explosions[ExplosionQueue::kCapacity - 1].vehicle, 0);
}

}  // namespace
}  // namespace zelkar
