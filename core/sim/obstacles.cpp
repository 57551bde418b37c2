#include "sim/obstacles.h"

#include "arena/rounding.h"
#include "audio/sound.h"
#include "physics/collisions.h"
#include "sim/blasts_seen.h"
#include "sim/collision_block.h"
#include "sim/colour_codes.h"
#include "sim/contact_probe.h"

namespace zelkar {

namespace {

constexpr int kRingMask = kObstRingPoints - 1;
constexpr int16_t kProbeStep = 32;  // ring indices between probed angles: an eighth turn
constexpr int16_t kProbeSpan = 96;
constexpr float kRestitution = 1.0f;        // obstacles bounce without loss
constexpr double kObstaclePushShare = 0.5;  // of a blast's energy that pushes an obstacle

// One axis of the motion: an edge reflects the obstacle with a knock.
void moveAxis(Game& g, float& x, float& v, float far) {
  x = static_cast<float>(x + double(v) * kTickSeconds);
  if (x < 0) {
    x = 0, v = -v;
    playCollisionSound(g);
  }
  if (x > far) {
    x = far, v = -v;
    playCollisionSound(g);
  }
}

// A vehicle touching the obstacle handles that contact from its own probe.
bool clearOfVehicles(const GameState& s, int t) {
  for (int v = 0; v < kPlayers; ++v) {
    const double dx = double(s.obstX[t]) + s.obstHalf[t] - s.posX[v] - s.vehicleRadius;
    const double dy = double(s.obstY[t]) + s.obstHalf[t] - s.posY[v] - s.vehicleRadius;
    const int reach = s.obstHalf[t] + s.vehicleRadius + 4;
    if (dx * dx + dy * dy < reach * reach) return false;
  }
  return true;
}

void bounceOffFixed(Game& g, int t, float x2, float y2, float half2) {
  GameState& s = g.s;
  playCollisionSound(g);
  loadObstacle1(s, t);
  s.colX2 = x2, s.colY2 = y2, s.colHalf2 = half2;
  s.colCoef = kRestitution;
  kabesyoutotu(s);
  readvance(s.obstX[t], s.obstY[t], s.obstVX[t], s.obstVY[t], s.colX1, s.colY1, s.colVx1, s.colVy1);
}

void blastPush(Game& g, int t, int owner, int slot) {
  GameState& s = g.s;
  const std::optional<double> cube = seenBlastCube(g, owner, slot);
  if (!cube) return;  // a picture of no exploding slot: nothing to feel
  s.colX1 = s.shellX[owner][slot];
  s.colY1 = s.shellY[owner][slot];
  loadObstacle2(s, t);
  s.colCoef = static_cast<float>(*cube * kObstaclePushShare / kBlastShareDivisor);
  s.colMass1 = seenBlastMass(g, owner, slot);
  bakuhasyoutotu(s);
  s.obstVX[t] = s.colVx2;
  s.obstVY[t] = s.colVy2;
  s.obstX[t] = static_cast<float>(s.obstX[t] + double(s.obstVX[t]) * kTickSeconds);
  s.obstY[t] = static_cast<float>(s.obstY[t] + double(s.obstVY[t]) * kTickSeconds);
}

void collideObstacles(Game& g, int t, int u) {
  GameState& s = g.s;
  playCollisionSound(g);
  loadObstacle1(s, t);
  loadObstacle2(s, u);
  s.colCoef = kRestitution;
  syoutotu(s);
  readvance(s.obstX[t], s.obstY[t], s.obstVX[t], s.obstVY[t], s.colX1, s.colY1, s.colVx1, s.colVy1);
  readvance(s.obstX[u], s.obstY[u], s.obstVX[u], s.obstVY[u], s.colX2, s.colY2, s.colVx2, s.colVy2);
  // u will not handle the same pair again from its side.
  s.obstLastContact[u] = static_cast<int16_t>(t);
  g.screen.tiri[u].move(toInt16Clamped(s.obstX[u]), toInt16Clamped(s.obstY[u]));
  s.obstPrevX[u] = s.obstX[u];
  s.obstPrevY[u] = s.obstY[u];
}

// Obstacle t's probe pair (c1 where it is, c2 where it was) met something.
void handle(Game& g, int t, int32_t c1, int32_t c2) {
  GameState& s = g.s;
  if (!clearOfVehicles(s, t)) return;
  const int16_t k = pairCode(c1, c2, s.shellColorBase[1]);
  if (k == s.obstLastContact[t] || k == t) return;  // its own colour: the picture it left
  s.obstLastContact[t] = k;
  if (k >= kFirstBaseCode) {
    const int b = k - kFirstBaseCode;
    bounceOffFixed(g, t, s.kitiLeft[b], s.kitiTop[b], s.kitiHalf);
  } else if (k >= kFirstBlastCode) {
    const int owner = (k - kFirstBlastCode) / 8, slot = (k - kFirstBlastCode) % 8;
    if (slot < kShellSlots) blastPush(g, t, owner, slot);
  } else if (k >= kFirstWallCode) {
    const int w = k - kFirstWallCode;
    if (w <= s.lastWall) bounceOffFixed(g, t, s.kabeLeft[w], s.kabeTop[w], s.kabeHalf[w]);
  } else if (k <= s.lastObstacle) {
    collideObstacles(g, t, k);
  }
}

// Where obstacle t's probe reads: its ring around where it is now and
// around where it was when the tick began.
struct ObstacleRing {
  OffsetRounding x, y, prevX, prevY;
  explicit ObstacleRing(const GameState& s, int t)
      : x(s.obstX[t]), y(s.obstY[t]), prevX(s.obstPrevX[t]), prevY(s.obstPrevY[t]) {}
};

// Reads the two points of one probe angle into c1 and c2; true when
// either is not free.
bool probeHits(const Game& g, const MatchTables& tab, const ObstacleRing& ring, int t, int a,
               int32_t& c1, int32_t& c2) {
  const int e1 = a & kRingMask, e2 = (a + kObstRingPoints / 2) & kRingMask;
  const int32_t shellBaseLeft = g.s.shellColorBase[1];
  c1 = g.probe.getPixel(g.screen.pictures, ring.x.at(tab.obstRingDX[t][e1]),
                        ring.y.at(tab.obstRingDY[t][e1])) &
       kRgbMask;
  c2 = g.probe.getPixel(g.screen.pictures, ring.prevX.at(tab.obstRingDX[t][e2]),
                        ring.prevY.at(tab.obstRingDY[t][e2])) &
       kRgbMask;
  return !isFreeForBody(c1, shellBaseLeft) || !isFreeForBody(c2, shellBaseLeft);
}

}  // namespace

void obstacleMotion(Game& g) {
  GameState& s = g.s;
  const int16_t last = s.lastObstacle;
  for (int t = 0; t <= last; ++t) {
    moveAxis(g, s.obstX[t], s.obstVX[t], static_cast<float>(s.fieldWidth - s.obstSize[t]));
    moveAxis(g, s.obstY[t], s.obstVY[t], static_cast<float>(s.fieldHeight - s.obstSize[t]));
  }
}

void obstacleContacts(Game& g) {
  GameState& s = g.s;
  const MatchTables& tab = s.tables();
  const int16_t last = s.lastObstacle;
  for (int t = 0; t <= last; ++t) {
    const int16_t from = g.directions.of(t, s.obstVX[t], s.obstVY[t], tab.obstacleStep, 64);
    const int16_t to = static_cast<int16_t>(from + kProbeSpan);
    const ObstacleRing ring(s, t);
    bool touched = false;
    for (int16_t a = from; a <= to && !touched; a = static_cast<int16_t>(a + kProbeStep)) {
      int32_t c1 = 0, c2 = 0;
      if (probeHits(g, tab, ring, t, a, c1, c2)) {
        touched = true;
        handle(g, t, c1, c2);
      }
    }
    if (!touched) s.obstLastContact[t] = kNoContact;
    g.screen.tiri[t].move(toInt16Clamped(s.obstX[t]), toInt16Clamped(s.obstY[t]));
    s.obstPrevX[t] = s.obstX[t];
    s.obstPrevY[t] = s.obstY[t];
  }
}

}  // namespace zelkar
