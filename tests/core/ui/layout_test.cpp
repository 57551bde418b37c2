// The main window as it opens: the sizes the load handler measures, what
// is shown, and labels that do not run into each other.
#include "ui/layout.h"

#include <gtest/gtest.h>

#include "ui/stacking.h"

namespace zelkar {
namespace {

TEST(Layout, EachPictureIsTheSizeOfItsBox) {
  ScreenModel m;
  // Shown unstretched.
  for (const Item* it : {&m.kyara[0], &m.kiti[1], &m.houdan[9], &m.mototiri[4], &m.mototiri[5],
                         &m.motokabe, &m.motobaku}) {
    const Picture& pic = m.pictures.at(std::size_t(it->picture));
    EXPECT_EQ(pic.width, it->width);
    EXPECT_EQ(pic.height, it->height);
  }
}

TEST(Layout, OnlyTheWorkBoxesShowWhenTheWindowOpens) {
  ScreenModel m;
  std::vector<const Item*> shown;
  visitStacking(m, [&](const Item& it, const Item* parent) {
    if (it.visible && (parent == nullptr || parent->visible)) shown.push_back(&it);
  });
  const std::vector<const Item*> want = {&m.mototiri[5], &m.motokabe, &m.motobaku, &m.totiri};
  EXPECT_EQ(shown, want);
  EXPECT_FALSE(m.scoreVisible);
  for (auto& t : m.tokuten) {
    EXPECT_FALSE(t.visible);
    EXPECT_EQ(t.caption.view(), "00");
  }
}

TEST(Layout, PlayerOnesSettingsRunBackwards) {
  ScreenModel m;
  // Row 0 of player 1 is lab(13) / tani(13), row 6 is lab(7) / tani(7).
  EXPECT_EQ(m.lab[13].caption.view(), "装甲の厚さ");
  EXPECT_EQ(m.tani[13].caption.view(), "(mm)");
  EXPECT_EQ(m.lab[7].caption.view(), "総重量");
  EXPECT_EQ(m.lab[7].left, 8);
  EXPECT_EQ(m.parentOf(m.lab[13]), &m.settei[1]);
  EXPECT_EQ(m.parentOf(m.setsuuti[7]), &m.settei[1]);
  EXPECT_EQ(m.setsuuti[7].top, 24);
  EXPECT_EQ(m.parentOf(m.tani[14]), nullptr);  // an instrument unit
}

TEST(Layout, LabelsOfAColumnDoNotOverlap) {
  // Text running into its neighbour would be unreadable; the right-aligned
  // read-outs end where their unit begins.
  ScreenModel m;
  auto overlap = [](const Item& a, const Item& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
  };
  std::vector<const Item*> main, panel0, panel1;
  for (const Item* it : m.stackingOrder()) {
    if (it->kind != Widget::Label || it->fontPoints != 9 || it == &m.hyoumas[0] ||
        it == &m.hyoumas[1] || it == &m.masatu[0] || it == &m.masatu[1] || it == &m.mes1)
      continue;
    const Item* parent = m.parentOf(*it);
    (parent == &m.settei[0] ? panel0 : parent == &m.settei[1] ? panel1 : main).push_back(it);
  }
  for (const auto* list : {&main, &panel0, &panel1})
    for (std::size_t i = 0; i < list->size(); ++i)
      for (std::size_t j = i + 1; j < list->size(); ++j)
        EXPECT_FALSE(overlap(*(*list)[i], *(*list)[j]))
            << (*list)[i]->caption.view() << " / " << (*list)[j]->caption.view();
  for (const auto* it : main) {
    if (it->align == Align::Left) {
      EXPECT_GE(it->width, layout::textWidth(it->caption.view()));
    }
  }
}

}  // namespace
}  // namespace zelkar
