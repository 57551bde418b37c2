// What the meeting point allows, with the reasons for each figure. One
// struct so that the program's options and the tests set them in one place.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zelkar::meet {

struct Limits {
  // A waiting host polls about four times a second; ten a second with a
  // burst of twenty leaves room for a few hosts behind one shared address
  // (a family, carrier-grade NAT) and little for a flood.
  double perAddressPerSecond = 10;
  double perAddressBurst = 20;
  // All addresses together: far above what a community needs, and low
  // enough that a flood from many addresses costs a small server little.
  double globalPerSecond = 5000;
  double globalBurst = 5000;
  // Wrong codes asked for by one address within missWindowMs: with 31^8
  // codes, ten guesses in ten minutes make finding a live one hopeless.
  uint32_t missesPerWindow = 10;
  int64_t missWindowMs = 10 * 60 * 1000;
  // Codes a single address may hold at once, and all of them together.
  uint32_t codesPerAddress = 4;
  std::size_t maxCodes = 10000;
  // A code dies when its host stops polling for this long (the game polls
  // every quarter second), and at the latest after codeLifeMs: an
  // invitation is for now, not for tomorrow.
  int64_t idleExpiryMs = 30 * 1000;
  int64_t codeLifeMs = 15 * 60 * 1000;
  // Addresses remembered for their rate and guesses; beyond this new
  // addresses are turned away until old ones are forgotten (after
  // forgetAfterMs of silence, or missWindowMs when they guessed wrong).
  std::size_t maxAddresses = 100000;
  int64_t forgetAfterMs = 60 * 1000;
};

}  // namespace zelkar::meet
