#include "app/handlers.h"
#include "ui/prepare_sprites.h"

namespace zelkar {

// The one-shot start timer: it stamps the sprites once, then stops itself.
void startTimer(Game& g) {
  prepareSprites(g.s, g.screen);
  g.screen.startInterval = 0;
}

}  // namespace zelkar
