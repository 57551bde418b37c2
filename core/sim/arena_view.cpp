#include "sim/arena_view.h"

#include "sim/blasts_seen.h"

namespace zelkar {

void viewArena(Game& g) {
  g.probe.capture(g.screen);
  captureBlasts(g);
}

}  // namespace zelkar
