#include "app/state_hash.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/game_state_members.h"
#include "support/fake_window_system.h"

namespace zelkar::testing {
namespace {

// A match a few ticks in: every table filled, sprites placed.
std::unique_ptr<Game> playedGame() {
  FakeWindowSystem ws;
  auto g = std::make_unique<Game>(startedGame(ws, 11, true));
  tick(*g, 40);
  return g;
}

// A change to any byte of any member must show in the hash (but for a
// member left out by name), and the report must name the member and its
// last element (where the change was made).
TEST(StateHash, EveryMemberOfTheRecordCounts) {
  auto g = playedGame();
  const auto pristine = std::make_unique<Game>(*g);
  const uint64_t before = stateHash(*g), beforeWithout = stateHashWithout(*g, {"soundOn"});
  ASSERT_EQ(before, stateHash(*pristine));
  int members = 0;
  forEachMember(g->s, [&](std::string_view name, auto& v) {
    ++members;
    auto* bytes = reinterpret_cast<unsigned char*>(&v);
    bytes[sizeof v - 1] ^= 0x10;
    EXPECT_NE(stateHash(*g), before) << name;
    EXPECT_EQ(stateHashWithout(*g, {"soundOn"}) == beforeWithout, name == "soundOn") << name;
    const std::string diff = firstDifference(*g, *pristine);
    EXPECT_EQ(diff.substr(0, name.size()), name) << diff;
    if constexpr (!std::is_arithmetic_v<std::remove_cvref_t<decltype(v)>>) {
      EXPECT_NE(diff.find(std::to_string(v.size() - 1) + "]"), std::string::npos) << diff;
    }
    bytes[sizeof v - 1] ^= 0x10;
  });
  EXPECT_GT(members, 80);
  EXPECT_EQ(stateHash(*g), before);
  EXPECT_EQ(firstDifference(*g, *pristine), "");

  // The tables fixed for the match count through their fingerprint.
  MatchTables t = g->s.tables();
  t.obstRingDY[10][255] ^= 0x10;
  g->s.frozenTables = freeze(t);
  EXPECT_NE(stateHash(*g), before);
  EXPECT_EQ(firstDifference(*g, *pristine).substr(0, 20), "obstRingDY[10][255]:");
}

// A member at zero, its initial value, is left out, so adding one to the
// record keeps every stored hash; a value is never taken for another
// member's, whatever its position.
TEST(StateHash, MembersAtZeroAreLeftOutAndNamesKeepValuesApart) {
  const int32_t v = 7;
  Hasher one, withZero, other;
  one.named(nameId("a"), v);
  withZero.named(nameId("a"), v);
  withZero.named(nameId("b"), int32_t{0});
  other.named(nameId("b"), v);
  EXPECT_EQ(one.result(), withZero.result());
  EXPECT_NE(one.result(), other.result());
}

TEST(StateHash, GeneratorFlagsAndSpriteGeometryCount) {
  auto g = playedGame();
  const auto pristine = std::make_unique<Game>(*g);
  const uint64_t before = stateHash(*g);
  auto expectNamed = [&](const char* name) {
    EXPECT_NE(stateHash(*g), before) << name;
    EXPECT_EQ(firstDifference(*g, *pristine).substr(0, std::string_view(name).size()), name);
    *g = *pristine;
  };
  g->rng.next();
  expectNamed("rng: ");
  g->awaitingAnswer = true;
  expectNamed("awaitingAnswer: 1 vs 0");
  g->screen.kyara[1].left += 1;
  expectNamed("kyara[1].left: ");
  g->screen.tamabaku[15].visible = !g->screen.tamabaku[15].visible;
  expectNamed("tamabaku[15].visible: ");
  g->screen.kabe[34].picture += 1;
  expectNamed("kabe[34].picture: ");
  g->screen.hline[0].x2 += 0.5f;
  expectNamed("hline[0].x2: ");
  g->screen.timer1Interval = 0;  // the tick stopped
  expectNamed("running: 0 vs 1");

  // How fast the tick runs, captions and colours are not the match.
  g->screen.timer1Interval = 50;
  g->screen.hyosuu[3].caption = "9999";
  g->screen.kyara[0].backColor = 0;
  EXPECT_EQ(stateHash(*g), before);
}

}  // namespace
}  // namespace zelkar::testing
