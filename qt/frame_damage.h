// What changed on the arena between two looks at the screen model, so that
// a frame is repainted only where its pixels may differ. Each item is
// remembered by what its painting depends on; an item that differs in any
// of that marks both where it was and where it is now.
#pragma once

#include <QRegion>
#include <cstdint>
#include <vector>

#include "ui/screen_model.h"

namespace zelkar::qt {

class FrameDamage {
 public:
  // The next look reports the whole arena (pictures were drawn anew, or
  // nothing has been painted yet).
  void invalidate() { everything_ = true; }

  // The area that differs between the model as last looked at and `m`
  // now, in client pixels; `m` is remembered for the next look.
  QRegion look(const ScreenModel& m);

 private:
  // What an item's pixels depend on, and the area they cover. Two looks
  // with the same inputs cover the same area, so the area (which for a
  // read-out means laying its text out) is worked out only on a change.
  struct Look {
    bool shows = false;  // visible, in a visible panel, of some size
    QRect box;           // px: the item's box within its panel
    QRect panel;         // px: the panel's box, empty at the top level
    int16_t picture = -1;
    int32_t backColor = 0;
    int32_t foreColor = 0;
    int16_t fontPoints = 0;
    bool bold = false;
    Widget kind = Widget::Label;
    Align align = Align::Left;
    Caption caption;
    QRect area;  // painted pixels: follows from the rest
    // Whether `it` (in `parent`) would give the same look now.
    bool sameAs(const ScreenModel& m, const Item& it, const Item* parent) const;
    // Becomes the look of `it` now, its area worked out anew.
    void take(const ScreenModel& m, const Item& it, const Item* parent);
  };
  struct Printed {
    int16_t x = 0, y = 0;
    int32_t color = 0;
    Caption text;
  };

  bool everything_ = true;
  std::vector<QRect> marked_;  // the look being taken: areas to repaint, px
  std::vector<Look> looks_;    // in stacking order
  std::vector<Look> next_;     // the look being taken, kept to reuse its memory
  std::vector<Printed> printed_;
  std::size_t pictureCount_ = 0;
};

}  // namespace zelkar::qt
