// What the rules placed on the arena within one handler and took away
// before it returned: a destroyed vehicle's explosion runs through every
// size of baku(v) without a pause, so no frame of the window could show
// it. The rules only report it here, like the sound requests; the window
// draws it over a few frames afterwards, and the headless runner drops it.
// Nothing in the game reads it back, and the state hash leaves it out.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace zelkar {

struct VehicleExplosion {
  int8_t vehicle = 0;     // index v of the destroyed vehicle
  float centreX = 0;      // px: posX(v) + vehicleRadius, as explodeVehicle computes it
  float centreY = 0;      // px
  int16_t widthFrom = 0;  // px: blastWidth, the first size placed; the last is 1
  int16_t picture = -1;   // baku(v)'s picture
};

// Bounded: at most both vehicles explode in one tick, and a report must
// never allocate. A full queue keeps the newest reports, so a reader that
// never empties it (the window showing an online session's game, which it
// may only read) still finds each new one, by its number, after the last
// it took.
class ExplosionQueue {
 public:
  static constexpr std::size_t kCapacity = 8;
  void push(const VehicleExplosion& e) {
    items_[std::size_t(pushed_ % kCapacity)] = e;
    ++pushed_;
    if (held_ < kCapacity) ++held_;
  }
  // The held reports, oldest first.
  std::size_t size() const { return held_; }
  const VehicleExplosion& operator[](std::size_t i) const {
    return items_[std::size_t((pushed_ - held_ + i) % kCapacity)];
  }
  void clear() { held_ = 0; }
  // Reports made since the game was built, emptied and overwritten ones
  // included; the newest held one is number pushed() - 1.
  uint64_t pushed() const { return pushed_; }

 private:
  std::array<VehicleExplosion, kCapacity> items_{};
  uint64_t pushed_ = 0;
  std::size_t held_ = 0;
};

}  // namespace zelkar
