#include "app/settings_load.h"

namespace zelkar {

bool configp(Game& g, WindowSystem& ws) {
  const ConfigRead read = ws.readSettings();
  if (!read.ok()) return false;
  applyConfig(g.s, *read.values);
  return true;
}

}  // namespace zelkar
