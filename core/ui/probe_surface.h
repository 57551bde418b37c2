// The probe surface: what GetPixel reads. Probes read the arena as it stood
// when the tick began, so the tick captures the drawn geometry first and
// every probe of that tick reads the capture.
//
// The probe view draws sprites through their pictures (stretched, nearest
// neighbour; key-colour pixels transparent) and every other widget as an
// opaque rectangle of its back colour. Label text is left out: it is drawn
// in free colours (black, cyan) or only shown while no tick runs (the
// result labels), so what a probe would read on it decodes the same as the
// background. Text printed on the window (the start-up countdown) is left
// out for the same reason: it is black.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "ui/screen_model.h"
#include "ui/stacking.h"

namespace zelkar {

inline constexpr int32_t kNoPixel = static_cast<int32_t>(0xFFFFFFFF);  // outside the client area

class ProbeSurface {
 public:
  // Takes the positions, sizes, visibility and picture numbers of
  // everything drawn on the main window. Never allocates: it runs at the
  // start of every tick. Pictures are kept by their number in the screen
  // model, never by address, so a copy of a Game (saved for a rollback)
  // reads its own pictures and never the original's.
  void capture(const ScreenModel& screen);
  // The colour of the topmost drawn thing at client pixel (x, y), blue in
  // the high byte; kNoPixel outside the client area. `pictures` are the
  // screen model's (they do not change during a match).
  int32_t getPixel(const std::vector<Picture>& pictures, int x, int y) const;

 private:
  struct Layer {
    int32_t x0, y0, x1, y1;            // drawn part in client px: [x0, x1) x [y0, y1)
    int32_t left, top, width, height;  // the whole box, for stretching the picture
    int32_t colour;                    // of an opaque box (no picture)
    int16_t picture;                   // number in the screen model; -1 an opaque box
  };
  // The client area is cut into square cells; each cell lists, bottom
  // first, the layers that reach into it, so a read looks at a handful of
  // layers instead of all of them. A cell with more layers than it can
  // list falls back to the whole stack.
  static constexpr int kCell = 32;  // px
  static constexpr int kCols = (kClientWidth + kCell - 1) / kCell;
  static constexpr int kRows = (kClientHeight + kCell - 1) / kCell;
  static constexpr int kCellCapacity = 48;
  static constexpr uint8_t kOverflow = 0xFF;
  static_assert(kStackedItems < 255, "layer numbers must fit a byte");

  void addToCells(uint8_t layer);
  static int32_t readLayer(const std::vector<Picture>& pictures, const Layer& l, int x, int y,
                           bool& hit);

  std::array<Layer, kStackedItems> layers_{};  // bottom first
  int count_ = 0;
  std::array<uint8_t, kCols * kRows> cellCount_{};
  std::array<std::array<uint8_t, kCellCapacity>, kCols * kRows> cells_{};
};

}  // namespace zelkar
