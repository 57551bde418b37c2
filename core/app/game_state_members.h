// Walking the whole game record: the JSON dump and the state hash list the
// members from the same list that declares them (game_state_members.inc),
// so a member added to the record shows up everywhere at once.
#pragma once

#include <concepts>
#include <cstdint>
#include <string_view>
#include <type_traits>

#include "app/game_state.h"
#include "app/hasher.h"

namespace zelkar {

// A member's name, with the id the state hash mixes in before its value.
// It passes for its text, so visitors that want only the name take a
// const char* or a std::string_view.
struct MemberName {
  const char* text;
  uint64_t id;
  operator const char*() const { return text; }
  operator std::string_view() const { return text; }
};

// Calls visit(name, member) for each member, first to last. State is
// GameState or const GameState, so the same list serves readers and writers.
template <typename State, typename Visitor>
requires std::same_as<std::remove_const_t<State>, GameState>
void forEachMember(State& s, Visitor&& visit) {
#define ZELKAR_MEMBER(name, ...) visit(MemberName{#name, nameId(#name)}, s.name);
#include "app/game_state_members.inc"
#undef ZELKAR_MEMBER
}

// The same for the tables fixed for the match.
template <typename Tables, typename Visitor>
requires std::same_as<std::remove_const_t<Tables>, MatchTables>
void forEachTable(Tables& t, Visitor&& visit) {
#define ZELKAR_TABLE(name, ...) visit(MemberName{#name, nameId(#name)}, t.name);
#include "app/match_tables.inc"
#undef ZELKAR_TABLE
}

}  // namespace zelkar
