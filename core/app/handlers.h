// The event handlers of the main window, named after the events they serve.
// The front end calls them; they read and write the Game value.
#pragma once

#include <cstdint>

#include "app/game.h"
#include "app/window_system.h"

namespace zelkar {

// Load of the main window: measures, tables, settings (asking for them
// until config.txt can be read), then arms the start timer. `seed` is the
// generator's state: the clock's, or the one the player fixed.
void formLoad(Game& g, WindowSystem& ws, uint32_t seed);
void formUnload(Game& g);

// The one-shot start timer: stamps the sprites and shows the start panel.
void startTimer(Game& g);

void option1Click(Game& g);
void option2Click(Game& g);
void gameClick(Game& g, WindowSystem& ws);

// One tick of the simulation timer.
void timer1Timer(Game& g);

void formKeyDown(Game& g, WindowSystem& ws, int16_t keyCode, int16_t shift);
void formKeyUp(Game& g, int16_t keyCode, int16_t shift);

// The answer box of the replay question changed its text.
void hanChange(Game& g, WindowSystem& ws);

}  // namespace zelkar
