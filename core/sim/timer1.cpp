// The tick: everything in the arena advances by 0.03 simulated seconds,
// whatever the timer's real interval is. It reads as the list of its steps.
#include "app/handlers.h"
#include "sim/arena_view.h"
#include "sim/contact_probe.h"
#include "sim/instruments.h"
#include "sim/obstacles.h"
#include "sim/round_end.h"
#include "sim/setup_adjust.h"
#include "sim/shells.h"
#include "sim/vehicle_step.h"

namespace zelkar {

namespace {

// B9: a contact that left the armour below zero destroys the vehicle.
void destructionStep(Game& g, int p) {
  if (g.s.contactFlag != 1) return;
  destroyVehicle(g, p);
  g.s.contactFlag = 0;
}

// True when the match has ended inside the step: the tick stops at once.
bool battleStep(Game& g, int p) {
  Drive drive;
  burnFuel(g, p, drive);  // B1, with the stall check
  if (g.awaitingAnswer) return true;
  applyFriction(g.s, p, drive);  // B2
  accelerate(g.s, p, drive);     // B3, B4
  moveInField(g.s, p);           // B5
  motionReadouts(g, p, drive);   // B6
  shellStateLoop(g, p);          // B7
  shellHitLoop(g, p);
  if (g.awaitingAnswer) return true;
  contactProbe(g, p);  // B8
  if (g.awaitingAnswer) return true;
  destructionStep(g, p);  // B9
  if (g.awaitingAnswer) return true;
  placeSprite(g, p);   // B10
  turnGun(g, p);       // B11
  loadReadouts(g, p);  // B12
  return false;
}

}  // namespace

void timer1Timer(Game& g) {
  if (g.awaitingAnswer || g.ended) return;
  GameState& s = g.s;
  // Every probe of this tick reads the arena as it stands now, and feels
  // each blast with the state that goes with the picture it touches.
  viewArena(g);
  s.tickPhase = static_cast<int16_t>((s.tickPhase + 1) & 15);
  // A step that ends the match ends the tick: no later player or obstacle
  // moves in it.
  for (int p = 0; p < kPlayers; ++p) {
    if (s.settingRow[p] != kRowInBattle) {
      if (s.tickPhase == 0) setupAdjustment(g, p);
    } else if (battleStep(g, p)) {
      return;
    }
  }
  obstacleMotion(g);
  obstacleContacts(g);
}

}  // namespace zelkar
