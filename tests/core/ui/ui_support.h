// Shared set-up for the screen tests: the main window as it stands once
// opened, and the colours the probes of a vehicle pass over.
#pragma once

#include <memory>

#include "sim/colour_codes.h"
#include "support/fake_window_system.h"
#include "ui/sprite_art.h"

namespace zelkar::testing {

// Sizes measured, tables made and sprites stamped by the load handlers
// themselves; the start panel put away so that the arena shows.
struct OpenedWindow {
  ScreenModel m;
  GameState s;
  OpenedWindow() {
    FakeWindowSystem ws;
    const auto g = std::make_unique<Game>(loadedGame(ws));
    m = g->screen;
    s = g->s;
    m.Picture2.visible = false;
  }
};

// A colour the contact probes of a vehicle or an obstacle pass over.
inline bool isFreeColour(int32_t c) { return isFreeForBody(c, kShellColourBase1); }

}  // namespace zelkar::testing
