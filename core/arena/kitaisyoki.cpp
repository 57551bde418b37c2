#include "app/game_state.h"
#include "arena/arena.h"

namespace zelkar {

namespace {
// (37 - 21) / 2: the 21 px vehicle box centred in the 37 px base.
constexpr int16_t kBaseInset = 8;     // px
constexpr int16_t kGunLeftward = 32;  // the right player aims at the left one
constexpr int16_t kGunRightward = 0;
}  // namespace

void kitaisyoki(GameState& s) {
  s.gunDir[0] = kGunLeftward;
  s.gunDir[1] = kGunRightward;
  for (int p = 0; p < kPlayers; ++p) {
    // A key still held has no effect until it is pressed again or repeats.
    s.thrustX[p] = 0;
    s.thrustY[p] = 0;
    s.posX[p] = static_cast<float>(s.kitiLeft[p] + kBaseInset);
    s.posY[p] = static_cast<float>(s.kitiTop[p] + kBaseInset);
    s.prevX[p] = s.posX[p];
    s.prevY[p] = s.posY[p];
    s.velX[p] = 0;
    s.velY[p] = 0;
    s.freeShellSlot[p] = 0;
    s.lastContact[p] = kNoContact;
    for (int j = 0; j < kShellSlots; ++j) emptyShellSlot(s, p, j);
  }
}

}  // namespace zelkar
