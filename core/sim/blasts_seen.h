// What the tick's capture shows of the shell blasts. A blast drawn at size
// s leaves its slot at s - 3, and that is the strength a body touching the
// picture feels: the same for both vehicles, the owner's own and the
// obstacles, whichever player steps first and whatever the slot does
// later in the tick (the owner's step shrinks it again before its own
// probe and before the obstacles probe).
//
// The start size and the shell mass come from the slot too, as they were
// when its blast was first drawn, not from the owner's settings now: a
// blast left frozen on the arena while its owner is back in set-up keeps
// the strength it was drawn with whatever the owner chooses meanwhile.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace zelkar {

struct Game;

struct BlastsSeen {
  // For every blast picture 8p + k drawn at the capture: the slot state it
  // stands for, the size it started at and its shell mass; 0 where none
  // is drawn.
  std::array<int16_t, 16> state{};
  std::array<int16_t, 16> start{};  // px
  std::array<float, 16> mass{};     // kg
};

// Remembers, with the arena's capture, what goes with every blast picture
// then drawn.
void captureBlasts(Game& g);

// For the blast picture of (owner, slot): ((s - 2) / (S - 2))^3 for the
// state s the capture saw with it and the start size S it was drawn with,
// in double: 1 on the tick after the blast was drawn at S, 0 at the last
// size it is seen with. nullopt when the picture stands for no exploding
// slot (state below 2, e.g. a picture left over from a stopped match) or
// was drawn without a start size above 2: such a picture has no effect.
std::optional<double> seenBlastCube(const Game& g, int owner, int slot);

// The mass of the shell whose blast the capture saw there, kg.
float seenBlastMass(const Game& g, int owner, int slot);

}  // namespace zelkar
