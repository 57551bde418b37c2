// Start-up stamping: the countdown on screen and the state it leaves.
#include "ui/prepare_sprites.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/handlers.h"

namespace zelkar {
namespace {

const PrintedText* printedAt(const ScreenModel& m, int16_t x, int16_t y) {
  for (const PrintedText& t : m.printed)
    if (t.x == x && t.y == y) return &t;
  return nullptr;
}

TEST(PrepareSprites, CountsDownWithOneValueOnScreenAtATime) {
  ScreenModel m;
  GameState s;
  std::vector<int> seen;
  prepareSprites(s, m, [&] {
    seen.push_back(s.countdownValue);
    ASSERT_EQ(m.printed.size(), 2u);  // the notice and one number
    const PrintedText* notice = printedAt(m, 330, 280);
    ASSERT_NE(notice, nullptr);
    EXPECT_EQ(notice->text.view(), "初期化中");
    const PrintedText* count = printedAt(m, 430, 280);
    ASSERT_NE(count, nullptr);
    EXPECT_EQ(count->text.view(), std::to_string(s.countdownValue));
    EXPECT_EQ(count->color, 0);
  });
  std::vector<int> want;
  for (int v = 60; v >= 50; --v) want.push_back(v);  // obstacles
  for (int v = 50; v >= 16; --v) want.push_back(v);  // walls
  for (int v = 15; v >= 0; --v) want.push_back(v);   // shell blasts
  EXPECT_EQ(seen, want);
}

TEST(PrepareSprites, LeavesTheStartPanelUpAndTheWorkBoxesHidden) {
  Game g;
  g.screen.startInterval = 1;
  const Item before = g.screen.Picture2;
  startTimer(g);
  const ScreenModel& m = g.screen;
  EXPECT_EQ(m.startInterval, 0);  // one shot
  // The notice is wiped; the last value stays, under the start panel.
  ASSERT_EQ(m.printed.size(), 1u);
  EXPECT_EQ(m.printed[0].text.view(), "0");
  EXPECT_EQ(m.printed[0].x, 430);
  EXPECT_EQ(g.s.countdownValue, 0);
  EXPECT_TRUE(m.Picture2.visible);
  EXPECT_EQ(m.Picture2.top, 250);
  EXPECT_EQ(m.Picture2.left, before.left);
  for (const Item* it : {&m.totiri, &m.mototiri[5], &m.motokabe, &m.motobaku})
    EXPECT_FALSE(it->visible);
  // Stamping changes pictures only, not what is shown.
  for (const Item& t : m.tiri) EXPECT_FALSE(t.visible);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(m.tiri[i].picture >= 0, i <= 10) << i;
  for (auto& k : m.kabe) EXPECT_TRUE(k.picture >= 0 && !k.visible);
  for (auto& t : m.tamabaku) EXPECT_TRUE(t.picture >= 0 && !t.visible);
}

}  // namespace
}  // namespace zelkar
