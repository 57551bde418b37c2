#include "ui/prepare_sprites.h"

#include <string>
#include <string_view>

namespace zelkar {
namespace {

constexpr int16_t kNoticeX = 330, kNoticeY = 280;  // px
constexpr int16_t kCountX = 430, kCountY = 280;    // px
constexpr std::string_view kNotice = "初期化中";
constexpr int32_t kTextColour = 0;  // black, the window's text colour
constexpr int16_t kPanelTop = 250;  // px: the start panel's place once shown

// Wipes the old value by printing it in the background colour, then prints
// the new one.
void countdown(GameState& s, ScreenModel& m, int16_t value, const std::function<void()>& hook) {
  m.print(kCountX, kCountY, std::to_string(s.countdownValue), kKeyColour);
  s.countdownValue = value;
  m.print(kCountX, kCountY, std::to_string(value), kTextColour);
  if (hook) hook();
}

// The pixel loop: reads source pixels 0..n, writes the stamped colour into
// the scratch canvas mototiri(5), then target takes the canvas's picture.
template <typename Stamp>
void stampOne(ScreenModel& m, int16_t source, int16_t n, Item& target, Stamp stamp) {
  if (target.picture < 0) {
    target.picture = int16_t(m.pictures.size());
    m.pictures.emplace_back();
  }
  const Picture& src = m.pictures[source];
  Picture& canvas = m.pictures[m.mototiri[5].picture];
  for (int x = 0; x <= n; ++x) {
    for (int y = 0; y <= n; ++y) {
      if (x >= src.width || y >= src.height || x >= canvas.width || y >= canvas.height) continue;
      const int32_t c = src.at(x, y);
      canvas.set(x, y, c == kKeyColour ? kKeyColour : stamp(c));
    }
  }
  m.pictures[target.picture] = canvas;
}

}  // namespace

void prepareSprites(GameState& s, ScreenModel& m, const std::function<void()>& onCountdown) {
  m.print(kNoticeX, kNoticeY, kNotice, kTextColour);
  s.countdownValue = 60;

  // Obstacles take the five rock shapes in turn: 0, 1, 2, 3, 4, 0, 1, ...
  const int16_t nObst = int16_t(m.mototiri[0].width - 1);
  int shape = -1;
  for (int i = 0; i < kObstacles; ++i) {
    if (++shape > 4) shape = 0;
    m.totiri.picture = m.mototiri[shape].picture;
    stampOne(m, m.totiri.picture, nObst, m.tiri[i], [i](int32_t c) { return stampObstacle(c, i); });
    countdown(s, m, int16_t(60 - i), onCountdown);
  }
  const int16_t nWall = int16_t(m.motokabe.width - 1);
  for (int i = 0; i < kWalls; ++i) {
    stampOne(m, m.motokabe.picture, nWall, m.kabe[i], [i](int32_t c) { return stampWall(c, i); });
    countdown(s, m, int16_t(50 - i), onCountdown);
  }
  const int16_t nBlast = int16_t(m.motobaku.width - 1);
  for (int i = 0; i < 16; ++i) {
    stampOne(m, m.motobaku.picture, nBlast, m.tamabaku[i],
             [i](int32_t c) { return stampBlast(c, i); });
    countdown(s, m, int16_t(15 - i), onCountdown);
  }

  m.print(kNoticeX, kNoticeY, kNotice, kKeyColour);
  m.totiri.visible = m.mototiri[5].visible = m.motokabe.visible = m.motobaku.visible = false;
  m.Picture2.top = kPanelTop;
  m.Picture2.visible = true;
}

}  // namespace zelkar
