#include "qt/frame_damage.h"

#include "qt/arena_painter.h"
#include "ui/stacking.h"
#include "ui/vehicle_pictures.h"

namespace zelkar::qt {

bool FrameDamage::Look::operator==(const Look& o) const {
  return area == o.area && picture == o.picture && backColor == o.backColor &&
         foreColor == o.foreColor && fontPoints == o.fontPoints && bold == o.bold &&
         kind == o.kind && align == o.align && caption == o.caption.view();
}

QRegion FrameDamage::look(const ScreenModel& m) {
  const QRect whole(0, 0, kClientWidth, kClientHeight);
  std::vector<Look> now;
  now.reserve(kStackedItems);
  visitStacking(m, [&](const Item& it, const Item* parent) {
    Look l;
    l.area = paintedArea(m, it, parent);
    // What the item looks like matters only where it shows.
    if (!l.area.isEmpty()) {
      l.picture = drawnPicture(m, it);
      l.backColor = it.backColor;
      l.foreColor = it.foreColor;
      l.fontPoints = it.fontPoints;
      l.bold = it.bold;
      l.kind = it.kind;
      l.align = it.align;
      l.caption = it.caption.view();
    }
    now.push_back(l);
  });

  bool printedSame = printed_.size() == m.printed.size();
  for (std::size_t i = 0; printedSame && i < printed_.size(); ++i) {
    const Printed& a = printed_[i];
    const PrintedText& b = m.printed[i];
    printedSame = a.x == b.x && a.y == b.y && a.color == b.color && a.text == b.text.view();
  }
  if (!printedSame) {
    printed_.clear();
    for (const PrintedText& t : m.printed) printed_.push_back({t.x, t.y, t.color, t.text});
  }

  // New pictures appear only at load and start-up; repainting everything
  // then is simpler than tracking which items use them.
  const bool all = everything_ || !printedSame || now.size() != looks_.size() ||
                   m.pictures.size() != pictureCount_;
  QRegion changed;
  if (all) {
    changed = whole;
  } else {
    for (std::size_t i = 0; i < now.size(); ++i) {
      if (now[i] == looks_[i]) continue;
      changed += looks_[i].area;
      changed += now[i].area;
    }
  }
  everything_ = false;
  pictureCount_ = m.pictures.size();
  looks_ = std::move(now);
  return changed & whole;
}

}  // namespace zelkar::qt
