#include "events/play.h"

#include <type_traits>
#include <variant>

#include "app/handlers.h"

namespace zelkar::sim {

bool simulationRunning(const Game& g) { return g.screen.timer1Interval > 0 && !g.ended; }

void openWindow(Game& g, WindowSystem& ws, uint32_t seed) {
  formLoad(g, ws, seed);
  if (g.screen.startInterval > 0 && !g.ended) startTimer(g);
}

bool fillStartPanel(ScreenModel& screen, const StartCommand& start) {
  if (!screen.Picture2.visible) return false;
  screen.Option1.value = !start.given;
  screen.Option2.value = start.given;
  if (start.given) screen.tirikosu.caption = start.text;
  screen.mas.value = start.friction;
  return true;
}

bool fillAnswerBox(ScreenModel& screen, const AnswerCommand& answer) {
  if (!screen.han.visible) return false;
  screen.han.caption = answer.text;
  return true;
}

bool isPlayerEvent(const Command& command) {
  return std::holds_alternative<StartCommand>(command) ||
         std::holds_alternative<KeyDownCommand>(command) ||
         std::holds_alternative<KeyUpCommand>(command) ||
         std::holds_alternative<AnswerCommand>(command);
}

void playEvent(Game& g, WindowSystem& ws, const Command& command) {
  if (g.ended) return;
  std::visit(
      [&](const auto& c) {
        using C = std::decay_t<decltype(c)>;
        if constexpr (std::is_same_v<C, StartCommand>) {
          if (fillStartPanel(g.screen, c)) gameClick(g, ws);
        } else if constexpr (std::is_same_v<C, KeyDownCommand>) {
          formKeyDown(g, ws, c.keyCode, c.shift);
        } else if constexpr (std::is_same_v<C, KeyUpCommand>) {
          formKeyUp(g, c.keyCode, 0);
        } else if constexpr (std::is_same_v<C, AnswerCommand>) {
          if (fillAnswerBox(g.screen, c)) hanChange(g, ws);
        }
      },
      command);
}

}  // namespace zelkar::sim
