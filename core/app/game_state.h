// The one record of everything the main window keeps between events: what
// changes during a match, and the tables fixed for it.
//
// Member names and types follow the game's rules word for word so that a
// reader can go from a rule to the line that implements it:
//   Integer -> int16_t, Long -> int32_t, Single -> float, Double -> double.
// Positions and sizes are client pixels (x right, y down); velocities are
// pixels per simulated second; one tick is 0.03 simulated seconds.
// Colours are 24-bit values with blue in the high byte.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

namespace zelkar {

template <typename T, std::size_t N>
using Arr = std::array<T, N>;
template <typename T, std::size_t N, std::size_t M>
using Arr2 = std::array<std::array<T, M>, N>;

inline constexpr int kPlayers = 2;
inline constexpr int kShellSlots = 5;    // slots 0..4 fly; the arrays have 8 columns
inline constexpr int kObstacles = 11;    // obstacles 0..10
inline constexpr int kWalls = 35;        // walls 0..34 (34 is never used)
inline constexpr int kRingPoints = 512;  // vehicle probe ring
inline constexpr int kObstRingPoints = 256;
inline constexpr int kDirections = 64;  // gun directions
inline constexpr int kSettings = 6;
inline constexpr int kRowInBattle = 6;        // settingRow value of a player in battle
inline constexpr int16_t kNoContact = 100;    // lastContact / obstLastContact: none
inline constexpr float kTickSeconds = 0.03f;  // simulated seconds per tick

// Tables the rules compute before play and never change during a match
// (some 15 kB, seven times the rest of the record). The record holds them
// by a shared pointer to a frozen copy: saving a game for a rollback copies
// the pointer, and the state hash mixes in the fingerprint taken when they
// were frozen instead of reading them after every tick. A change means
// building new tables and freezing them.
struct MatchTables {
#define ZELKAR_TABLE(name, ...) __VA_ARGS__ name{};
#include "app/match_tables.inc"
#undef ZELKAR_TABLE
  uint64_t fingerprint = 0;  // the hash of every table above, taken by freeze
};

// Takes the fingerprint; the tables are read-only from here on.
std::shared_ptr<const MatchTables> freeze(const MatchTables& t);

struct GameState {
#define ZELKAR_MEMBER(name, ...) __VA_ARGS__ name{};
#include "app/game_state_members.inc"
#undef ZELKAR_MEMBER

  // The tables fixed for the match; all zero (fingerprint 0) until the
  // first are frozen.
  std::shared_ptr<const MatchTables> frozenTables;
  const MatchTables& tables() const {
    static const MatchTables kNone{};  // never changes: the tables of a game before load
    return frozenTables ? *frozenTables : kNone;
  }
};

// Shell slot k of player p holds nothing: no shell, no blast, and no
// strength left over from the last blast drawn there.
inline void emptyShellSlot(GameState& s, int p, int k) {
  s.shellState[p][k] = 0;
  s.blastDrawnStart[p][k] = 0;
  s.blastDrawnMass[p][k] = 0;
}

}  // namespace zelkar
