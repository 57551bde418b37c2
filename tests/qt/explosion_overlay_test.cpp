// The explosions played again over the arena: the sizes the rules placed,
// one after another, over a few tenths of a second, and only on screen.
#include "qt/explosion_overlay.h"

#include <gtest/gtest.h>

#include <QPaintEvent>
#include <cmath>
#include <memory>

#include "app/state_hash.h"
#include "played_match.h"
#include "qt/bgr_colour.h"

namespace zelkar::qt {
namespace {

// explodeVehicle's box for width w around (cx, cy): h = w / 2 to the nearest
// whole number, halves to even, then the corner rounded the same way.
QRect ruleBox(float cx, float cy, int w) {
  const float h = std::nearbyint(w / 2.0f);
  return QRect(int(std::nearbyint(cx - h)), int(std::nearbyint(cy - h)), w, w);
}

TEST(ExplosionOverlay, AVehicleBlastShowsEverySizeFromFullWidthToOnePixel) {
  ExplosionOverlay o;
  const float cx = 411.0f, cy = 131.5f;
  o.addVehicle({1, cx, cy, 31, 7}, 1000);
  const auto first = o.at(1000);
  ASSERT_EQ(first.size(), 1u);
  // h = 16 (15.5 to even); top = 115.5 to even = 116.
  EXPECT_EQ(first[0].box, QRect(395, 116, 31, 31));
  EXPECT_EQ(first[0].picture, 7);

  std::vector<int> widths;
  for (int64_t t = 1000; t < 1000 + ExplosionOverlay::kVehicleMs; ++t) {
    const auto shown = o.at(t);
    ASSERT_EQ(shown.size(), 1u) << t;
    const int w = shown[0].box.width();
    if (widths.empty() || widths.back() != w) widths.push_back(w);
    EXPECT_EQ(shown[0].box, ruleBox(cx, cy, w)) << t;
  }
  ASSERT_EQ(widths.size(), 31u);  // every size, none skipped or repeated
  for (int i = 0; i < 31; ++i) EXPECT_EQ(widths[i], 31 - i);
  EXPECT_TRUE(o.at(1000 + ExplosionOverlay::kVehicleMs).empty());
  EXPECT_TRUE(o.empty());
}

TEST(ExplosionOverlay, AShellBurstShrinksThreePixelsAtATimeToTwoBesideOtherBlasts) {
  ExplosionOverlay o;
  o.addBurst(QRect(100, 200, 11, 11), 3, 0);
  // Sizes 11, 8, 5, 2: a quarter of the time each.
  const int64_t quarter = ExplosionOverlay::kBurstMs / 4;
  const int want[] = {11, 8, 5, 2};
  for (int i = 0; i < 4; ++i) {
    const auto shown = o.at(i * quarter + 1);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].box, ruleBox(105.5f, 205.5f, want[i]));
  }
  EXPECT_TRUE(o.at(ExplosionOverlay::kBurstMs).empty());
  // Both vehicles and bursts play together and end on their own.
  o = ExplosionOverlay{};
  o.addVehicle({0, 600, 300, 31, 1}, 0);
  o.addBurst(QRect(10, 10, 8, 8), 2, 100);
  o.addVehicle({1, 100, 300, 31, 1}, 50);
  EXPECT_EQ(o.at(120).size(), 3u);
  EXPECT_EQ(o.at(100 + ExplosionOverlay::kBurstMs).size(), 2u);  // the burst has ended
  EXPECT_EQ(o.at(ExplosionOverlay::kVehicleMs).size(), 1u);      // and the first blast
  EXPECT_EQ(o.at(50 + ExplosionOverlay::kVehicleMs).size(), 0u);
}

