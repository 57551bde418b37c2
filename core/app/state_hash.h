// A 64-bit fingerprint of everything a match is made of: every member of
// the game record, the generator's state, the flags of the Game value and
// the geometry of every sprite the probes read. Two games that hash alike
// after every tick played the same match, bit for bit.
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
