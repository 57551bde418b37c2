// The trace's account of a round: armour each vehicle lost, by what took it,
// and what destroyed it. Read from the state before and after each tick.
#pragma once

#include <cstdio>

#include "app/game_state.h"
#include "sim/colour_codes.h"

namespace zelkar::bench {

class DamageTally {
 public:
  void add(const GameState& was, const GameState& now, int p) {
    const int q = 1 - p;
    if (now.points[q] != was.points[q]) killedBy_ = killer(was, now, p);
    const double loss = double(was.armourLeft[p]) - now.armourLeft[p];
    if (loss <= 0 || was.settingRow[p] != kRowInBattle) return;
    const int code = now.lastContact[p];  // what the tick handled last
    bool struck = false;
    for (int k = 0; k < kShellSlots; ++k)
      struck = struck || (was.shellState[q][k] == 1 && now.shellState[q][k] > 1);
    Cause c = kOther;
    if (struck && code / 8 == q && code % 8 < kShellSlots)
      c = kShell;
    else if (close(now, p, q, now.vehicleSize + 5))
      c = kRam;
    else if (code >= kFirstBlastCode && code < kFirstBaseCode)
      c = (code - kFirstBlastCode) / 8 == p ? kOwnBlast : kTheirBlast;
    else if (code >= 0 && code < kFirstWallCode)
      c = kObstacle;
    else if (code < kFirstBlastCode)
      c = kWall;
    else if (code < kFirstBaseCode + 2)
      c = kBase;
    lost_[c] += loss;
    ++count_[c];
  }

  void print(std::FILE* f, int p) const {
    static constexpr const char* kNames[kCauses] = {"shell",    "ram",  "own blast", "their blast",
                                                    "obstacle", "wall", "base",      "other"};
    std::fprintf(f, "  %s lost:", p == 0 ? "right" : "left");
    if (killedBy_) std::fprintf(f, " (destroyed by %s)", killedBy_);
    for (int c = 0; c < kCauses; ++c)
      if (count_[c]) std::fprintf(f, " %s %d x %.2fM", kNames[c], count_[c], lost_[c] / 1e6);
    std::fprintf(f, "\n");
  }

 private:
  enum Cause { kShell, kRam, kOwnBlast, kTheirBlast, kObstacle, kWall, kBase, kOther, kCauses };

  static bool close(const GameState& s, int p, int q, float px) {
    const float dx = s.posX[p] - s.posX[q], dy = s.posY[p] - s.posY[q];
    return dx * dx + dy * dy < px * px;
  }

  // The round restarts within the tick of a destruction, so only the state
  // before tells: a shell of the other that burst within 40 px, or a ram.
  static const char* killer(const GameState& was, const GameState& now, int p) {
    const int q = 1 - p;
    const float cx = was.posX[p] + was.vehicleRadius, cy = was.posY[p] + was.vehicleRadius;
    for (int k = 0; k < kShellSlots; ++k) {
      const float dx = was.shellX[q][k] + was.shellHalf - cx;
      const float dy = was.shellY[q][k] + was.shellHalf - cy;
      if (was.shellState[q][k] == 1 && now.shellState[q][k] != 1 && dx * dx + dy * dy < 40 * 40)
        return "shell";
    }
    return close(was, p, q, was.vehicleSize + 8) ? "ram" : "contact or blast";
  }

  double lost_[kCauses] = {};
  int count_[kCauses] = {};
  const char* killedBy_ = nullptr;
};

}  // namespace zelkar::bench
