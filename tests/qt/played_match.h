// Plays recorded events into a live GameHost through the same entry points
// the window uses, with the ticks called directly instead of waiting for
// the timer: a test reaches the end of a match in well under a second and
// then goes on as a player would, through the real widgets.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QTest>
#include <functional>
#include <string_view>
#include <type_traits>
#include <variant>

#include "headless/script.h"
#include "headless/state_dump.h"
#include "qt/game_host.h"
#include "qt/main_window.h"
#include "qt/qt_window_system.h"
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
    std::visit(
        [&](const auto& c) {
          using C = std::decay_t<decltype(c)>;
          ScreenModel& m = host.game().screen;
          if constexpr (std::is_same_v<C, sim::SeedCommand>) {
            host.game().rng.seed(c.seed);
          } else if constexpr (std::is_same_v<C, sim::ConfigCommand>) {
            host.windowSystem().setFixedSettings(c.values);
          } else if constexpr (std::is_same_v<C, sim::StartCommand>) {
            if (!m.Picture2.visible) return;
            m.Option1.value = !c.given;
            m.Option2.value = c.given;
            if (c.given) m.tirikosu.caption = c.text;
            m.mas.value = c.friction;
            host.startPressed();
          } else if constexpr (std::is_same_v<C, sim::KeyDownCommand>) {
            host.keyPressed(c.keyCode, c.shift);
          } else if constexpr (std::is_same_v<C, sim::KeyUpCommand>) {
            host.keyReleased(c.keyCode, 0);
          } else if constexpr (std::is_same_v<C, sim::AnswerCommand>) {
            if (!m.han.visible) return;
            m.han.caption = c.text;
            host.answerTyped();
          } else if constexpr (std::is_same_v<C, sim::TickCommand>) {
            // A stopped timer fires nothing, as in the replayer.
            for (int64_t i = 0; i < c.count && sim::simulationRunning(host.game()); ++i) {
              host.tick();
              if (afterTick) afterTick();
            }
          }
        },
        commands[next].command);
  }
}

}  // namespace zelkar::qt::test
