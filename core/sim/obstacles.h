// The moving obstacles: first all of them move and bounce off the edges,
// then each probes the arena around it and bounces off what it touches.
#pragma once

#include "app/game.h"

namespace zelkar {

void obstacleMotion(Game& g);
void obstacleContacts(Game& g);

}  // namespace zelkar
