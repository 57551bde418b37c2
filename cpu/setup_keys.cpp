#include "cpu/setup_keys.h"

#include <algorithm>
#include <cmath>

namespace zelkar::cpu {

namespace {

constexpr int kCoarse = 10;  // settingStep of the thrust keys
constexpr int kFine = 1;     // settingStep of the turning keys

int wantedValue(const GameState& s, const std::array<float, 6>& wanted, int r) {
  const int hi = std::max<int>(1, s.settingMax[r]);
  return std::clamp(static_cast<int>(std::lround(wanted[r])), 1, hi);
}

}  // namespace

void setupKeys(KeyEvents& out, const GameState& s, int p, const std::array<float, 6>& wanted,
               bool mayConfirm) {
  int first = -1;  // the first row still to change
  int delta = 0;
  for (int r = 0; r < kSettings && first < 0; ++r) {
    delta = wantedValue(s, wanted, r) - static_cast<int>(std::lround(s.setting[p][r]));
    if (delta != 0) first = r;
  }
  const int step = s.settingStep[p];
  if (first < 0) {
    // A held step would go on changing the row after we leave it.
    if (step != 0) out.push({false, controlKey(s, p, kLeft)});
    if (mayConfirm) out.push({true, controlKey(s, p, kFire)});
    return;
  }
  const int row = s.settingRow[p];
  if (row != first) {
    if (step != 0) out.push({false, controlKey(s, p, kLeft)});
    const int moves = std::min(std::abs(first - row), KeyEvents::kCapacity - 2);
    for (int i = 0; i < moves; ++i) out.push({true, controlKey(s, p, first < row ? kUp : kDown)});
    return;
  }
  const int want =
      std::abs(delta) >= kCoarse ? (delta > 0 ? kCoarse : -kCoarse) : (delta > 0 ? kFine : -kFine);
  if (step == want) return;
  const int control = want == kCoarse    ? kRight
                      : want == -kCoarse ? kLeft
                      : want == kFine    ? kTurnPlus
                                         : kTurnMinus;
  out.push({true, controlKey(s, p, control)});
}

}  // namespace zelkar::cpu
