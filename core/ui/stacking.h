// The stacking order of the main window, bottom first. Probes read the
// topmost drawn thing, so this order is part of the game: a shell over a
// wall reads as the wall, a vehicle over a settings panel as the vehicle.
//
//   hikiwake(0, 1)                      draw labels, lowest of all
//   kabe(30..34)
//   tamabaku(0..15)                     shell blasts
//   masatu(0, 1), hyoumas(0, 1), syousya, haisya, mes1
//   kiti(0, 1)                          bases
//   hyo1(0..19), tani(14..31), hyosuu(0..17)   instruments
//   houdan(0..15)                       shells
//   tiri(1)
//   kabe(0..29)
//   baku(0)
//   tiri(0), tiri(2..19)
//   baku(1)
//   Picture2 and its children          panels, picture boxes, text boxes
//   settei(0), settei(1), each followed by labe1, Labe2, lab, tani, setsuuti
//   mototiri(0..5), motokabe, motobaku, totiri
//   han
//   kyara(0), kyara(1)                  vehicles above the settings panels
//
// Within a family a higher index lies above a lower one. Children follow
// their panel and are clipped to it.
#pragma once

#include "ui/screen_model.h"

namespace zelkar {

// Every item of the main window appears once (the score window is apart).
inline constexpr int kStackedItems = 223;

// Calls f(item, parent) for every item in stacking order, bottom first;
// parent is the panel the item sits in, or nullptr. Does not allocate.
template <typename F>
void visitStacking(const ScreenModel& m, F&& f) {
  auto all = [&](const auto& arr, std::size_t from, std::size_t to, const Item* parent) {
    for (std::size_t i = from; i < to; ++i) f(arr[i], parent);
  };
  all(m.hikiwake, 0, 2, nullptr);
  all(m.kabe, 30, 35, nullptr);
  all(m.tamabaku, 0, 16, nullptr);
  all(m.masatu, 0, 2, nullptr);
  all(m.hyoumas, 0, 2, nullptr);
  f(m.syousya, nullptr);
  f(m.haisya, nullptr);
  f(m.mes1, nullptr);
  all(m.kiti, 0, 2, nullptr);
  all(m.hyo1, 0, 20, nullptr);
  all(m.tani, 14, 32, nullptr);
  all(m.hyosuu, 0, 18, nullptr);
  all(m.houdan, 0, 16, nullptr);
  f(m.tiri[1], nullptr);
  all(m.kabe, 0, 30, nullptr);
  f(m.baku[0], nullptr);
  f(m.tiri[0], nullptr);
  all(m.tiri, 2, 20, nullptr);
  f(m.baku[1], nullptr);

  f(m.Picture2, nullptr);
  for (const Item* c : {&m.Label1, &m.Option1, &m.Option2, &m.tirikosu, &m.mas, &m.game})
    f(*c, &m.Picture2);
  for (std::size_t p = 0; p < 2; ++p) {
    const Item* panel = &m.settei[p];
    f(*panel, nullptr);
    f(m.labe1[p], panel);
    f(m.Labe2[p], panel);
    all(m.lab, 7 * p, 7 * p + 7, panel);
    all(m.tani, 7 * p, 7 * p + 7, panel);
    all(m.setsuuti, 7 * p, 7 * p + 7, panel);
  }
  all(m.mototiri, 0, 6, nullptr);
  f(m.motokabe, nullptr);
  f(m.motobaku, nullptr);
  f(m.totiri, nullptr);
  f(m.han, nullptr);
  all(m.kyara, 0, 2, nullptr);
}

}  // namespace zelkar
