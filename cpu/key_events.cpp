#include "cpu/key_events.h"

namespace zelkar::cpu {

namespace {
// A D W S X Z C Q: the left player's keys never change.
constexpr std::array<int16_t, 8> kLeftKeys = {65, 68, 87, 83, 88, 90, 67, 81};
}  // namespace

int16_t controlKey(const GameState& s, int p, int control) {
  return p == 0 ? s.rightKeys[control] : kLeftKeys[control];
}

void steerCommand(KeyEvents& out, const GameState& s, int p, int have, int want, int minus,
                  int plus) {
  if (have == want) return;
  if (want == 0)
    out.push({false, controlKey(s, p, minus)});
  else
    out.push({true, controlKey(s, p, want < 0 ? minus : plus)});
}

}  // namespace zelkar::cpu
