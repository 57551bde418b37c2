// Explosions drawn over the arena for the players' eyes, after the rules
// have already moved on. A destroyed vehicle's blast runs through all its
// sizes inside one handler and a shell's burst lasts a few ticks (40 ms at
// 10 ms a tick); shown at that pace, neither is seen. Here each is played
// again, size after size, over a few tenths of a second. Only the window's
// pixels change: the screen model and the probes never see the overlay.
#pragma once

#include <QRect>
#include <cstdint>
#include <vector>

#include "ui/explosion_queue.h"
#include "ui/screen_model.h"

namespace zelkar::qt {

class ExplosionOverlay {
 public:
  // How long each kind is shown, ms: long enough to be seen, short enough
  // to be over before play resumes around it.
  static constexpr int64_t kVehicleMs = 450;
  static constexpr int64_t kBurstMs = 200;
  static constexpr int kBurstStepPx = 3;  // a burst shrinks as the rules shrink it

  struct Sprite {
    QRect box;  // client pixels
    int16_t picture = -1;
    bool operator==(const Sprite&) const = default;
  };

  // The sizes explodeVehicle placed, widthFrom down to 1, from `nowMs` on.
  void addVehicle(const VehicleExplosion& e, int64_t nowMs);
  // A shell burst as first drawn, `box` wide, shrinking to 2 px.
  void addBurst(const QRect& box, int16_t picture, int64_t nowMs);
  // What to draw at `nowMs`, bottom first: shell bursts under vehicle
  // blasts, each kind in the order it came. Finished ones are forgotten.
  std::vector<Sprite> at(int64_t nowMs);
  bool empty() const { return shows_.empty(); }
  void clear() { shows_.clear(); }

 private:
  struct Show {
    float centreX = 0, centreY = 0;  // px
    int16_t widthFrom = 0;           // px
    int16_t widthTo = 0;             // px, the last size shown
    int16_t step = 1;                // px between sizes
    int16_t picture = -1;
    int64_t startMs = 0;
    int64_t durationMs = 0;
    bool vehicle = false;
  };
  std::vector<Show> shows_;
};

// The box explodeVehicle gives baku(v) at width w around (cx, cy): half the
// width rounded to the nearest whole number, halves to even.
QRect vehicleBlastBox(float centreX, float centreY, int16_t width);

}  // namespace zelkar::qt
