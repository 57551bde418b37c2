#include "app/handlers.h"

namespace zelkar {

void startTimer(Game& g) { g.screen.startInterval = 0; }

}  // namespace zelkar
