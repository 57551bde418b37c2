#include "app/handlers.h"

namespace zelkar {

void option1Click(Game& g) { (void)g; }
void option2Click(Game& g) { (void)g; }
void gameClick(Game& g, WindowSystem& ws) {
  (void)g;
  (void)ws;
}

}  // namespace zelkar
