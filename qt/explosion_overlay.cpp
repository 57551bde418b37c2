#include "qt/explosion_overlay.h"

#include <algorithm>

#include "arena/rounding.h"

namespace zelkar::qt {

QRect vehicleBlastBox(float centreX, float centreY, int16_t width) {
  // The very arithmetic of explodeVehicle, so each size lands where the rules
  // placed it.
  const int16_t h = toInt16Clamped(width / 2.0);
  return QRect(toInt16Clamped(centreX - h), toInt16Clamped(centreY - h), width, width);
}

void ExplosionOverlay::addVehicle(const VehicleExplosion& e, int64_t nowMs) {
  if (e.widthFrom < 1) return;
  shows_.push_back({e.centreX, e.centreY, e.widthFrom, 1, 1, e.picture, nowMs, kVehicleMs, true});
}

void ExplosionOverlay::addBurst(const QRect& box, int16_t picture, int64_t nowMs) {
  if (box.width() < 2) return;
  const float cx = float(box.left()) + float(box.width()) / 2;
  const float cy = float(box.top()) + float(box.height()) / 2;
  shows_.push_back(
      {cx, cy, int16_t(box.width()), 2, kBurstStepPx, picture, nowMs, kBurstMs, false});
}

std::vector<ExplosionOverlay::Sprite> ExplosionOverlay::at(int64_t nowMs) {
  std::vector<Sprite> out;
  std::erase_if(shows_, [&](const Show& s) { return nowMs - s.startMs >= s.durationMs; });
  // Stable: within each kind the order of arrival stays.
  std::stable_partition(shows_.begin(), shows_.end(), [](const Show& s) { return !s.vehicle; });
  for (const Show& s : shows_) {
    // Sizes from widthFrom down by `step` to no less than widthTo, each
    // shown for an equal share of the duration.
    const int sizes = (s.widthFrom - s.widthTo) / s.step + 1;
    const int64_t elapsed = std::max<int64_t>(0, nowMs - s.startMs);
    const int index = int(std::min<int64_t>(sizes - 1, elapsed * sizes / s.durationMs));
    const auto width = int16_t(s.widthFrom - index * s.step);
    out.push_back({vehicleBlastBox(s.centreX, s.centreY, width), s.picture});
  }
  return out;
}

}  // namespace zelkar::qt
