// One game controller as the game sees it at one moment, in the names of
// SDL's controller database (south face button, left stick ...), which
// gives the common pads the same names whatever their maker.
#pragma once

#include <cstdint>

namespace zelkar::pad {

struct PadState {
  // Left stick, -32768..32767; x grows to the right, y downwards (towards
  // the player), the same ways as the arena's axes.
  int16_t stickX = 0;
  int16_t stickY = 0;
  // Analogue triggers, 0 (released) .. 32767 (pulled fully).
  int16_t leftTrigger = 0;
  int16_t rightTrigger = 0;
  bool dpadUp = false;
  bool dpadDown = false;
  bool dpadLeft = false;
  bool dpadRight = false;
  bool south = false;  // A on most pads, the cross on others
  bool north = false;  // Y, the triangle
  bool leftShoulder = false;
  bool rightShoulder = false;
};

}  // namespace zelkar::pad
