// What the tick's capture shows of the shell blasts. A blast drawn at size
// s leaves its slot at s - 3, and that is the strength a body touching the
// picture feels: the same for both vehicles, the owner's own and the
// obstacles, whichever player steps first and whatever the slot does
// later in the tick (the owner's step shrinks it again before its own
// probe and before the obstacles probe).
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace zelkar {

struct Game;

struct BlastsSeen {
  // Slot state each blast picture 8p + k stands for; 0 where none is drawn.
  std::array<int16_t, 16> state{};
};

// Remembers, with the arena's capture at the start of the tick, the state
// that goes with every blast picture then drawn.
void captureBlasts(Game& g);

// ((s - 2) / (S - 2))^3 for the state s the capture saw with the blast
// picture of (owner, slot) and the owner's start size S, in double: 1 on
// the tick after the blast was drawn at S, 0 at the last size it is seen
// with. nullopt when the picture stands for no exploding slot (state below
// 2, e.g. a picture left over from a stopped match) or the owner has no
// start size above 2: such a picture has no effect at all.
std::optional<double> seenBlastCube(const Game& g, int owner, int slot);

}  // namespace zelkar
