#include "headless/runner.h"

#include <gtest/gtest.h>

#include <limits>
#include <sstream>

#include "app/game_state_members.h"
#include "audio/sound.h"
#include "json_reader.h"

namespace zelkar::sim {

namespace {

std::vector<test::Json> lines(const std::ostringstream& out) {
  std::vector<test::Json> result;
  std::istringstream in(out.str());
  for (std::string line; std::getline(in, line);) result.push_back(test::parseJson(line));
  return result;
}

}  // namespace

TEST(Runner, TicksRunOnlyWhileTheTimerRunsAndEachIsDumped) {
  std::ostringstream out;
  Runner r(out, DumpMode::Ticks, 0);
  r.load();
  r.game().screen.timer1Interval = 0;
  r.execute(TickCommand{5});
  EXPECT_TRUE(out.str().empty());

  r.game().screen.timer1Interval = 10;  // ms
  r.execute(TickCommand{3});
  r.window().endProgram();  // no tick after the end
  r.execute(TickCommand{4});
  r.finish();  // dumping per tick: nothing more at the end
  const auto objs = lines(out);
  ASSERT_EQ(objs.size(), 3u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(objs[i]["tick"].text, std::to_string(i + 1));
  EXPECT_FALSE(objs[2]["ended"].boolean);
}

TEST(Runner, EverySoundAndMessageReachesTheNextObjectOnce) {
  std::ostringstream out;
  Runner r(out, DumpMode::End, 0);
  r.load();
  Game& g = r.game();
  g.s.soundOn = 1;
  // More requests than the game's queue holds, spread over many events as a
  // long match spreads them.
  const std::size_t events = SoundQueue::kCapacity + 44;
  for (std::size_t i = 0; i < events; ++i) {
    (i % 2 ? playCollisionSound : playFireSound)(g);
    r.execute(KeyUpCommand{7});  // no control's key: the event changes nothing
  }
  r.window().messageBox("1-11の範囲に設定して下さい。", "移動障害物個数");
  r.execute(KeyUpCommand{7});
  r.finish();
  const test::Json j = lines(out).at(0);
  ASSERT_EQ(j["sounds"].items.size(), events);
  EXPECT_EQ(j["sounds"][0].text, "hassyaon");
  EXPECT_EQ(j["sounds"][1].text, "syoutotuon");
  ASSERT_EQ(j["messages"].items.size(), 1u);
  EXPECT_EQ(j["messages"][0][0].text, "1-11の範囲に設定して下さい。");
  EXPECT_EQ(j["messages"][0][1].text, "移動障害物個数");
  EXPECT_EQ(r.droppedSounds(), 0u);

  r.finish();  // drained: the next object starts empty
  EXPECT_TRUE(lines(out).at(1)["sounds"].items.empty());
  EXPECT_TRUE(lines(out).at(1)["messages"].items.empty());
}

TEST(Runner, StartSetsThePanelOnlyWhileItShowsAndBeforeTheEnd) {
  std::ostringstream out;
  Runner r(out, DumpMode::End, 0);
  r.load();
  ScreenModel& sc = r.game().screen;
  sc.Picture2.visible = false;
  r.execute(StartCommand{true, "7", true});
  EXPECT_TRUE(sc.Option1.value);  // untouched: the button could not be pressed

  sc.Picture2.visible = true;
  sc.tirikosu.caption = "99";
  r.execute(StartCommand{false, "", false});  // random leaves the box as it is
  EXPECT_TRUE(sc.Option1.value && !sc.Option2.value && !sc.mas.value);
  EXPECT_EQ(sc.tirikosu.caption.view(), "99");

  sc.Picture2.visible = true;
  r.execute(StartCommand{true, "7", true});
  EXPECT_TRUE(!sc.Option1.value && sc.Option2.value && sc.mas.value);
  EXPECT_EQ(sc.tirikosu.caption.view(), "7");

  sc.Picture2.visible = true;
  r.window().endProgram();
  r.execute(StartCommand{false, "", false});
  EXPECT_TRUE(sc.Option2.value && sc.mas.value);
}

TEST(Runner, SeedAndConfigReachTheWindowAsTheScriptSays) {
  std::ostringstream out;
  Runner r(out, DumpMode::End, 5);
  EXPECT_EQ(r.window().readSettings().values->tickInterval, 10);  // config 1 10 1
  r.execute(ConfigCommand{{0, 40, 0}});
  EXPECT_EQ(r.window().readSettings().values->tickInterval, 40);
  r.execute(SeedCommand{123});  // before load: the seed load is given
  r.load();
  EXPECT_EQ(r.game().rng.state(), 123u);
  r.execute(SeedCommand{77});  // after load: straight into the generator
  EXPECT_EQ(r.game().rng.state(), 77u);
}

TEST(StateLine, HasEveryFieldInOrderWithItsShapeAndValue) {
  Game g;
  g.awaitingAnswer = true;
  g.s.posX[1] = 0.1f;
  g.s.setting[1][5] = 500;
  g.s.shellState[1][7] = 9;
  MatchTables t;
  t.obstRingDY[10][255] = -3;
  g.s.frozenTables = freeze(t);
  g.s.colCoef = std::numeric_limits<float>::quiet_NaN();
  g.screen.hyosuu[17].caption = "12.5";
  g.screen.tokuten[1].caption = "10";
  g.screen.timer1Interval = 10;
  DumpEvents ev{42, {"bakuhatuon1"}, {{"text \"q\"", "title"}}};
  const test::Json j = test::parseJson(stateLine(g, ev));

  std::vector<std::string> expected = {"tick",  "running", "awaitingAnswer",
                                       "ended", "sounds",  "messages"};
  forEachMember(g.s, [&](const char* name, const auto&) { expected.emplace_back(name); });
  forEachTable(t, [&](const char* name, const auto&) { expected.emplace_back(name); });
  for (const char* c : {"hyosuu", "setsuuti", "hyoumas", "tokuten"}) expected.emplace_back(c);
  std::vector<std::string> names;
  for (const auto& f : j.fields) names.push_back(f.first);
  EXPECT_EQ(names, expected);

  EXPECT_EQ(j["tick"].text, "42");
  EXPECT_TRUE(j["running"].boolean && j["awaitingAnswer"].boolean && !j["ended"].boolean);
  EXPECT_EQ(j["sounds"][0].text, "bakuhatuon1");
  EXPECT_EQ(j["messages"][0][0].text, "text \"q\"");
  EXPECT_EQ(std::stof(j["posX"][1].text), 0.1f);
  EXPECT_EQ(j["setting"][1].items.size(), 6u);
  EXPECT_EQ(j["setting"][1][5].text, "500");
  EXPECT_EQ(j["shellState"][1].items.size(), 8u);
  EXPECT_EQ(j["shellState"][1][7].text, "9");
  EXPECT_EQ(j["obstRingDY"].items.size(), 11u);
  EXPECT_EQ(j["obstRingDY"][10][255].text, "-3");
  EXPECT_EQ(j["colCoef"].kind, test::Json::Kind::String);
  EXPECT_EQ(j["hyosuu"].items.size(), 18u);
  EXPECT_EQ(j["hyosuu"][17].text, "12.5");
  EXPECT_EQ(j["setsuuti"].items.size(), 14u);
  EXPECT_EQ(j["hyoumas"].items.size(), 2u);
  EXPECT_EQ(j["tokuten"][1].text, "10");

  g.ended = true;  // an ended program's timer does not fire
  EXPECT_FALSE(test::parseJson(stateLine(g, ev))["running"].boolean);
}

}  // namespace zelkar::sim
