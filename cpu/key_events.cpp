#include "cpu/key_events.h"

namespace zelkar::cpu {

void steerCommand(KeyEvents& out, const GameState& s, int p, int have, int want, int minus,
                  int plus) {
  if (have == want) return;
  if (want == 0)
    out.push({false, controlKey(s, p, minus)});
  else
    out.push({true, controlKey(s, p, want < 0 ? minus : plus)});
}

}  // namespace zelkar::cpu
