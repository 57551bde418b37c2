// Start-up stamping: every obstacle, wall and shell-blast picture gets the
// code of its object in the blue byte of each pixel, so that the probes can
// tell what they touched. Key-colour pixels stay as they are.
#pragma once

#include <cstdint>
#include <functional>

#include "app/game_state.h"
#include "ui/screen_model.h"

namespace zelkar {

// Obstacle i (0..10): the whole blue byte becomes i; red and green stay.
constexpr int32_t stampObstacle(int32_t c, int i) { return i * 65536 + (c & 0xFFFF); }
// Wall i (0..34): the low six blue bits become i + 11; the rest stays.
constexpr int32_t stampWall(int32_t c, int i) { return (i + 11) * 65536 + (c & 0xC0FFFF); }
// Blast image i (0..15, tamabaku(8p + s)): low six blue bits i + 46.
constexpr int32_t stampBlast(int32_t c, int i) { return (i + 46) * 65536 + (c & 0xC0FFFF); }

// Stamps tiri(0..10), kabe(0..34) and tamabaku(0..15) in that order while a
// countdown runs at (430, 280) (60..50, 50..16, 15..0, kept in
// s.countdownValue), then wipes the notice "初期化中", hides the work boxes
// and shows the start panel at Top 250. onCountdown, when given, runs after
// every countdown step (the front end repaints there; tests watch).
void prepareSprites(GameState& s, ScreenModel& m, const std::function<void()>& onCountdown = {});

}  // namespace zelkar
