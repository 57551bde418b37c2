// Arena construction: the vehicles on their bases, the moving obstacles and
// the walls of a match. The random draws happen in a fixed order, so a seed
// reproduces the arena.
#pragma once

namespace zelkar {

struct Game;
struct GameState;

// Both vehicles back on their bases, at rest, guns facing each other, no
// shells in flight. Settings, fuel, shells and armour are left alone.
void kitaisyoki(GameState& s);

// Obstacles 0..lastObstacle: position clear of the start positions,
// velocity, size, mass and contact ring; sizes their images.
void tirisyoki(Game& g);

// Walls 0..lastWall: count, positions clear of the start positions, sizes;
// sizes and places their images.
void kabesyoki(Game& g);

// Squared distance (px^2) a wall's or obstacle's corner must keep from each
// vehicle start position: about 71 px, room to drive off the base.
inline constexpr float kStartClearance2 = 5100.0f;

}  // namespace zelkar
