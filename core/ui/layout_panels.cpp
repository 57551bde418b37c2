// The start panel Picture2 and the two settings panels settei(p).
#include <array>

#include "ui/layout.h"

namespace zelkar::layout {

int16_t textWidth(std::string_view text) {
  int w = 2;
  for (unsigned char c : text) {
    if (c < 0x80)
      w += 6;
    else if (c >= 0xC0)
      w += 12;  // lead byte of a multi-byte character
  }
  return int16_t(w);
}

void label(Item& item, int16_t left, int16_t top, std::string_view text, int32_t back) {
  item.kind = Widget::Label;
  item.move(left, top, textWidth(text), kTextHeight);
  item.caption = text;
  item.foreColor = 0;
  item.backColor = back;
}

void valueLabel(Item& item, int16_t left, int16_t top, int16_t width, int32_t back) {
  item.kind = Widget::Label;
  item.move(left, top, width, kTextHeight);
  item.align = Align::Right;
  item.caption = "0";
  item.foreColor = 0;
  item.backColor = back;
}

void startPanel(ScreenModel& m) {
  m.Picture2.kind = Widget::Panel;
  m.Picture2.move(240, 240, 313, 57);
  m.Picture2.backColor = kKeyColour;
  m.Picture2.visible = false;  // prepareSprites shows it

  auto child = [](Item& it, Widget kind, int16_t l, int16_t t, int16_t w, int16_t h,
                  std::string_view text, int32_t back) {
    it.kind = kind;
    it.move(l, t, w, h);
    it.caption = text;
    it.backColor = back;
    it.visible = true;
  };
  constexpr int32_t kWhite = 0xFFFFFF;       // text box
  constexpr int32_t kButtonFace = 0xC0C0C0;  // light grey
  child(m.Label1, Widget::Label, 0, 0, 133, 19, "移動障害物個数", kKeyColour);
  child(m.Option1, Widget::Option, 144, 0, 73, 25, "乱数個", kKeyColour);
  child(m.Option2, Widget::Option, 224, 0, 57, 25, "指定", kKeyColour);
  child(m.tirikosu, Widget::TextBox, 280, 0, 25, 21, "1", kWhite);
  child(m.mas, Widget::Check, 0, 32, 257, 25, "摩擦（機体のみ）を考慮する。", kKeyColour);
  child(m.game, Widget::Button, 264, 32, 33, 25, "開始", kButtonFace);
  m.Option1.value = true;
  m.tirikosu.enabled = false;  // it follows Option2
}

namespace {

struct SettingRow {
  int16_t y;  // px inside the panel
  std::string_view caption, unit;
};
constexpr std::array<SettingRow, 7> kRows = {{
    {24, "装甲の厚さ", "(mm)"},
    {40, "エンジン出力", "(KN)"},
    {56, "燃料最大積載量", "(x10L)"},
    {72, "砲弾最大積載量", "(個)"},
    {112, "砲弾質量", "(Kg)"},
    {128, "砲弾発射力", "(N)"},
    {152, "総重量", "(Kg)"},
}};
constexpr int16_t kCaptionX = 16, kTotalCaptionX = 8, kValueX = 144, kUnitX = 160;  // px
constexpr int16_t kHeaderX = 8;  // px: headers stand out left like the total row

}  // namespace

void settingsPanels(ScreenModel& m) {
  for (int p = 0; p < 2; ++p) {
    Item& panel = m.settei[p];
    panel.kind = Widget::Panel;
    panel.move(p == 0 ? 592 : 8, 24, 193, 177);
    panel.backColor = kPanelColour;
    panel.visible = false;
    label(m.labe1[p], kHeaderX, 8, "機体設定", kPanelColour);
    label(m.Labe2[p], kHeaderX, 96, "砲弾設定", kPanelColour);
    m.labe1[p].visible = m.Labe2[p].visible = true;
    for (int k = 0; k < 7; ++k) {
      // Player 1's captions and units run backwards: lab(13..7), tani(13..7).
      const int mirrored = p == 0 ? k : 13 - k;
      const SettingRow& row = kRows[k];
      label(m.lab[mirrored], k == 6 ? kTotalCaptionX : kCaptionX, row.y, row.caption, kPanelColour);
      label(m.tani[mirrored], kUnitX, row.y, row.unit, kPanelColour);
      valueLabel(m.setsuuti[7 * p + k], kValueX, row.y, kUnitX - kValueX, kPanelColour);
      m.lab[mirrored].visible = m.tani[mirrored].visible = m.setsuuti[7 * p + k].visible = true;
    }
  }
}

}  // namespace zelkar::layout
