// What the computer player hands back for one tick: the key presses and
// releases of its side, in the order the front end must send them through
// formKeyDown and formKeyUp before the tick.
#pragma once

#include <array>
#include <cstdint>

#include "app/game_state.h"
#include "input/player_keys.h"

namespace zelkar::cpu {

struct KeyEvent {
  bool down = true;     // press (formKeyDown) or release (formKeyUp)
  int16_t keyCode = 0;  // Windows virtual-key code
  bool operator==(const KeyEvent&) const = default;
};

// A fixed list: deciding a tick never allocates.
class KeyEvents {
 public:
  static constexpr int kCapacity = 8;  // more than one tick ever needs (3 commands + fire + row)
  void push(KeyEvent e) {
    if (count_ < kCapacity) items_[count_++] = e;
  }
  int size() const { return count_; }
  const KeyEvent& operator[](int i) const { return items_[i]; }
  const KeyEvent* begin() const { return items_.data(); }
  const KeyEvent* end() const { return items_.data() + count_; }

 private:
  std::array<KeyEvent, kCapacity> items_{};
  int count_ = 0;
};

// Presses or releases so that a held command of player p becomes `want`
// (-1, 0, +1): `have` is the command the game holds now; minus and plus are
// the controls of the pair. Releasing either key of a pair clears it.
void steerCommand(KeyEvents& out, const GameState& s, int p, int have, int want, int minus,
                  int plus);

}  // namespace zelkar::cpu
