#include "app/handlers.h"

namespace zelkar {

void timer1Timer(Game& g) { (void)g; }

}  // namespace zelkar
