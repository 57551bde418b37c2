// What a vehicle's contact does, one procedure per kind of body touched.
// Positions and velocities go through the collision parameter block; the
// energy an impact destroys comes off the armour.
#include <cmath>

#include "arena/rounding.h"
#include "audio/sound.h"
#include "physics/collisions.h"
#include "sim/blasts_seen.h"
#include "sim/collision_block.h"
#include "sim/contact_probe.h"
#include "sim/instruments.h"
#include "sim/round_end.h"

namespace zelkar {

namespace {

constexpr float kVehicleRestitution = 0.5f;  // vehicles lose half their normal speed
constexpr double kArmourShare = 0.8;         // of a blast's energy that hits the armour
constexpr double kPushShare = 0.2;           // of a blast's energy that pushes a vehicle

void moveSprite(Item& item, float x, float y) { item.move(toInt16Clamped(x), toInt16Clamped(y)); }

void takeArmour(GameState& s, int p, double energy) {
  s.armourLeft[p] = static_cast<float>(s.armourLeft[p] - energy);
}

// After a fixed body (wall or base): the bounce costs the destroyed energy.
void bounceOffFixed(Game& g, int p, float x2, float y2, float half2) {
  GameState& s = g.s;
  loadVehicle1(s, p);
  s.colX2 = x2, s.colY2 = y2, s.colHalf2 = half2;
  s.colCoef = kVehicleRestitution;
  kabesyoutotu(s);
  takeArmour(s, p, energyLoss(s.totalMass[p], s.velX[p], s.velY[p], s.colVx1, s.colVy1));
  s.contactFlag = s.armourLeft[p] < 0 ? 1 : 0;
  readvance(s.posX[p], s.posY[p], s.velX[p], s.velY[p], s.colX1, s.colY1, s.colVx1, s.colVy1);
  damageReadout(g, p);
}

}  // namespace

void vehicleCollision(Game& g, int p) {
  GameState& s = g.s;
  const int q = 1 - p;
  loadVehicle1(s, p);
  loadVehicle2(s, q);
  s.colCoef = kVehicleRestitution;
  syoutotu(s);
  // Both armours take the whole energy the impact destroyed.
  const double lost = energyLoss(s.totalMass[p], s.velX[p], s.velY[p], s.colVx1, s.colVy1) +
                      energyLoss(s.totalMass[q], s.velX[q], s.velY[q], s.colVx2, s.colVy2);
  takeArmour(s, p, lost);
  takeArmour(s, q, lost);
  if (s.armourLeft[p] >= 0) playCollisionSound(g);
  readvance(s.posX[p], s.posY[p], s.velX[p], s.velY[p], s.colX1, s.colY1, s.colVx1, s.colVy1);
  readvance(s.posX[q], s.posY[q], s.velX[q], s.velY[q], s.colX2, s.colY2, s.colVx2, s.colVy2);
  moveSprite(g.screen.kyara[q], s.posX[q], s.posY[q]);
  s.prevX[q] = s.posX[q];
  s.prevY[q] = s.posY[q];
  damageReadout(g, p);
  damageReadout(g, q);
  // p first, then q, each once; a match that ends stops the tick.
  if (s.armourLeft[p] < 0) {
    destroyVehicle(g, p);
    if (g.awaitingAnswer) return;
  }
  if (s.armourLeft[q] < 0) destroyVehicle(g, q);
  s.contactFlag = 0;
}

void explosionContact(Game& g, int p, int owner, int slot) {
  GameState& s = g.s;
  const std::optional<double> cube = seenBlastCube(g, owner, slot);
  if (!cube) return;  // a picture of no exploding slot: nothing to feel
  const float mass = seenBlastMass(g, owner, slot);
  s.colCoef = static_cast<float>(*cube / kBlastShareDivisor);
  takeArmour(s, p, mass * kArmourShare * s.colCoef * kExplosiveEnergy);
  if (s.armourLeft[p] < 0) {
    s.contactFlag = 1;  // destroyed at the end of the probe step, no push
  } else {
    s.colX1 = s.shellX[owner][slot];
    s.colY1 = s.shellY[owner][slot];
    s.colMass1 = mass;
    loadVehicle2(s, p);
    s.colCoef = static_cast<float>(s.colCoef * kPushShare);
    bakuhasyoutotu(s);
    // The velocity comes back from the block; the position just advances.
    s.velX[p] = s.colVx2;
    s.velY[p] = s.colVy2;
    s.posX[p] = static_cast<float>(s.posX[p] + double(s.velX[p]) * kTickSeconds);
    s.posY[p] = static_cast<float>(s.posY[p] + double(s.velY[p]) * kTickSeconds);
    s.contactFlag = 0;
  }
  damageReadout(g, p);
}

void wallContact(Game& g, int p, int w) {
  const GameState& s = g.s;
  bounceOffFixed(g, p, s.kabeLeft[w], s.kabeTop[w], s.kabeHalf[w]);
}

void baseContact(Game& g, int p, int b) {
  const GameState& s = g.s;
  bounceOffFixed(g, p, s.kitiLeft[b], s.kitiTop[b], s.kitiHalf);
}

void obstacleContact(Game& g, int p, int t) {
  GameState& s = g.s;
  loadVehicle1(s, p);
  loadObstacle2(s, t);
  s.colCoef = kVehicleRestitution;
  syoutotu(s);
  // The obstacle has no armour: the vehicle's takes both bodies' loss.
  takeArmour(s, p,
             energyLoss(s.totalMass[p], s.velX[p], s.velY[p], s.colVx1, s.colVy1) +
                 energyLoss(s.obstMass[t], s.obstVX[t], s.obstVY[t], s.colVx2, s.colVy2));
  s.contactFlag = s.armourLeft[p] < 0 ? 1 : 0;
  readvance(s.posX[p], s.posY[p], s.velX[p], s.velY[p], s.colX1, s.colY1, s.colVx1, s.colVy1);
  readvance(s.obstX[t], s.obstY[t], s.obstVX[t], s.obstVY[t], s.colX2, s.colY2, s.colVx2, s.colVy2);
  moveSprite(g.screen.tiri[t], s.obstX[t], s.obstY[t]);
  s.obstPrevX[t] = s.obstX[t];
  s.obstPrevY[t] = s.obstY[t];
  damageReadout(g, p);
}

}  // namespace zelkar
