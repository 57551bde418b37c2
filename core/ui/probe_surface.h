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
  };
  // Where a layer draws, in client px: [x0, x0 + w) x [y0, y0 + h); w = 0
  // nowhere. Kept apart from the rest, eight bytes each: a read looks at
  // the boxes of several layers and at the picture of at most a few.
  struct Box {
    int16_t x0 = 0, y0 = 0;
    uint16_t w = 0, h = 0;
  };
  struct Look {
    int32_t left = 0, top = 0, width = 0, height = 0;  // the whole box, for stretching the picture
    int32_t colour = 0;                                // of an opaque box (no picture)
    int16_t picture = 0;  // number in the screen model; -1 an opaque box
  };
  struct Layer {
    Box box;
    Look look;
  };
  // The client area is cut into square cells; each cell lists, bottom
  // first, the places in the stack of the layers that reach into it, so a
  // read looks at a handful of layers instead of all of them. A cell
  // reached by more layers than it can list falls back to the whole stack.
  static constexpr int kCell = 16;  // px
  static constexpr int kCols = (kClientWidth + kCell - 1) / kCell;
  static constexpr int kRows = (kClientHeight + kCell - 1) / kCell;
  static constexpr int kCellCapacity = 24;
  static_assert(kStackedItems <= 255, "places in the stack must fit a byte");

  // The cells a layer reaches into: columns [x0, x1) and rows [y0, y1);
  // none for an empty layer.
  struct CellSpan {
    unsigned x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool operator==(const CellSpan&) const = default;
  };
  static Layer layerOf(const Source& s);
  static CellSpan cellsOf(const Box& b);
  // Compares an item with what its layer was made from and places it
  // again if it changed. `pictures` and `count` are the screen model's,
  // read once for the whole capture.
  void captureItem(const ScreenModel& screen, int at, const Item& item, const Item* panel,
                   const Picture* pictures, std::size_t count);
  void place(int slot, const Source& s);
  // Calls f(cell) for every cell of the span.
  template <typename F>
  static void forCells(CellSpan span, F&& f);
  void addToCell(int c, uint8_t slot);
  void removeFromCell(int c, uint8_t slot);
  void relist(int c);
  bool readLayer(const std::vector<Picture>& pictures, int slot, int x, int y,
                 int32_t& colour) const;
  // getPixel for a cell whose list was given up: every layer, top first.
  int32_t readAll(const std::vector<Picture>& pictures, int x, int y) const;

  // By place in the stack, bottom first.
  std::array<Source, kStackedItems> sources_{};
  std::array<Box, kStackedItems> boxes_{};
  std::array<Look, kStackedItems> looks_{};
  // Layers reaching into each cell; its list is complete while the count
  // is at most kCellCapacity.
  std::array<uint8_t, kCols * kRows> cellCount_{};
  std::array<std::array<uint8_t, kCellCapacity>, kCols * kRows> cells_{};
};

// Whether the layer in place `slot` draws at (x, y), and in what colour;
// key-colour pixels of a picture let what lies below show. A box that is no
// picture draws its colour even when that is the key colour: it hides what
// lies below.
inline bool ProbeSurface::readLayer(const std::vector<Picture>& pictures, int slot, int x, int y,
                                    int32_t& colour) const {
  const Box& b = boxes_[std::size_t(slot)];
  // One comparison per axis: left of the box wraps round to a large number.
  if (unsigned(x - b.x0) >= b.w || unsigned(y - b.y0) >= b.h) return false;
  const Look& l = looks_[std::size_t(slot)];
  if (l.picture < 0) {
    colour = l.colour;
    return true;
  }
  // A picture that is gone draws nothing (the capture saw it drawn).
  if (std::size_t(l.picture) >= pictures.size() || pictures[l.picture].empty()) return false;
  const Picture& p = pictures[l.picture];
  // Most sprites are drawn at their own size: no stretching to work out.
  const int px = p.width == l.width ? x - l.left : (x - l.left) * p.width / l.width;
  const int py = p.height == l.height ? y - l.top : (y - l.top) * p.height / l.height;
  colour = p.at(px, py);
  return colour != kKeyColour;
}

// Inline: the probes read about a hundred pixels a tick, most of them
// through a list of two or three layers, and a call would cost as much.
inline int32_t ProbeSurface::getPixel(const std::vector<Picture>& pictures, int x, int y) const {
  if (unsigned(x) >= unsigned(kClientWidth) || unsigned(y) >= unsigned(kClientHeight))
    return kNoPixel;
  const auto c = std::size_t(unsigned(y) / kCell * kCols + unsigned(x) / kCell);
  const int n = cellCount_[c];
  if (n > kCellCapacity) return readAll(pictures, x, y);
  const uint8_t* const list = cells_[c].data();
  int32_t colour = kKeyColour;
  for (int i = n - 1; i >= 0; --i)
    if (readLayer(pictures, list[i], x, y, colour)) return colour;
  return kKeyColour;
}

}  // namespace zelkar
