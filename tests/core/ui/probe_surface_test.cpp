// The probe surface against the whole-window composer, and the stacking
// order the probes depend on.
#include "ui/probe_surface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <set>

#include "core/ui/ui_support.h"
#include "ui/compose.h"
#include "ui/vehicle_pictures.h"

namespace zelkar {
namespace {

struct Arena : testing::OpenedWindow {
  ProbeSurface probe;
  int32_t read(int x, int y) {
    probe.capture(m);
    return probe.getPixel(m.pictures, x, y);
  }
  void show(Item& it, int16_t l, int16_t t, int16_t size) {
    it.visible = true;
    it.move(l, t, size, size);
  }
};

// Every item at a random place and size, shown or hidden at random.
void scramble(Arena& a, std::mt19937& rng) {
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  for (const Item* c : a.m.stackingOrder()) {
    Item& it = const_cast<Item&>(*c);  // the model itself is not const
    it.visible = pick(0, 2) != 0;
    const bool child = a.m.parentOf(it) != nullptr;
    it.left = int16_t(child ? pick(-20, 200) : pick(-60, 820));
    it.top = int16_t(child ? pick(-20, 180) : pick(-60, 600));
    if (it.kind == Widget::Image || it.kind == Widget::PictureBox) {
      it.width = int16_t(pick(0, 70));
      it.height = pick(0, 3) == 0 ? int16_t(pick(0, 70)) : it.width;
    } else if (pick(0, 1) == 0) {
      it.width = int16_t(pick(0, 220));
      it.height = int16_t(pick(0, 200));
    }
  }
  for (int p = 0; p < 2; ++p) {
    const int k = pick(0, 63);
    a.m.hline[p].x2 =
        a.s.tables().dirLineX[k] + (pick(0, 3) == 0 ? float(pick(-2, 2)) * 0.7f : 0.0f);
    a.m.hline[p].y2 = a.s.tables().dirLineY[k];
  }
}

TEST(ProbeSurface, ReadsWhatTheComposerDrawsOnRandomScenes) {
  Arena a;
  std::mt19937 rng(20240611);
  std::vector<int32_t> view;
  for (int scene = 0; scene < 8; ++scene) {
    scramble(a, rng);
    composeArena(a.m, view);
    a.probe.capture(a.m);
    int mismatches = 0, drawn = 0;
    for (int y = 0; y < kClientHeight; ++y)
      for (int x = 0; x < kClientWidth; ++x) {
        const int32_t want = view[std::size_t(y) * kClientWidth + x];
        drawn += want != kKeyColour;
        if (a.probe.getPixel(a.m.pictures, x, y) != want && ++mismatches < 5)
          ADD_FAILURE() << "scene " << scene << " at " << x << "," << y;
      }
    EXPECT_EQ(mismatches, 0);
    EXPECT_GT(drawn, 20000) << "scene " << scene << " draws almost nothing";
  }
}

TEST(ProbeSurface, OutsideTheClientAreaThereIsNoPixel) {
  Arena a;
  a.probe.capture(a.m);
  for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {793, 10}, {10, 579}, {-5000, 99999}})
    EXPECT_EQ(a.probe.getPixel(a.m.pictures, x, y), kNoPixel) << x << "," << y;
  EXPECT_EQ(a.probe.getPixel(a.m.pictures, 0, 0), kKeyColour);
  EXPECT_EQ(a.probe.getPixel(a.m.pictures, 792, 578), kKeyColour);
}

TEST(ProbeSurface, StretchesPicturesByPickingSourcePixels) {
  Arena a;
  Item& wall = a.m.kabe[4];
  a.show(wall, 100, 100, 16);  // the 31-px picture at about half size
  const Picture& pic = a.m.pictures[std::size_t(wall.picture)];
  a.probe.capture(a.m);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const int32_t src = pic.at(x * 31 / 16, y * 31 / 16);
      EXPECT_EQ(a.probe.getPixel(a.m.pictures, 100 + x, 100 + y),
                src == kKeyColour ? kKeyColour : src);
    }
}

TEST(ProbeSurface, ReadsTheArenaAsItStoodAtCapture) {
  Arena a;
  a.show(a.m.tiri[2], 300, 300, 31);
  a.probe.capture(a.m);
  const int32_t before = a.probe.getPixel(a.m.pictures, 315, 315);
  EXPECT_EQ(before >> 16, 2);
  a.m.tiri[2].move(500, 500);  // moved during the tick
  EXPECT_EQ(a.probe.getPixel(a.m.pictures, 315, 315), before);
  a.probe.capture(a.m);  // the next tick
  EXPECT_EQ(a.probe.getPixel(a.m.pictures, 315, 315), kKeyColour);
  EXPECT_EQ(a.probe.getPixel(a.m.pictures, 515, 515) >> 16, 2);
}

