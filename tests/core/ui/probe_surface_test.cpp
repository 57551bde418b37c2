// The probe surface against the whole-window composer (itself held to the
// window's painter in tests/qt), and the stacking order both follow.
#include "ui/probe_surface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <set>
#include <string>

#include "core/ui/ui_support.h"
#include "ui/compose.h"

namespace zelkar {
namespace {

struct Arena : testing::OpenedWindow {
  ProbeSurface probe;
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

// Captures the arena and compares every pixel with the composer's view;
// returns how many pixels draw something.
int captureAndCompare(Arena& a, const std::string& scene) {
  std::vector<int32_t> view;
  composeArena(a.m, view);
  a.probe.capture(a.m);
  int mismatches = 0, drawn = 0;
  for (int y = 0; y < kClientHeight; ++y)
    for (int x = 0; x < kClientWidth; ++x) {
      const int32_t want = view[std::size_t(y) * kClientWidth + x];
      drawn += want != kKeyColour;
      if (a.probe.getPixel(a.m.pictures, x, y) != want && ++mismatches < 5)
        ADD_FAILURE() << scene << " at " << x << "," << y;
    }
  EXPECT_EQ(mismatches, 0) << scene;
  return drawn;
}

TEST(ProbeSurface, ReadsWhatTheComposerDrawsOnRandomScenes) {
  // One probe over all scenes: a capture places again only what changed
  // since the last one, so each scene is followed by one where only a few
  // items move, show or hide, and a panel shows or hides with its children.
  Arena a;
  std::mt19937 rng(20240611);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  for (int scene = 0; scene < 8; ++scene) {
    scramble(a, rng);
    EXPECT_GT(captureAndCompare(a, "scene " + std::to_string(scene)), 20000)
        << "scene " << scene << " draws almost nothing";
    for (const Item* c : a.m.stackingOrder()) {
      Item& it = const_cast<Item&>(*c);
      if (pick(0, 15) == 0) it.visible = !it.visible;
      if (pick(0, 15) == 0)
        it.move(int16_t(it.left + pick(-40, 40)), int16_t(it.top + pick(-40, 40)));
    }
    Item& panel = scene % 3 == 0 ? a.m.Picture2 : a.m.settei[std::size_t(scene % 2)];
    panel.visible = !panel.visible;
    captureAndCompare(a, "after scene " + std::to_string(scene));
  }
}

TEST(ProbeSurface, ACellReachedByTooManyLayersIsListedAgainWhenTheyLeave) {
  Arena a;
  a.m.Picture2.visible = false;
  const auto order = a.m.stackingOrder();
  // Every sprite over one place: far more layers than a cell lists.
  for (const Item* c : order) {
    Item& it = const_cast<Item&>(*c);
    if (a.m.parentOf(it) == nullptr && it.kind == Widget::Image) a.show(it, 300, 300, 31);
  }
  captureAndCompare(a, "piled");
  // All but a few leave, one at a time over several captures.
  int left = 0;
  for (const Item* c : order) {
    Item& it = const_cast<Item&>(*c);
    if (!it.visible || a.m.parentOf(it) != nullptr || it.kind != Widget::Image) continue;
    if (++left % 5 != 0) it.visible = false;
    if (left % 20 == 0) captureAndCompare(a, "leaving " + std::to_string(left));
  }
  captureAndCompare(a, "left");
}

TEST(ProbeSurface, OutsideTheClientAreaThereIsNoPixel) {
  Arena a;
  a.probe.capture(a.m);
  for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {793, 10}, {10, 579}, {-5000, 99999}})
    EXPECT_EQ(a.probe.getPixel(a.m.pictures, x, y), kNoPixel) << x << "," << y;
  EXPECT_EQ(a.probe.getPixel(a.m.pictures, 0, 0), kKeyColour);
  EXPECT_EQ(a.probe.getPixel(a.m.pictures, 792, 578), kKeyColour);
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
