#include "app/handlers.h"

namespace zelkar {

void formLoad(Game& g, WindowSystem& ws, uint32_t seed) {
  (void)ws;
  g.rng.seed(seed);
}

void formUnload(Game& g) { g.screen.scoreVisible = false; }

}  // namespace zelkar
