#include "headless/replay.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <sstream>

#include "app/state_hash.h"
#include "headless/runner.h"

namespace zelkar::sim {

namespace {

constexpr int kHashDigits = 16;  // hex digits of a 64-bit hash

// Plays a good script with the observer watching every tick.
std::optional<ScriptError> play(std::string_view script, uint32_t seed, TickObserver observer) {
  const ParsedScript parsed = parseScript(script);
  if (parsed.error) return parsed.error;
  std::ostringstream none;  // DumpMode::None writes nothing
  Runner runner(none, DumpMode::None, seed);
  runner.observeTicks(std::move(observer));
  runner.run(parsed.commands);
  return std::nullopt;
}

}  // namespace

std::string hashLine(int64_t tick, uint64_t hash) {
  std::array<char, kHashDigits> hex;
  hex.fill('0');
  std::array<char, kHashDigits> digits{};
  const auto r = std::to_chars(digits.data(), digits.data() + digits.size(), hash, 16);
  const std::size_t n = static_cast<std::size_t>(r.ptr - digits.data());
  std::copy(digits.data(), r.ptr, hex.data() + (kHashDigits - n));
  return std::to_string(tick) + ' ' + std::string(hex.data(), hex.size());
}

std::optional<std::vector<uint64_t>> readHashLines(std::string_view text) {
  std::vector<uint64_t> hashes;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view row = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    const std::size_t blank = row.find(' ');
    if (blank == std::string_view::npos) return std::nullopt;
    const auto tick = parseWhole(row.substr(0, blank), 1, kMaxTicks);
    const std::string_view hex = row.substr(blank + 1);
    uint64_t hash = 0;
    const auto r = std::from_chars(hex.data(), hex.data() + hex.size(), hash, 16);
    if (!tick || *tick != static_cast<int64_t>(hashes.size()) + 1 || hex.size() != kHashDigits ||
        r.ec != std::errc{} || r.ptr != hex.data() + hex.size())
      return std::nullopt;
    hashes.push_back(hash);
  }
  return hashes;
}

HashRun replayHashes(std::string_view script, uint32_t seed) {
  HashRun run;
  run.error = play(script, seed, [&run](const Game& g, const DumpEvents&) {
    run.hashes.push_back(stateHash(g));
  });
  return run;
}

std::optional<std::string> replayStateAt(std::string_view script, int64_t tick, uint32_t seed) {
  std::optional<std::string> line;
  const auto error = play(script, seed, [&](const Game& g, const DumpEvents& events) {
    if (events.tick == tick) line = stateLine(g, events);
  });
  if (error) return std::nullopt;
  return line;
}

}  // namespace zelkar::sim
