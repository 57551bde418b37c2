#include "app/handlers.h"

namespace zelkar {

void formKeyDown(Game& g, WindowSystem& ws, int16_t keyCode, int16_t shift) {
  (void)g, (void)ws, (void)keyCode, (void)shift;
}
void formKeyUp(Game& g, int16_t keyCode, int16_t shift) { (void)g, (void)keyCode, (void)shift; }

}  // namespace zelkar
