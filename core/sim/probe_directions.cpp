#include "sim/probe_directions.h"

#include "sim/contact_probe.h"

namespace zelkar {

int16_t ProbeDirections::of(int t, float vx, float vy, float unit, int16_t quarter) {
  Known& k = known_[std::size_t(t)];
  const Known now{std::bit_cast<uint32_t>(vx), std::bit_cast<uint32_t>(vy),
                  std::bit_cast<uint32_t>(unit), quarter, k.direction};
  if (now.vx != k.vx || now.vy != k.vy || now.unit != k.unit || quarter != k.quarter) {
    k = now;
    k.direction = probeDirection(vx, vy, unit, quarter);
  }
  return k.direction;
}

}  // namespace zelkar