// A real match to ten: the last destruction is drawn over the arena while
// the question waits, and neither the game nor the arena's own painting
// (what the probes read) knows about it.
TEST(ExplosionOverlayWindow, TheLastDestructionShowsOverTheQuestion) {
  test::TestHost t({}, false);
  GameHost& host = t.host;
  int64_t now = 0;
  host.mainWindow().setClock([&] { return now; });
  test::playCommands(host, test::replayHead("match_to_ten.zrp", 4842), [&] { now += 10; });
  ASSERT_TRUE(host.game().awaitingAnswer);
  const GameState& s = host.game().s;
  const int loser = 1 - s.subjectPlayer;
  const float cx = s.posX[loser] + s.vehicleRadius, cy = s.posY[loser] + s.vehicleRadius;
  const uint64_t hash = stateHash(host.game());

  // The earlier rounds' blasts are over; shell bursts may still show.
  auto shown = host.mainWindow().overlay().at(now);
  std::erase_if(shown, [&](const auto& sprite) { return sprite.box.width() != s.blastWidth; });
  ASSERT_EQ(shown.size(), 1u);
  const QRect box = ruleBox(cx, cy, s.blastWidth);
  EXPECT_EQ(shown[0].box, box);
  const Picture& pic = host.game().screen.pictures.at(std::size_t(shown[0].picture));

  const QImage onScreen = host.mainWindow().grab().toImage();
  host.mainWindow().renderFrame();
  const QImage arena = host.mainWindow().frame();
  int drawn = 0;
  for (int y = 0; y < box.height(); ++y) {
    for (int x = 0; x < box.width(); ++x) {
      const int32_t c = pic.stretchedAt(int16_t(box.width()), int16_t(box.height()), x, y);
      const QPoint p = box.topLeft() + QPoint(x, y);
      // Real widgets (the answer box) lie over everything painted.
      if (c == kKeyColour || !arena.rect().contains(p) || host.mainWindow().childAt(p)) continue;
      EXPECT_EQ(onScreen.pixel(p), rgbFromBgr(c)) << x << "," << y;
      ++drawn;
    }
  }
  EXPECT_GT(drawn, 100);
  EXPECT_EQ(stateHash(host.game()), hash);
}

// Paints of other parts of the window while a blast plays (a tick's moved
// sprite, a read-out) must not make the window forget a larger size still
// on the screen: once the blast has ended, its whole first box is painted
// over again.
TEST(ExplosionOverlayWindow, PartialPaintsDuringABlastLeaveNothingOnScreen) {
  test::TestHost t;
  GameHost& host = t.host;
  int64_t now = 0;
  host.mainWindow().setClock([&] { return now; });
  host.load(5);
  MainWindow& window = host.mainWindow();
  // The start timer makes the sprites and shows the start panel; then it
  // stops, and nothing but the blast repaints the window.
  for (int i = 0; i < 20 && host.startClock().isActive(); ++i) host.startTimerFired();
  ASSERT_FALSE(host.startClock().isActive());
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  const auto picture = [&] { return host.game().screen.baku[0].picture; };
  ASSERT_TRUE(picture() >= 0 && std::size_t(picture()) < host.game().screen.pictures.size());
  const VehicleExplosion blast{0, 400, 300, 31, picture()};
  const QRect firstBox = ruleBox(400, 300, 31);  // (385, 285) to (415, 315)

  struct Painted : QObject {
    QRegion region;
    bool eventFilter(QObject*, QEvent* e) override {
      if (e->type() == QEvent::Paint) region += static_cast<QPaintEvent*>(e)->region();
      return false;
    }
  } painted;
  window.installEventFilter(&painted);

  window.addExplosion(blast);
  window.repaint();  // the full blast on the screen
  for (const int64_t at : {int64_t(100), ExplosionOverlay::kVehicleMs / 2}) {
    now = at;  // smaller sizes now; a corner far from the blast is painted
    window.repaint(QRect(0, 0, 8, 8));
  }
  painted.region = QRegion();
  now = ExplosionOverlay::kVehicleMs;  // the blast has ended
  const auto covered = [&] { return painted.region.intersected(firstBox) == QRegion(firstBox); };
  EXPECT_TRUE(QTest::qWaitFor(covered, 500));
  window.removeEventFilter(&painted);
}

}  // namespace
}  // namespace zelkar::qt