TEST(ProbeSurface, ACopyReadsItsOwnPicturesAfterTheOriginalIsGone) {
  // Online play keeps copies of whole games for rolling back: a copy's
  // capture must not lead into the original's screen model.
  auto original = std::make_unique<Arena>();
  original->show(original->m.tiri[2], 300, 300, 31);
  original->probe.capture(original->m);
  const Arena copy = *original;
  for (Picture& p : original->m.pictures) std::fill(p.pixels.begin(), p.pixels.end(), 0x3E0000);
  original.reset();
  EXPECT_EQ(copy.probe.getPixel(copy.m.pictures, 315, 315) >> 16, 2);
}

TEST(Stacking, UpperSpritesHideLowerOnes) {
  Arena a;
  // A shell over a wall reads as the wall.
  a.show(a.m.kabe[3], 200, 200, 30);
  a.show(a.m.houdan[1], 212, 212, 4);
  EXPECT_EQ(colourCode(a.read(213, 213)), 14);
  // Walls 30..34 lie below the shell blasts, walls 0..29 above them.
  a.show(a.m.kabe[31], 400, 100, 30);
  a.show(a.m.tamabaku[2], 405, 105, 20);
  EXPECT_EQ(colourCode(a.read(415, 115)), 48);
  a.m.kabe[31].visible = false;
  a.show(a.m.kabe[7], 400, 100, 30);
  EXPECT_EQ(colourCode(a.read(415, 115)), 18);
  // Obstacle 1 lies below the walls, the other obstacles above.
  a.show(a.m.kabe[9], 500, 300, 30);
  a.show(a.m.tiri[1], 505, 305, 20);
  EXPECT_EQ(colourCode(a.read(515, 315)), 20);
  a.m.tiri[1].visible = false;
  a.show(a.m.tiri[6], 505, 305, 20);
  EXPECT_EQ(a.read(515, 315) >> 16, 6);
}

TEST(Stacking, VehiclesLieAboveTheSettingsPanelsAndPanelsAboveSprites) {
  Arena a;
  a.m.settei[0].visible = true;  // at (592, 24), 193 x 177
  a.show(a.m.houdan[3], 700, 100, 4);
  EXPECT_EQ(a.read(701, 101), kPanelColour);  // the panel covers the shell
  a.show(a.m.kyara[1], 690, 90, 21);
  a.m.hline[1].x2 = a.s.tables().dirLineX[16];
  a.m.hline[1].y2 = a.s.tables().dirLineY[16];
  const Picture& pic = a.m.pictures[std::size_t(kyaraPicture(a.m, 1))];
  EXPECT_EQ(a.read(700, 95), pic.at(10, 5));        // the vehicle body
  EXPECT_EQ(a.read(701, 109), a.m.hline[1].color);  // its gun line, pointing down
  EXPECT_EQ(a.read(690, 90), kPanelColour);         // the corner outside the disc
}

TEST(Stacking, LabelsAreOpaqueAndHideWhatLiesBelow) {
  Arena a;
  // A friction label over a shell blast: the probes see the label's ground.
  a.show(a.m.tamabaku[0], 330, 0, 20);
  EXPECT_EQ(colourCode(a.read(340, 10)), 46);
  a.m.masatu[0].visible = true;
  EXPECT_EQ(a.read(340, 10), kKeyColour);
  // A panel hides its children with itself.
  a.m.settei[1].visible = false;
  a.show(a.m.kabe[5], 20, 40, 30);
  EXPECT_EQ(colourCode(a.read(30, 50)), 16);
}

TEST(Stacking, EveryItemOnceInTheOrderTheRulesGive) {
  ScreenModel m;
  const auto order = m.stackingOrder();
  ASSERT_EQ(order.size(), std::size_t(kStackedItems));
  EXPECT_EQ(std::set<const Item*>(order.begin(), order.end()).size(), order.size());
  auto at = [&](const Item& it) {
    return std::find(order.begin(), order.end(), &it) - order.begin();
  };
  // Bottom to top, one representative of each family.
  const Item* chain[] = {&m.hikiwake[1], &m.kabe[30],   &m.tamabaku[15], &m.mes1,
                         &m.kiti[0],     &m.hyosuu[17], &m.houdan[0],    &m.tiri[1],
                         &m.kabe[29],    &m.baku[0],    &m.tiri[19],     &m.baku[1],
                         &m.Picture2,    &m.settei[1],  &m.han,          &m.kyara[0]};
  for (std::size_t i = 1; i < std::size(chain); ++i)
    EXPECT_LT(at(*chain[i - 1]), at(*chain[i])) << "step " << i;
  EXPECT_LT(at(m.kabe[34]), at(m.tamabaku[0]));
  EXPECT_LT(at(m.baku[0]), at(m.tiri[0]));
  for (const Item* it : order) {
    if (const Item* parent = m.parentOf(*it)) {
      EXPECT_LT(at(*parent), at(*it));
    }
  }
}

}  // namespace
}  // namespace zelkar
