// The screen model: everything drawn on the main window and the score
// window, named as the game names it. The rules move and show these items;
// the probe surface reads them back and the Qt front end paints them.
//
// Positions of items inside a panel (Picture2, settei) are relative to that
// panel; all others are client pixels of the main window.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "ui/picture.h"

namespace zelkar {

inline constexpr int32_t kKeyColour = 0x80FF80;    // background and transparent
inline constexpr int32_t kPanelColour = 0xFEFEFE;  // settings panels
inline constexpr int32_t kCyan = 0xFFFF00;         // highlighted setting (BGR)
inline constexpr int16_t kClientWidth = 793;       // px
inline constexpr int16_t kClientHeight = 579;      // px

// Fixed-capacity text so that writing a caption in the tick never allocates.
class Caption {
 public:
  static constexpr std::size_t kCapacity = 63;  // bytes of UTF-8
  Caption() = default;
  Caption(std::string_view s) { set(s); }  // NOLINT: captions read like strings
  Caption& operator=(std::string_view s) {
    set(s);
    return *this;
  }
  void set(std::string_view s);
  std::string_view view() const { return {buf_.data(), len_}; }
  bool operator==(std::string_view s) const { return view() == s; }
  bool operator==(const Caption& o) const { return view() == o.view(); }

 private:
  std::array<char, kCapacity + 1> buf_{};
  uint8_t len_ = 0;
};

enum class Widget : uint8_t { Panel, Label, TextBox, Button, Option, Check, PictureBox, Image };

// Right-aligned captions end at the right edge of their box and run on to
// the left when longer: the read-outs are only as wide as the gap before
// their unit label, and their numbers should end where the unit begins.
enum class Align : uint8_t { Left, Right };

struct Item {
  Widget kind = Widget::Label;
  int16_t left = 0;    // px
  int16_t top = 0;     // px
  int16_t width = 0;   // px
  int16_t height = 0;  // px
  bool visible = false;
  bool enabled = true;
  bool value = false;     // option button selected / check box ticked
  int32_t foreColor = 0;  // BGR text colour
  int32_t backColor = kKeyColour;
  int16_t picture = -1;    // index into ScreenModel::pictures, -1 none
  int16_t fontPoints = 9;  // text size
  bool bold = false;
  Align align = Align::Left;
  Caption caption;  // label caption or text box text

  bool operator==(const Item&) const = default;

  void move(int16_t l, int16_t t) { left = l, top = t; }
  void move(int16_t l, int16_t t, int16_t w, int16_t h) {
    left = l, top = t, width = w, height = h;
  }
};

// The gun line inside a vehicle box, from its centre to (x2, y2).
struct GunLine {
  float x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // px inside kyara(p)
  int32_t color = 0;
  int16_t width = 3;  // px
};

// Text printed straight onto the main window (the start-up notice and
// countdown). Printing in the key colour wipes what was printed there.
struct PrintedText {
  int16_t x = 0, y = 0;  // px
  int32_t color = 0;
  Caption text;
};

// The vehicle pictures, one per gun direction: the gun line is part of what
// the probes read at a vehicle, so it is drawn into the picture itself.
struct GunPictures {
  int16_t first = -1;                    // picture index of direction 0; -1 until made
  std::array<float, 64> endX{}, endY{};  // gun line end of each picture, px
};

enum class Focus : uint8_t { None, Main, Tirikosu, Han, Opeval };

struct ScreenModel {
  ScreenModel();  // the layout of the windows as they open

  // --- start panel and its widgets (children are relative to Picture2)
  Item Picture2, Label1, Option1, Option2, tirikosu, mas, game;

  // --- settings panels: settei(p); lab, tani(0..13), setsuuti, labe1, Labe2
  //     inside them (player 0 uses lab 0..6, player 1 lab 13..7)
  std::array<Item, 2> settei, labe1, Labe2;
  std::array<Item, 14> lab, setsuuti;

  // --- sprites
  std::array<Item, 2> kyara;
  std::array<GunLine, 2> hline;
  std::array<Item, 2> kiti;
  std::array<Item, 20> tiri;
  std::array<Item, 35> kabe;
  std::array<Item, 16> houdan;
  std::array<Item, 2> baku;
  std::array<Item, 16> tamabaku;
  std::array<Item, 6> mototiri;
  Item motokabe, motobaku, totiri;

  // --- instruments and messages
  std::array<Item, 20> hyo1;
  std::array<Item, 18> hyosuu;
  std::array<Item, 32> tani;  // 0..13 in the settings panels, 14..31 instruments
  std::array<Item, 2> masatu, hyoumas;
  Item syousya, haisya, mes1, han;
  std::array<Item, 2> hikiwake;
  std::vector<PrintedText> printed;  // changes only at start-up

  // --- score window
  bool scoreVisible = false;
  std::array<Item, 2> tokuten;

  // --- timers: an interval of 0 means the timer is stopped (ms)
  int16_t startInterval = 0;
  int16_t timer1Interval = 0;

  Focus focus = Focus::Main;

  std::vector<Picture> pictures;
  std::array<GunPictures, 2> gunPictures;  // per player, see vehicle_pictures.h

  // Prints text at (x, y); printing in the key colour wipes the text there.
  void print(int16_t x, int16_t y, std::string_view text, int32_t color);

  // Items in drawing order, bottom first (see stacking.h). Children of a
  // panel follow their panel; parentOf gives the panel they sit in.
  std::vector<const Item*> stackingOrder() const;
  // The panel (Picture2 or settei(p)) an item is placed in, or nullptr for
  // items placed straight on the main window.
  const Item* parentOf(const Item& item) const;
};

}  // namespace zelkar
