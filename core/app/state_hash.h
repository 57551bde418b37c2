// A 64-bit fingerprint of everything a match is made of: every member of
// the game record, the tables fixed for the match (by the fingerprint taken
// when they were made), the generator's state, the flags of the Game value
// and the geometry of every sprite the probes read. Two games that hash
// alike after every tick played the same match, bit for bit.
//
// Each member enters under the id of its name, and a member at zero (its
// initial value) is left out: a member added to the record changes no
// stored hash until a rule moves it, and a value cannot pass for another
// member's. The tick's view of the arena (the probe capture) is left out:
// the next tick takes it afresh from what is hashed.
//
// The hash reads the bytes of values as this machine stores them (x86-64,
// little endian), so stored hashes hold for this platform only.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "app/game.h"

namespace zelkar {

// Never allocates: it may run after every tick.
uint64_t stateHash(const Game& g);

// The same without the named members of the game record: for games that
// differ on purpose only in settings that never feed back (the sound
// switch, the tick interval).
uint64_t stateHashWithout(const Game& g, std::initializer_list<std::string_view> skipped);

// The first value that differs between two games, as "posX[1]: 12.5 vs 13"
// (a member of the record, "rng", a flag or a sprite field such as
// "kyara[0].left"); empty when everything the hash reads is equal.
std::string firstDifference(const Game& a, const Game& b);

}  // namespace zelkar
