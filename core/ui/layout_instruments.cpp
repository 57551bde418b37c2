// The instrument columns beside the arena: captions hyo1, read-outs hyosuu
// and units tani(14..31), player 0 on the right, player 1 on the left.
#include <array>

#include "ui/layout.h"

namespace zelkar::layout {
namespace {

struct InstrumentRow {
  int16_t y;  // px
  std::string_view caption0, caption1, unit;
  bool indented;                             // the velocity components sit under "速度"
  std::array<int8_t, 2> hyo1, hyosuu, tani;  // (p0, p1); -1 none
};
constexpr std::array<InstrumentRow, 10> kRows = {{
    {32, "砲弾残量", "砲弾残量", "(個)", false, {0, 6}, {0, 6}, {14, 20}},
    {48, "燃料残量", "燃料残量", "(l)", false, {1, 7}, {1, 7}, {15, 21}},
    {64, "装甲損壊率", "装甲損壊率", "(%)", false, {12, 13}, {12, 13}, {26, 27}},
    {80, "エンジン出力", "エンジン出力", "(KN)", false, {2, 8}, {2, 8}, {16, 22}},
    {96, "機体総重量", "機体総重量", "(Kg)", false, {3, 9}, {3, 9}, {17, 23}},
    {112, "｜加速度｜", "｜加速度｜", "(m/s/s)", false, {4, 10}, {4, 10}, {18, 24}},
    {128, "Ｘ成分", "Ｘ成分", "(m/s)", true, {14, 15}, {5, 11}, {19, 25}},
    {136, "速度", "速度 ", "", false, {5, 11}, {-1, -1}, {-1, -1}},
    {144, "Ｙ成分", "Ｙ成分", "(m/s)", true, {17, 16}, {14, 15}, {29, 28}},
    {160, "速さ", "速さ", "(m/s)", false, {19, 18}, {16, 17}, {30, 31}},
}};

struct Column {
  int16_t caption, indented, value, unit;  // x, px
};
constexpr std::array<Column, 2> kColumns = {{{592, 624, 728, 744}, {8, 40, 144, 160}}};

}  // namespace

void instruments(ScreenModel& m) {
  for (int p = 0; p < 2; ++p) {
    const Column& col = kColumns[p];
    for (const InstrumentRow& row : kRows) {
      label(m.hyo1[row.hyo1[p]], row.indented ? col.indented : col.caption, row.y,
            p == 0 ? row.caption0 : row.caption1, kKeyColour);
      if (row.hyosuu[p] >= 0)
        valueLabel(m.hyosuu[row.hyosuu[p]], col.value, row.y, col.unit - col.value, kKeyColour);
      if (row.tani[p] >= 0) label(m.tani[row.tani[p]], col.unit, row.y, row.unit, kKeyColour);
    }
  }
  // All hidden until a match starts (game_Click shows them).
}

}  // namespace zelkar::layout
