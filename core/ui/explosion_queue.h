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
// never allocate. Reports beyond the room are dropped; only a picture is lost.
class ExplosionQueue {
 public:
  static constexpr std::size_t kCapacity = 8;
  void push(const VehicleExplosion& e) {
    if (size_ < kCapacity) items_[size_++] = e;
  }
  std::size_t size() const { return size_; }
  const VehicleExplosion& operator[](std::size_t i) const { return items_[i]; }
  void clear() { size_ = 0; }

 private:
  std::array<VehicleExplosion, kCapacity> items_{};
  std::size_t size_ = 0;
};

}  // namespace zelkar
