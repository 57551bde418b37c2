// What sets the three strengths apart. Level 1 is a beginner: it looks at
// the arena seldom, aims where the other vehicle is rather than where it
// will be, and barely dodges; level 3 looks every tick and aims with lead.
#pragma once

#include <array>

#include "app/computer_levels.h"

namespace zelkar::cpu {

inline constexpr int kMinLevel = kMinCpuLevel;
inline constexpr int kMaxLevel = kMaxCpuLevel;

struct LevelTraits {
  int reactTicks;      // ticks between fresh looks at the arena
  bool lead;           // aims where the target will be, not where it is
  int aimNoise;        // gun directions of random error in each look (0: none)
  float fireMiss;      // px: fires when the shell would pass this close to the centre
  int fireGapTicks;    // ticks at least between two shots
  float dodgeSeconds;  // s: looks this far ahead for shells coming at it (0: no dodging)
  float rangePx;       // px: the distance it likes to keep from the other vehicle
  float cruisePx;      // px/s: the speed it keeps below when driving somewhere
  bool setupSense;     // sets up against what it sees of the other vehicle
  bool playSense;      // stands off a rammer, and fires between the other's shells
  // Settings it chooses in set-up, rows in panel order: armour thickness,
  // engine output, fuel capacity, shell capacity, shell mass, firing force.
  // Close to the panel's start values: every 10 units cost half a second.
  std::array<float, 6> settings;
};

// Level 1..3 (outside values are clamped to the nearest level).
inline const LevelTraits& traitsOf(int level) {
  // Light shells fly faster (the muzzle speed grows as sqrt(force / mass))
  // and one of mass 1 still destroys armour up to thickness 12 in one hit.
  static constexpr std::array<LevelTraits, 3> kTraits = {{
      {12, false, 2, 14.0f, 30, 0.0f, 240.0f, 10.0f, false, false, {10, 100, 200, 50, 2, 500}},
      {5, true, 1, 10.0f, 15, 2.0f, 180.0f, 12.0f, false, false, {10, 120, 200, 50, 2, 500}},
      {1, true, 0, 8.0f, 8, 4.0f, 100.0f, 25.0f, true, true, {10, 150, 400, 50, 1, 1500}},
  }};
  const int i = level < kMinLevel ? 0 : level > kMaxLevel ? 2 : level - 1;
  return kTraits[i];
}

}  // namespace zelkar::cpu
