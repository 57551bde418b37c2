// Replays in-process: the per-tick state hashes of a script, the state at
// one tick, and the text form of hash lists (what --dump hash prints and
// the golden replays store).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "events/script.h"

namespace zelkar::sim {

// One line of a hash list, without the line break: the tick number, a
// blank and the hash as 16 lower-case hex digits ("12 00c0ffee00c0ffee").
std::string hashLine(int64_t tick, uint64_t hash);

// A hash list read back: hash i belongs to tick i + 1. Nullopt when a line
// is not a hashLine or the ticks do not count 1, 2, 3, ...
std::optional<std::vector<uint64_t>> readHashLines(std::string_view text);

struct HashRun {
  std::vector<uint64_t> hashes;      // stateHash after each tick, the first tick first
  std::optional<ScriptError> error;  // a bad script is not played at all
};

// Plays a script as zelkar-sim --seed SEED would and hashes every tick.
HashRun replayHashes(std::string_view script, uint32_t seed = 0);

// The runner's JSON object of the state after `tick` ticks of the script,
// or nullopt when the script is bad or runs fewer ticks. The "sounds" and
// "messages" of the object are those of that tick alone.
std::optional<std::string> replayStateAt(std::string_view script, int64_t tick, uint32_t seed = 0);

}  // namespace zelkar::sim
