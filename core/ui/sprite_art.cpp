#include "ui/sprite_art.h"

#include <array>
#include <cstdlib>
#include <span>

#include "ui/screen_model.h"  // kKeyColour

namespace zelkar {
namespace {

// Shapes are integer polygons so that the pictures, which the probes read,
// come out the same on every machine (no libm in them). Coordinates are
// doubled: pixel (x, y) has its centre at (2x + 1, 2y + 1).
struct Pt {
  int x, y;
};
constexpr int kCentre2 = 31;  // centre of a 31-px source, doubled

constexpr std::array<std::array<Pt, 11>, 5> kRocks = {{
    {{{32, 59},
      {13, 51},
      {4, 42},
      {8, 24},
      {11, 18},
      {22, 3},
      {37, 9},
      {51, 11},
      {54, 28},
      {52, 45},
      {40, 51}}},
    {{{13, 19},
      {28, 7},
      {37, 2},
      {52, 18},
      {57, 33},
      {51, 43},
      {41, 57},
      {25, 60},
      {19, 53},
      {11, 43},
      {7, 31}}},
    {{{8, 16},
      {16, 11},
      {32, 3},
      {45, 9},
      {53, 21},
      {58, 43},
      {49, 49},
      {35, 56},
      {21, 58},
      {8, 47},
      {1, 30}}},
    {{{37, 2},
      {46, 12},
      {59, 27},
      {57, 42},
      {37, 59},
      {25, 60},
      {11, 46},
      {3, 24},
      {11, 9},
      {24, 4},
      {31, 2}}},
    {{{50, 46},
      {39, 57},
      {25, 55},
      {13, 52},
      {7, 43},
      {11, 21},
      {17, 11},
      {25, 5},
      {40, 2},
      {56, 17},
      {55, 30}}},
}};
// Red and green of each rock (the blue byte is replaced by stamping).
constexpr std::array<Pt, 5> kRockTones = {
    {{0x9C, 0x74}, {0x90, 0x6E}, {0xA4, 0x80}, {0x8A, 0x70}, {0x98, 0x7A}}};

constexpr std::array<Pt, 24> kBurst = {{
    {60, 31}, {44, 35}, {56, 45}, {41, 40}, {45, 57}, {35, 44}, {33, 60}, {27, 43},
    {14, 56}, {21, 41}, {8, 46},  {19, 34}, {3, 32},  {17, 28}, {5, 16},  {21, 21},
    {17, 6},  {28, 18}, {33, 1},  {36, 17}, {44, 7},  {39, 22}, {56, 18}, {44, 28},
}};

uint32_t noise(uint32_t seed, int x, int y) {
  uint32_t h = seed * 0x9E3779B1u ^ uint32_t(x) * 0x85EBCA77u ^ uint32_t(y) * 0xC2B2AE3Du;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  return h;
}

int clampTo(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

int32_t colour(int32_t blue, int green, int red) { return blue | green << 8 | red; }

bool inside(std::span<const Pt> poly, int px, int py) {
  bool in = false;
  for (std::size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
    const Pt a = poly[j], b = poly[i];
    if ((a.y > py) == (b.y > py)) continue;
    // px < the edge's x at py, multiplied out to stay in integers.
    const int lhs = (px - a.x) * (b.y - a.y), rhs = (py - a.y) * (b.x - a.x);
    if (b.y > a.y ? lhs < rhs : lhs > rhs) in = !in;
  }
  return in;
}

// The facet (triangle centre, v[i], v[i+1]) a point lies in; the polygons
// run clockwise on the screen around their centre.
std::size_t facetOf(std::span<const Pt> poly, int px, int py) {
  const int dx = px - kCentre2, dy = py - kCentre2;
  for (std::size_t i = 0; i < poly.size(); ++i) {
    const Pt a = poly[i], b = poly[(i + 1) % poly.size()];
    const int ax = a.x - kCentre2, ay = a.y - kCentre2, bx = b.x - kCentre2, by = b.y - kCentre2;
    if (ax * dy - ay * dx >= 0 && dx * by - dy * bx > 0) return i;
  }
  return 0;
}

}  // namespace

Picture makeRockPicture(int shape) {
  const auto& poly = kRocks[std::size_t(shape) % kRocks.size()];
  const Pt tone = kRockTones[std::size_t(shape) % kRockTones.size()];
  Picture pic(kSourceSize, kSourceSize, kKeyColour);
  // Whether each pixel's centre lies in the polygon, asked once per pixel
  // (the edge test asks about all four neighbours too), with a margin of
  // outside pixels all round. The pictures are drawn at start-up, before
  // the first frame.
  constexpr int kSide = kSourceSize + 2;
  std::array<bool, std::size_t(kSide) * kSide> mask{};
  for (int y = 0; y < kSourceSize; ++y)
    for (int x = 0; x < kSourceSize; ++x)
      mask[std::size_t((y + 1) * kSide + x + 1)] = inside(poly, 2 * x + 1, 2 * y + 1);
  auto in = [&](int x, int y) { return mask[std::size_t((y + 1) * kSide + x + 1)]; };
  for (int y = 0; y < kSourceSize; ++y) {
    for (int x = 0; x < kSourceSize; ++x) {
      if (!in(x, y)) continue;
      const int px = 2 * x + 1, py = 2 * y + 1;
      // Each facet is lit by its outward direction, light from the top left.
      const std::size_t f = facetOf(poly, px, py);
      const Pt a = poly[f], b = poly[(f + 1) % poly.size()];
      const int mx = a.x + b.x - 2 * kCentre2, my = a.y + b.y - 2 * kCentre2;
      int light = -(mx + my) * 36 / (std::abs(mx) + std::abs(my) + 1);
      const int d2 = (px - kCentre2) * (px - kCentre2) + (py - kCentre2) * (py - kCentre2);
      if (d2 < 18 * 18) light = light / 3 + 14;  // the flatter top of the rock
      if (!in(x - 1, y) || !in(x + 1, y) || !in(x, y - 1) || !in(x, y + 1)) light -= 34;
      const int n = int(noise(uint32_t(shape) + 1, x, y) & 15) - 8;
      // Red and green stay at 20 or more: with the blue byte stamped to 0
      // the rock of obstacle 0 must not turn black, a free colour.
      const int red = clampTo(tone.x + light + n, 0x20, 0xF0);
      const int green = clampTo(tone.y + light + n * 3 / 4, 0x20, 0xF0);
      pic.set(x, y, colour(blueWithCode(0, kNoObjectCode), green, red));
    }
  }
  return pic;
}

Picture makeWallPicture() {
  Picture pic(kSourceSize, kSourceSize, kKeyColour);
  constexpr int kCourse = 8;  // px per brick course, mortar included
  constexpr int kBrick = 15;  // px per brick, mortar included
  for (int y = 0; y < kSourceSize; ++y) {
    const int course = y / kCourse, yin = y % kCourse;
    const int shift = (course % 2) * 7;  // bond: every other course is offset
    for (int x = 0; x < kSourceSize; ++x) {
      const int xin = (x + shift) % kBrick, brick = (x + shift) / kBrick;
      const int n = int(noise(7, x, y) & 7) - 4;
      if (yin == kCourse - 1 || xin == kBrick - 1) {
        // Mortar: top blue bits 01, so a stamped wall keeps two tones.
        pic.set(x, y, colour(blueWithCode(1, kNoObjectCode), 0x68 + n, 0x6C + n));
        continue;
      }
      int light = int(noise(11, brick, course) % 25) - 12;
      if (yin == 0) light += 20;
      if (yin == kCourse - 2) light -= 20;
      if (xin == 0) light += 10;
      if (xin == kBrick - 2) light -= 10;
      pic.set(x, y,
              colour(blueWithCode(2, kNoObjectCode), clampTo(0xA8 + light + n, 0x40, 0xF0),
                     clampTo(0xB4 + light + n, 0x40, 0xF0)));
    }
  }
  // Chipped corners: the block is not a perfect square.
  for (int c : {0, kSourceSize - 1})
    for (int r : {0, kSourceSize - 1}) pic.set(c, r, kKeyColour);
  return pic;
}

Picture makeBlastPicture() {
  Picture pic(kSourceSize, kSourceSize, kKeyColour);
  for (int y = 0; y < kSourceSize; ++y) {
    for (int x = 0; x < kSourceSize; ++x) {
      const int px = 2 * x + 1, py = 2 * y + 1;
      if (!inside(kBurst, px, py)) continue;
      const int d2 = (px - kCentre2) * (px - kCentre2) + (py - kCentre2) * (py - kCentre2);
      const int n = int(noise(3, x, y) & 7) - 4;
      int32_t c;
      if (d2 < 12 * 12)  // white-hot core
        c = colour(blueWithCode(1, kNoObjectCode), 0xFF, 0xFF);
      else if (d2 < 20 * 20)
        c = colour(blueWithCode(0, kNoObjectCode), 0xD8 + n, 0xFF);
      else if (d2 < 26 * 26)
        c = colour(blueWithCode(0, kNoObjectCode), 0x98 + n, 0xF8);
      else  // the tips of the flames
        c = colour(blueWithCode(0, kNoObjectCode), 0x48 + n, 0xE0);
      pic.set(x, y, c);
    }
  }
  return pic;
}

Picture makeBasePicture(int player) {
  // Codes 62 and 63 with the top blue bits 00 or 10: code 63 under 11 would
  // make the blue byte FF and could meet the free colours of the shells.
  const int32_t code = 62 + (player != 0);
  const int32_t pad = player == 0 ? colour(blueWithCode(2, code), 0x9C, 0x88)
                                  : colour(blueWithCode(1, code), 0x8C, 0xC0);
  const int32_t ring = player == 0 ? colour(blueWithCode(1, code), 0x5A, 0x48)
                                   : colour(blueWithCode(0, code), 0x4A, 0x80);
  const int32_t mark = player == 0 ? colour(blueWithCode(2, code), 0xE0, 0xD0)
                                   : colour(blueWithCode(2, code), 0xE0, 0xF8);
  constexpr int kCentre = kBaseSize / 2;  // px
  // The pad stays within 12 px of the centre. A shell fired from a vehicle
  // on its base first probes about 17 px out and must not burst on the pad;
  // and a shell aimed at a vehicle standing on its base must reach within
  // the strike distance of the vehicle (16 px) before it meets the pad, or
  // the base would shield it from every direct hit.
  constexpr int kPadRadius = 12;  // px
  Picture pic(kBaseSize, kBaseSize, kKeyColour);
  for (int y = 0; y < kBaseSize; ++y) {
    for (int x = 0; x < kBaseSize; ++x) {
      const int dx = x - kCentre, dy = y - kCentre, d2 = dx * dx + dy * dy;
      if (d2 > kPadRadius * kPadRadius) continue;
      int32_t c = pad;
      if (d2 > 10 * 10 || (d2 > 6 * 6 && d2 <= 7 * 7)) c = ring;
      if (d2 <= 5 * 5 && (std::abs(dx) <= 1 || std::abs(dy) <= 1)) c = mark;
      pic.set(x, y, c);
    }
  }
  return pic;
}

Picture makeShellPicture(int player, int slot) {
  const int32_t base = player == 0 ? kShellColourBase0 : kShellColourBase1;
  Picture pic(kShellSize, kShellSize, base + slot);
  // The four corners are the key colour: a shell reads as a small disc.
  for (int c : {0, kShellSize - 1})
    for (int r : {0, kShellSize - 1}) pic.set(c, r, kKeyColour);
  return pic;
}

}  // namespace zelkar
