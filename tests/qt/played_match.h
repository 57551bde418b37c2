// Plays recorded events into a live GameHost through the same entry points
// the window uses, with the ticks called directly instead of waiting for
// the timer: a test reaches the end of a match in well under a second and
// then goes on as a player would, through the real widgets.
#pragma once

#include <gtest/gtest.h>

#include <string_view>
#include <type_traits>
#include <variant>

#include "events/script.h"
#include "headless/state_dump.h"
#include "qt/replayer.h"
#include "qt_test_support.h"

namespace zelkar::qt::test {

inline QString replayPath(const char* name) {
  return QStringLiteral(ZELKAR_REPLAY_DIR "/") + QString::fromLatin1(name);
}

// The first `lines` lines of a stored replay, parsed.
inline std::vector<sim::ScriptLine> replayHead(const char* name, int lines) {
  const QByteArray all = readAll(replayPath(name));
  qsizetype end = 0;
  for (int i = 0; i < lines && end >= 0; ++i) {
    end = all.indexOf('\n', end);
    if (end >= 0) ++end;
  }
  const QByteArray head = end < 0 ? all : all.left(end);
  sim::ParsedScript parsed = sim::parseScript(std::string_view(head.constData(), head.size()));
  EXPECT_FALSE(parsed.error.has_value()) << name;
  return std::move(parsed.commands);
}

// Loads the window as the commands say (the seed and settings before the
// first event, as a replay does), then applies every event; `afterTick`
// runs after each tick.
inline void playCommands(GameHost& host, const std::vector<sim::ScriptLine>& commands,
                         const std::function<void()>& afterTick = {}) {
  std::size_t next = 0;
  uint32_t seed = 0;
  for (; next < commands.size(); ++next) {
    const sim::Command& c = commands[next].command;
    if (const auto* s = std::get_if<sim::SeedCommand>(&c))
      seed = s->seed;
    else if (const auto* k = std::get_if<sim::ConfigCommand>(&c))
      host.windowSystem().setFixedSettings(k->values);
    else
      break;
  }
  host.load(seed);
  // Keys and focus behave as for players only in the active window.
  EXPECT_TRUE(QTest::qWaitForWindowActive(&host.mainWindow()));
  host.startTimerFired();
  for (; next < commands.size(); ++next) {
    const auto* ticks = std::get_if<sim::TickCommand>(&commands[next].command);
    if (ticks == nullptr) {
      Replayer::apply(host, commands[next].command);
      continue;
    }
    // A stopped timer fires nothing, as in the replayer.
    for (int64_t i = 0; i < ticks->count && sim::simulationRunning(host.game()); ++i) {
      host.tick();
      if (afterTick) afterTick();
    }
  }
}

}  // namespace zelkar::qt::test
