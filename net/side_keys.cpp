#include "net/side_keys.h"

namespace zelkar::net {

int controlOfKey(int16_t keyCode, const KeyTable& localRight) {
  if (keyCode == 0) return -1;
  for (std::size_t c = 0; c < 8; ++c)
    if (keyCode == localRight[c]) return int(c);
  for (std::size_t c = 0; c < 8; ++c)
    if (keyCode == kLeftPlayerKeys[c]) return int(c);
  return -1;
}

int16_t keyOfSide(const GameState& s, bool leftSide, int control) {
  if (control < 0 || control >= 8) return 0;
  return controlKey(s, leftSide ? 1 : 0, control);
}

bool isKeyOfSide(const GameState& s, bool leftSide, int16_t keyCode) {
  if (keyCode == 0) return false;
  for (int c = 0; c < 8; ++c)
    if (keyOfSide(s, leftSide, c) == keyCode) return true;
  return false;
}

}  // namespace zelkar::net
