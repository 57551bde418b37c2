// What a replay shows: contacts of every kind, shell hits, explosions,
// stalls, points and finished matches, counted tick by tick from the
// changes of the game record, so that a replay can be checked to show
// what its name claims.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string>

#include "headless/state_dump.h"

namespace zelkar::sim::maker {

struct Coverage {
  int64_t ticks = 0, frictionTicks = 0;
  int vehicleHits = 0, wallHits = 0, baseHits = 0, obstacleHits = 0, blastPushes = 0;
  int shellHits = 0, shots = 0, bursts = 0, explosions = 0, stalls = 0, points = 0;
  int matchesEnded = 0;

  void observe(const Game& g, const DumpEvents& e) {
    const GameState& s = g.s;
    ++ticks;
    if (s.frictionCoef[0] > 0) ++frictionTicks;
    bool crash = false, exploded = false;
    for (const std::string& sound : e.sounds) {
      bursts += sound == "bakuhatuon1";
      explosions += sound == "bakuhatuon2";
      crash |= sound == "syoutotuon";
      exploded |= sound == "bakuhatuon2";
    }
    // Vehicles that were about to touch: a ram that destroys one makes no
    // collision sound, only the explosion, and puts both back on their bases.
    const float dx = (prev_.posX[0] + prev_.velX[0] * kTickSeconds) -
                     (prev_.posX[1] + prev_.velX[1] * kTickSeconds);  // px
    const float dy = (prev_.posY[0] + prev_.velY[0] * kTickSeconds) -
                     (prev_.posY[1] + prev_.velY[1] * kTickSeconds);  // px
    const float touch = static_cast<float>(s.vehicleSize + 4);        // px
    if ((crash || exploded) && dx * dx + dy * dy < touch * touch && bothInBattle(prev_))
      ++vehicleHits;
    for (int p = 0; p < 2; ++p) contacts(s, p);
    const int gained0 = s.points[0] - prev_.points[0], gained1 = s.points[1] - prev_.points[1];
    if (gained0 > 0 && gained1 > 0) ++stalls;
    points += std::max(gained0, 0) + std::max(gained1, 0);
    matchesEnded += g.awaitingAnswer && !prevAwaiting_;
    prev_ = s;
    prevAwaiting_ = g.awaitingAnswer;
  }

  std::string summary() const {
    char buf[512];
    std::snprintf(buf, sizeof buf,
                  "%lld ticks (%lld with friction): contacts vehicle %d wall %d base %d "
                  "obstacle %d blast %d; shots %d bursts %d shell hits %d explosions %d "
                  "stalls %d points %d matches ended %d",
                  static_cast<long long>(ticks), static_cast<long long>(frictionTicks), vehicleHits,
                  wallHits, baseHits, obstacleHits, blastPushes, shots, bursts, shellHits,
                  explosions, stalls, points, matchesEnded);
    return buf;
  }

 private:
  void contacts(const GameState& s, int p) {
    const int q = 1 - p;
    // A struck vehicle loses armour, or is destroyed and the round restarts.
    bool struck = false;
    for (int k = 0; k < kShellSlots; ++k)
      struck |= prev_.shellState[q][k] == 1 && s.shellState[q][k] != 1 &&
                (s.armourLeft[p] < prev_.armourLeft[p] || s.points[q] > prev_.points[q]);
    shellHits += struck;
    if (s.settingRow[p] == kRowInBattle && s.shellsLeft[p] < prev_.shellsLeft[p])
      shots += prev_.shellsLeft[p] - s.shellsLeft[p];
    const int k = s.lastContact[p];
    if (k == prev_.lastContact[p] || k == kNoContact || struck) return;
    if (k >= 62) {
      baseHits += k - 62 != p;  // driving over the own base is no contact
    } else if (k >= 46) {
      ++blastPushes;
    } else if (k >= 11) {
      ++wallHits;
    } else if (k <= s.lastObstacle) {
      ++obstacleHits;
    }
  }
  static bool bothInBattle(const GameState& s) {
    return s.settingRow[0] == kRowInBattle && s.settingRow[1] == kRowInBattle;
  }
  GameState prev_{};
  bool prevAwaiting_ = false;
};

}  // namespace zelkar::sim::maker
