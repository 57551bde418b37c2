// Points, the end of a match and the replay question.
#pragma once

#include <cstdint>

#include "app/game.h"
#include "app/window_system.h"

namespace zelkar {

// One point for player `dotti`, shown in the score window as "01".."10".
void showScore(Game& g, int dotti);

// The match is won by subjectPlayer: the tick stops, the result labels
// stand over the sides, and the game waits for the answer to the question.
void again(Game& g);
// The same for a draw.
void again2(Game& g);

// "N": the program ends.
void quitProgram(Game& g, WindowSystem& ws);

inline constexpr int16_t kWinningPoints = 10;

}  // namespace zelkar
