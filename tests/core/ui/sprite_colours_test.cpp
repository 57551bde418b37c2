// The colours the probes decode: stamped codes, bases, shells, vehicles.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <span>
#include <tuple>

#include "core/ui/ui_support.h"
#include "ui/prepare_sprites.h"
#include "ui/sprite_art.h"
#include "ui/vehicle_pictures.h"

namespace zelkar {
namespace {

using testing::isFreeColour;

struct Prepared : testing::OpenedWindow {
  const Picture& pic(const Item& it) const { return m.pictures.at(std::size_t(it.picture)); }
};

// Calls f(stamped, source) for every pixel of a stamped picture.
template <typename F>
void eachPixel(const Picture& stamped, const Picture& source, F f) {
  ASSERT_EQ(stamped.width, source.width);
  ASSERT_EQ(stamped.height, source.height);
  for (int y = 0; y < source.height; ++y)
    for (int x = 0; x < source.width; ++x) f(stamped.at(x, y), source.at(x, y));
}

TEST(Stamping, EveryObjectCarriesItsCodeAndKeepsTheRest) {
  Prepared p;
  for (int i = 0; i < kObstacles; ++i) {
    SCOPED_TRACE(i);
    const Picture& source = p.pic(p.m.mototiri[i % 5]);  // shapes taken in turn
    eachPixel(p.pic(p.m.tiri[i]), source, [&](int32_t got, int32_t src) {
      if (src == kKeyColour) {
        EXPECT_EQ(got, kKeyColour);
        return;
      }
      EXPECT_EQ(got >> 16, i);                // the whole blue byte
      EXPECT_EQ(got & 0xFFFF, src & 0xFFFF);  // red and green kept
    });
  }
  // Walls and shell blasts keep the top two bits of blue beside their code.
  for (auto [items, source, first] :
       {std::tuple{std::span<const Item>(p.m.kabe), &p.m.motokabe, 11},
        {std::span<const Item>(p.m.tamabaku), &p.m.motobaku, 46}}) {
    for (std::size_t i = 0; i < items.size(); ++i) {
      SCOPED_TRACE(::testing::Message() << "code " << first + int(i));
      eachPixel(p.pic(items[i]), p.pic(*source), [&](int32_t got, int32_t src) {
        if (src == kKeyColour) {
          EXPECT_EQ(got, kKeyColour);
          return;
        }
        EXPECT_EQ(colourCode(got), first + int(i));
        EXPECT_EQ(got & 0xC0FFFF, src & 0xC0FFFF);
      });
    }
  }
  // The cases named in the rules, as plain numbers.
  EXPECT_EQ(stampObstacle(0x2D9080, 3) >> 16, 3);
  EXPECT_EQ(colourCode(stampWall(0xAD9080, 0)), 11);
  EXPECT_EQ(colourCode(stampBlast(0x2DD8FF, 15)), 61);
}

TEST(SpriteColours, NothingAProbeMustSeeIsAFreeColour) {
  Prepared p;
  auto check = [](const Picture& pic, const char* what) {
    for (int32_t c : pic.pixels) {
      if (c != kKeyColour) {
        ASSERT_FALSE(isFreeColour(c)) << what << std::hex << " " << c;
      }
    }
  };
  for (int i = 0; i < kObstacles; ++i) check(p.pic(p.m.tiri[i]), "obstacle");
  for (auto& k : p.m.kabe) check(p.pic(k), "wall");
  for (auto& t : p.m.tamabaku) check(p.pic(t), "blast");
  for (auto& k : p.m.kiti) check(p.pic(k), "base");
  check(p.pic(p.m.motobaku), "vehicle explosion");  // baku shows the unstamped source
}

// The bases' pad (codes 62 and 63, within 12 px of the centre) is held by
// the golden replays: every vehicle leaves its base through it.

TEST(SpriteColours, ShellsAreTheirExactColourInsideKeyCorners) {
  Prepared p;
  for (int pl = 0; pl < 2; ++pl)
    for (int s = 0; s < 8; ++s) {
      const Picture& pic = p.pic(p.m.houdan[8 * pl + s]);
      ASSERT_EQ(pic.width, 4);
      ASSERT_EQ(pic.height, 4);
      for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
          const bool corner = (x == 0 || x == 3) && (y == 0 || y == 3);
          EXPECT_EQ(pic.at(x, y), corner ? kKeyColour : p.s.shellColorBase[pl] + s);
        }
    }
}

TEST(SpriteColours, VehiclesAreNoFreeColourAndNeverDecodeAsAnObstacle) {
  // A shell that strikes a vehicle decodes what it hit as an obstacle code
  // too; no vehicle pixel, gun line included, may name one.
  Prepared p;
  for (int pl = 0; pl < 2; ++pl)
    for (int k = 0; k < kDirections; ++k) {
      const Picture& pic = p.m.pictures[std::size_t(p.m.gunPictures[pl].first + k)];
      for (int32_t c : pic.pixels) {
        if (c != kKeyColour) {
          ASSERT_GT(colourCode(c), 10) << std::hex << c;
          ASSERT_FALSE(isFreeColour(c)) << std::hex << c;
        }
      }
      for (int c : {0, 20})
        for (int r : {0, 20}) EXPECT_EQ(pic.at(c, r), kKeyColour);  // corners outside the disc
    }
}

TEST(VehiclePictures, TheGunLineFollowsHline) {
  Prepared p;
  for (int pl = 0; pl < 2; ++pl)
    for (int k : {0, 8, 16, 31, 32, 45, 63}) {
      p.m.hline[pl].x2 = p.s.tables().dirLineX[k];
      p.m.hline[pl].y2 = p.s.tables().dirLineY[k];
      const int16_t idx = kyaraPicture(p.m, pl);
      EXPECT_EQ(idx, p.m.gunPictures[pl].first + k);
      const Picture& pic = p.m.pictures[std::size_t(idx)];
      // The line's end and its midpoint are drawn in the gun colour.
      const float mx = (p.s.tables().dirLineX[k] + 11) / 2,
                  my = (p.s.tables().dirLineY[k] + 11) / 2;
      EXPECT_EQ(pic.at(int(std::lround(mx)), int(std::lround(my))), p.m.hline[pl].color) << k;
      const int ex = int(std::lround(p.s.tables().dirLineX[k])),
                ey = int(std::lround(p.s.tables().dirLineY[k]));
      EXPECT_EQ(pic.at(std::min(ex, 20), std::min(ey, 20)), p.m.hline[pl].color) << k;
    }
  // An end point off the table picks the nearest direction.
  p.m.hline[0].x2 = p.s.tables().dirLineX[5] + 0.3f;
  p.m.hline[0].y2 = p.s.tables().dirLineY[5] - 0.2f;
  EXPECT_EQ(kyaraPicture(p.m, 0), p.m.gunPictures[0].first + 5);
}

TEST(Pictures, MakingThemAgainReusesTheirSlots) {
  Prepared p;
  const std::size_t before = p.m.pictures.size();
  const int16_t first = p.m.gunPictures[1].first, wall = p.m.kabe[12].picture;
  makeVehiclePictures(p.m, p.s);
  prepareSprites(p.s, p.m);
  EXPECT_EQ(p.m.pictures.size(), before);
  EXPECT_EQ(p.m.gunPictures[1].first, first);
  EXPECT_EQ(p.m.kabe[12].picture, wall);
}

}  // namespace
}  // namespace zelkar
