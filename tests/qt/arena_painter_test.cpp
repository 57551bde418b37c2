#include "qt/arena_painter.h"

#include <gtest/gtest.h>

#include <set>

#include "qt/bgr_colour.h"
#include "ui/compose.h"
#include "ui/layout.h"

namespace zelkar::qt {
namespace {

int32_t at(const QImage& frame, int x, int y) { return bgrFromRgb(frame.pixel(x, y)); }

int16_t addPicture(ScreenModel& m, Picture p) {
  m.pictures.push_back(std::move(p));
  return int16_t(m.pictures.size() - 1);
}

TEST(BgrColour, BlueIsTheHighByte) {
  EXPECT_EQ(rgbFromBgr(0x0000FF), qRgb(0xFF, 0, 0));
  EXPECT_EQ(rgbFromBgr(0xFF0000), qRgb(0, 0, 0xFF));
  EXPECT_EQ(rgbFromBgr(kKeyColour), qRgb(0x80, 0xFF, 0x80));
  EXPECT_EQ(rgbFromBgr(0xFFFFE8), qRgb(0xE8, 0xFF, 0xFF));
  for (int32_t c : {0x000000, 0x123456, 0xFFFFF8, 0x0BFF80})
    EXPECT_EQ(bgrFromRgb(rgbFromBgr(c)), c);
}

// Without captions the painting is exactly the probe view: boxes, panels,
// sprites stretched by picking pixels, key pixels left out, and their order
// are the same, and only text is added on top.
TEST(ArenaPainter, MatchesTheProbeViewApartFromText) {
  ScreenModel m;
  m.Picture2.visible = true;
  for (auto& panel : m.settei) panel.visible = true;
  for (Item& it : m.hyo1) it.visible = true;
  for (Item& it : m.hyosuu) it.visible = true;
  for (Item& it : m.tani) it.visible = true;
  Item& shell = m.houdan[3];  // a shell over an instrument label
  shell.visible = true;
  shell.move(m.hyo1[0].left, m.hyo1[0].top, 4, 4);
  m.mes1.visible = true;
  // A stretched sprite with a key pixel over a wall: the same pixels picked,
  // the same left out, the wall showing through.
  Picture obstacle(3, 2, 0x0A0B0C);
  obstacle.set(1, 0, kKeyColour);
  obstacle.set(2, 1, 0x00FF00);
  for (Item* it : {&m.kabe[30], &m.tiri[0]}) {  // the lowest sprite family, then one above
    it->kind = Widget::Image;
    it->move(350, 120, 7, 5);  // clear of every panel
    it->picture = addPicture(m, it == &m.tiri[0] ? obstacle : Picture(1, 1, 0x2D0000));
    it->visible = true;
  }

  auto clearCaptions = [](auto& items) {
    for (Item& it : items) it.caption = "";
  };
  clearCaptions(m.hyo1), clearCaptions(m.hyosuu), clearCaptions(m.tani), clearCaptions(m.lab);
  clearCaptions(m.setsuuti), clearCaptions(m.labe1), clearCaptions(m.Labe2);
  m.mes1.caption = "";

  QImage frame = makeArenaFrame();
  paintArena(frame, m);
  std::vector<int32_t> probe;
  composeArena(m, probe);
  int mismatches = 0;
  for (int y = 0; y < kClientHeight; ++y)
    for (int x = 0; x < kClientWidth; ++x)
      if (at(frame, x, y) != probe[std::size_t(y) * kClientWidth + x] && ++mismatches < 5)
        ADD_FAILURE() << "pixel " << x << "," << y;
  EXPECT_EQ(mismatches, 0);
  // Column 3 of 7 picks the picture's column 1 (3 * 3 / 7), a key pixel.
  EXPECT_EQ(at(frame, 350, 120), 0x0A0B0C);
  EXPECT_EQ(at(frame, 353, 120), 0x2D0000);
}

// A label's text has its two colours and none between (no anti-aliasing);
// what a panel holds is clipped to it, and hidden with it.
TEST(ArenaPainter, PanelItemsShowOnlyTheirColoursAndOnlyInTheirPanel) {
  ScreenModel m;
  Item& panel = m.settei[0];
  panel.visible = true;
  Item& label = m.lab[0];
  ASSERT_TRUE(label.visible);
  ASSERT_FALSE(label.caption.view().empty());
  QImage frame = makeArenaFrame();
  paintArena(frame, m);
  std::set<int32_t> colours;
  const int left = panel.left + label.left, top = panel.top + label.top;
  for (int y = top; y < top + label.height; ++y)
    for (int x = left; x < left + label.width; ++x) colours.insert(at(frame, x, y));
  EXPECT_EQ(colours, (std::set<int32_t>{label.backColor, label.foreColor}));

  label.backColor = kCyan;
  label.caption = "";
  label.width = 400;  // far past the panel's right edge
  paintArena(frame, m);
  EXPECT_EQ(at(frame, left + 1, top + 1), kCyan);
  EXPECT_EQ(at(frame, panel.left + panel.width - 1, top + 1), kCyan);
  EXPECT_EQ(at(frame, panel.left + panel.width, top + 1), kKeyColour);
  panel.visible = false;
  paintArena(frame, m);
  EXPECT_EQ(at(frame, left + 1, top + 1), kKeyColour);
}

TEST(ArenaPainter, RealWidgetsAreLeftToTheWidgetsAndPrintedTextLiesBeneath) {
  ScreenModel m;
  m.Picture2.visible = true;
  m.print(int16_t(m.Picture2.left + 2), int16_t(m.Picture2.top + 2), "8888", 0);
  QImage frame = makeArenaFrame();
  paintArena(frame, m);
  // Label1's caption is the real label's to draw; the panel covers the print.
  const int left = m.Picture2.left + m.Label1.left, top = m.Picture2.top + m.Label1.top;
  for (int y = top; y < top + m.Label1.height; ++y)
    for (int x = left; x < left + m.Label1.width; ++x) ASSERT_EQ(at(frame, x, y), kKeyColour);

  m.Picture2.visible = false;
  paintArena(frame, m);
  bool printed = false;
  for (int y = top; y < top + 16; ++y)
    for (int x = left; x < left + 40; ++x) printed = printed || at(frame, x, y) == 0;
  EXPECT_TRUE(printed);
}

// Each unit beside the set-up values shows whole, on both sides: as many
// pixels of its text as the same unit shows in a panel wide enough for
// anything, none cut by the panel's edge.
TEST(ArenaPainter, EveryUnitFitsItsSetUpPanel) {
  auto inkOfUnits = [](int16_t panelWidth) {
    ScreenModel m;
    layout::settingsPanels(m);
    std::vector<int> ink;
    for (int p = 0; p < 2; ++p) {
      Item& panel = m.settei[std::size_t(p)];
      if (panelWidth != panel.width) panel.move(8, 24, panelWidth, panel.height);
      panel.visible = true;
      QImage frame = makeArenaFrame();
      paintArena(frame, m);
      for (int k = 0; k < 7; ++k) {
        const Item& unit = m.tani[std::size_t(p == 0 ? k : 13 - k)];
        int n = 0;
        for (int y = panel.top + unit.top; y < panel.top + unit.top + layout::kTextHeight; ++y)
          for (int x = panel.left + unit.left; x < panel.left + panel.width; ++x)
            n += at(frame, x, y) == unit.foreColor;
        ink.push_back(n);
      }
      panel.visible = false;
    }
    return ink;
  };
  const std::vector<int> inPanels = inkOfUnits(193), roomy = inkOfUnits(400);
  for (std::size_t i = 0; i < roomy.size(); ++i) {
    EXPECT_GT(roomy[i], 10) << i;  // the unit is drawn at all
    EXPECT_EQ(inPanels[i], roomy[i]) << "row " << i % 7 << " of panel " << i / 7;
  }
}

}  // namespace
}  // namespace zelkar::qt
