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
#include <type_traits>
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
  //
  // Most of the window stands still during a round (walls, bases, the
  // instruments' boxes, hidden panels), so each item is compared with what
  // its layer was made from at the last capture, and only the items that
  // changed are placed again. The comparison covers everything a layer is
  // made from, so a capture gives the same surface whatever the capture
  // before it saw (a fresh surface, or one from another game).
  void capture(const ScreenModel& screen);
  // The colour of the topmost drawn thing at client pixel (x, y), blue in
  // the high byte; kNoPixel outside the client area. `pictures` are the
  // screen model's (they do not change during a match).
  int32_t getPixel(const std::vector<Picture>& pictures, int x, int y) const;

 private:
  // What a layer is made from: the item and the panel it sits in as they
  // were at the capture. All zero for an item that draws nothing.
  struct Source {
    int16_t left = 0, top = 0, width = 0, height = 0;  // item box, px (in its panel)
    int16_t panelLeft = 0, panelTop = 0;               // px; zero without a panel
    int16_t panelWidth = 0, panelHeight = 0;           // px
    int32_t colour = 0, panelColour = 0;
    int16_t picture = 0;    // the picture the item is drawn with, -1 none
    bool shown = false;     // the item, and its panel if it has one, are visible
    bool hasPanel = false;  // placed in a panel
    bool drawable = false;  // `picture` names a picture that is not empty
    Widget kind = Widget::Panel;
    int16_t unused = 0;  // no padding: sources are compared byte by byte
  };
  static_assert(sizeof(Source) == 32 && std::has_unique_object_representations_v<Source>);
  struct Layer {
    int32_t x0, y0, x1, y1;            // drawn part in client px: [x0, x1) x [y0, y1); empty: none
    int32_t left, top, width, height;  // the whole box, for stretching the picture
    int32_t colour;                    // of an opaque box (no picture)
    int16_t picture;                   // number in the screen model; -1 an opaque box
  };
  // The client area is cut into square cells; each cell lists, bottom
  // first, the places in the stack of the layers that reach into it, so a
  // read looks at a handful of layers instead of all of them. A cell
  // reached by more layers than it can list falls back to the whole stack.
  static constexpr int kCell = 32;  // px
  static constexpr int kCols = (kClientWidth + kCell - 1) / kCell;
  static constexpr int kRows = (kClientHeight + kCell - 1) / kCell;
  static constexpr int kCellCapacity = 48;
  static_assert(kStackedItems <= 255, "places in the stack must fit a byte");

  static Layer layerOf(const Source& s);
  // Compares an item with what its layer was made from and places it
  // again if it changed.
  void captureItem(const ScreenModel& screen, int at, const Item& item, const Item* panel);
  void place(int slot, const Source& s);
  // Calls f(cell) for every cell the layer reaches into.
  template <typename F>
  static void forCells(const Layer& l, F&& f);
  void addToCell(int c, uint8_t slot);
  void removeFromCell(int c, uint8_t slot);
  void relist(int c);
  static int32_t readLayer(const std::vector<Picture>& pictures, const Layer& l, int x, int y,
                           bool& hit);

  // By place in the stack, bottom first.
  std::array<Source, kStackedItems> sources_{};
  std::array<Layer, kStackedItems> layers_{};
  // Layers reaching into each cell; its list is complete while the count
  // is at most kCellCapacity.
  std::array<uint8_t, kCols * kRows> cellCount_{};
  std::array<std::array<uint8_t, kCellCapacity>, kCols * kRows> cells_{};
};

}  // namespace zelkar
