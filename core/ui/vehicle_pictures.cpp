#include "ui/vehicle_pictures.h"

#include <algorithm>
#include <array>
#include <bit>

#include "ui/sprite_art.h"

namespace zelkar {

Picture makeVehicleBody(int player) {
  // Every colour carries code 45, which names no object: a shell that
  // strikes a vehicle pushes no obstacle by mistake.
  const int32_t body = player == 0 ? 0xEDC8A0 : 0x2D2890;
  const int32_t rim = player == 0 ? 0xAD7840 : 0x2D1860;
  const int32_t shine = player == 0 ? 0xEDE8D8 : 0x6D50C0;
  constexpr int kCentre = kVehicleSize / 2;  // px
  Picture pic(kVehicleSize, kVehicleSize, kKeyColour);
  for (int y = 0; y < kVehicleSize; ++y) {
    for (int x = 0; x < kVehicleSize; ++x) {
      const int dx = x - kCentre, dy = y - kCentre, d2 = dx * dx + dy * dy;
      // 110 px^2: a disc of radius 10.5 fills the 21-px box to its edges.
      if (d2 > 110) continue;
      int32_t c = body;
      if (d2 > 64) c = rim;
      const int sx = dx + 4, sy = dy + 4;  // a highlight up and to the left
      if (sx * sx + sy * sy <= 5) c = shine;
      pic.set(x, y, c);
    }
  }
  return pic;
}

void drawGunLine(Picture& pic, float x1, float y1, float x2, float y2, int32_t colour,
                 int16_t width) {
  const float half = float(width) / 2.0f;
  const float lim = half * half;
  const float vx = x2 - x1, vy = y2 - y1;
  const float len2 = vx * vx + vy * vy;
  for (int y = 0; y < pic.height; ++y) {
    for (int x = 0; x < pic.width; ++x) {
      const float wx = float(x) - x1, wy = float(y) - y1;
      float t = len2 > 0.0f ? (wx * vx + wy * vy) / len2 : 0.0f;
      t = t < 0.0f ? 0.0f : (t > 1.0f ? 1.0f : t);
      const float ex = wx - t * vx, ey = wy - t * vy;
      if (ex * ex + ey * ey <= lim) pic.set(x, y, colour);
    }
  }
}

void makeVehiclePictures(ScreenModel& screen, const GameState& s) {
  const float r = float(s.vehicleRadius);
  for (int p = 0; p < kPlayers; ++p) {
    GunPictures& gp = screen.gunPictures[p];
    if (gp.first < 0) {
      gp.first = int16_t(screen.pictures.size());
      screen.pictures.resize(screen.pictures.size() + kDirections);
    }
    const Picture body = makeVehicleBody(p);
    const GunLine& line = screen.hline[p];
    for (int k = 0; k < kDirections; ++k) {
      Picture pic = body;
      drawGunLine(pic, r, r, s.tables().dirLineX[k], s.tables().dirLineY[k], line.color,
                  line.width);
      screen.pictures[std::size_t(gp.first + k)] = std::move(pic);
      gp.endX[k] = s.tables().dirLineX[k];
      gp.endY[k] = s.tables().dirLineY[k];
    }
  }
}

int16_t kyaraPicture(const ScreenModel& screen, int p) {
  const GunPictures& gp = screen.gunPictures[p];
  if (gp.first < 0) return screen.kyara[p].picture;
  const GunLine& line = screen.hline[p];
  // The squared distances as bit patterns: for floats not below zero (a
  // sum of squares never is) the patterns order as the numbers do, and the
  // pattern of a distance that is no number lies above every number's. So
  // the nearest is a plain integer minimum, which the compiler works out
  // four directions at a time; then the first direction at it.
  std::array<uint32_t, kDirections> d2{};
  for (int k = 0; k < kDirections; ++k) {
    const float dx = gp.endX[k] - line.x2, dy = gp.endY[k] - line.y2;
    d2[k] = std::bit_cast<uint32_t>(dx * dx + dy * dy);
  }
  uint32_t nearest = d2[0];
  for (int k = 1; k < kDirections; ++k) nearest = std::min(nearest, d2[k]);
  // Direction 0 at no number: nothing compares nearer.
  if (std::bit_cast<float>(d2[0]) != std::bit_cast<float>(d2[0])) return gp.first;
  int best = 0;
  while (d2[best] != nearest) ++best;
  return int16_t(gp.first + best);
}

int16_t drawnPicture(const ScreenModel& screen, const Item& item) {
  for (int p = 0; p < kPlayers; ++p)
    if (&item == &screen.kyara[p]) return kyaraPicture(screen, p);
  return item.picture;
}

}  // namespace zelkar
