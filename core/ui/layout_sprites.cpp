// The sprites, their source pictures, the messages and the score window.
#include "ui/layout.h"
#include "ui/sprite_art.h"
#include "ui/vehicle_pictures.h"

namespace zelkar::layout {
namespace {

int16_t addPicture(ScreenModel& m, Picture pic) {
  m.pictures.push_back(std::move(pic));
  return int16_t(m.pictures.size() - 1);
}

void sprite(Item& it, Widget kind, int16_t l, int16_t t, int16_t size, int16_t picture) {
  it.kind = kind;
  it.move(l, t, size, size);
  it.picture = picture;
  it.visible = false;
}

}  // namespace

void sprites(ScreenModel& m) {
  constexpr int32_t kWhite = 0xFFFFFF;
  for (int p = 0; p < 2; ++p) {
    sprite(m.kyara[p], Widget::PictureBox, 0, 0, kVehicleSize, addPicture(m, makeVehicleBody(p)));
    // The gun line starts at the vehicle's centre offset (11, 11) and points
    // along direction 0 until the first match places it.
    m.hline[p] = {11, 11, 20, 11, 0, 3};
    sprite(m.kiti[p], Widget::Image, p == 0 ? 756 : 0, 270, kBaseSize,
           addPicture(m, makeBasePicture(p)));
    for (int s = 0; s < 8; ++s)
      sprite(m.houdan[8 * p + s], Widget::Image, 0, 0, kShellSize,
             addPicture(m, makeShellPicture(p, s)));
    sprite(m.baku[p], Widget::Image, 0, 0, kSourceSize, -1);  // setBakuPictures at load
  }
  // Player 0's gun line: red 80, green 40 as given, but blue 2D instead of
  // 40. Blue 40 carries code 0, so a shell striking that line would also
  // push obstacle 0 wherever it stood; blue 2D carries code 45, like the
  // bodies, and looks the same.
  m.hline[0].color = 0x2D4080;
  m.hline[1].color = 0xFFC0C0;  // code 63: no shell decodes it as an obstacle
  for (auto& t : m.tiri) sprite(t, Widget::Image, 0, 0, kSourceSize, -1);
  for (auto& k : m.kabe) sprite(k, Widget::Image, 0, 0, kSourceSize, -1);
  for (auto& t : m.tamabaku) sprite(t, Widget::Image, 0, 0, 10, -1);  // 10 px: shellBlastWidth

  // Source pictures: mototiri(0..4) hidden in a row of three and a row of
  // two; the scratch, wall, blast and work boxes visible until stamping ends.
  constexpr int16_t kRockAt[5][2] = {{472, 376}, {512, 376}, {552, 376}, {472, 415}, {512, 415}};
  for (int i = 0; i < 5; ++i)
    sprite(m.mototiri[i], Widget::PictureBox, kRockAt[i][0], kRockAt[i][1], kSourceSize,
           addPicture(m, makeRockPicture(i)));
  sprite(m.mototiri[5], Widget::PictureBox, 440, 304, kSourceSize,
         addPicture(m, Picture(kSourceSize, kSourceSize, kWhite)));
  sprite(m.motokabe, Widget::PictureBox, 352, 304, kSourceSize, addPicture(m, makeWallPicture()));
  sprite(m.motobaku, Widget::PictureBox, 312, 304, kSourceSize, addPicture(m, makeBlastPicture()));
  sprite(m.totiri, Widget::PictureBox, 392, 304, kSourceSize, -1);
  m.totiri.backColor = kWhite;
  m.mototiri[5].visible = m.motokabe.visible = m.motobaku.visible = m.totiri.visible = true;
}

void messages(ScreenModel& m) {
  label(m.masatu[0], 336, 8, "静止摩擦係数", kKeyColour);
  label(m.masatu[1], 336, 32, "動摩擦係数", kKeyColour);
  for (int i = 0; i < 2; ++i) {
    label(m.hyoumas[i], 440, int16_t(8 + 24 * i), "0.01", kKeyColour);
    m.hyoumas[i].width = 32;  // px: room for any coefficient "0.xx"
  }
  auto big = [](Item& it, int16_t l, int16_t t, std::string_view text) {
    it.kind = Widget::Label;
    it.move(l, t, 64, 33);
    it.caption = text;
    it.fontPoints = 24;
    it.foreColor = 0xC000C0;
  };
  big(m.syousya, 130, 336, "勝者");
  big(m.haisya, 605, 336, "敗者");
  big(m.hikiwake[0], 128, 384, "引分");
  big(m.hikiwake[1], 128, 384, "引分");
  m.mes1.kind = Widget::Label;
  m.mes1.move(288, 248, 207, 19);
  m.mes1.caption = "再び対戦するか（Ｙ/Ｎ）？";
  m.han.kind = Widget::TextBox;
  m.han.move(504, 248, 17, 25);
  m.han.caption = "";
}

void scoreWindow(ScreenModel& m) {
  constexpr int16_t kScoreLeft[2] = {144, 16};  // px: player 0 right, player 1 left
  for (int p = 0; p < 2; ++p) {
    Item& t = m.tokuten[p];
    t.kind = Widget::Label;
    t.move(kScoreLeft[p], 32, 98, 97);
    t.fontPoints = 72;
    t.bold = true;
    t.caption = "00";
    t.backColor = 0xFFFFFF;  // the score window is white
    t.visible = false;
  }
}

}  // namespace zelkar::layout
