#include "app/handlers.h"

namespace zelkar {

void hanChange(Game& g, WindowSystem& ws) {
  (void)g;
  (void)ws;
}

}  // namespace zelkar
