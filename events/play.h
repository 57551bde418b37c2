// How an event command reaches the game: through the handler the window
// calls for the same click, key or typed answer. zelkar-sim, the rollback
// session, the sync test and the window's replays all play events here, so
// a line of a replay file does the same thing wherever it is played.
#pragma once

#include <cstdint>

#include "app/game.h"
#include "app/window_system.h"
#include "events/script.h"

namespace zelkar::sim {

// True while the simulation timer fires: its interval is set and the
// program has not ended. A tick line runs only the ticks it would fire.
bool simulationRunning(const Game& g);

// Load of the main window, then its one-shot start timer when load armed
// it: the window as it stands before the first event.
void openWindow(Game& g, WindowSystem& ws, uint32_t seed);

// Puts into the start panel's boxes what the player left there before
// pressing the button. False, and nothing changed, while the panel does not
// show: its button cannot be pressed then.
bool fillStartPanel(ScreenModel& screen, const StartCommand& start);
// Types the answer into the answer box; false while the box does not show.
bool fillAnswerBox(ScreenModel& screen, const AnswerCommand& answer);

// A player's own events: the start button, keys and typed answers (not
// seeds, settings, ticks or computer seats, which each caller places in its
// own way).
bool isPlayerEvent(const Command& command);

// Plays a player's event on a loaded game; after the program has ended
// nothing reaches it. Other commands are left to the caller.
void playEvent(Game& g, WindowSystem& ws, const Command& command);

}  // namespace zelkar::sim
