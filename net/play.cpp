#include "net/play.h"

#include <type_traits>
#include <variant>

#include "app/handlers.h"

namespace zelkar::net {

int64_t play(Game& g, QuietWindow& ws, const sim::Command& command) {
  if (sim::isPlayerEvent(command)) {
    sim::playEvent(g, ws, command);
    return 0;
  }
  int64_t ticks = 0;
  std::visit(
      [&](const auto& c) {
        using C = std::decay_t<decltype(c)>;
        if constexpr (std::is_same_v<C, sim::SeedCommand>) {
          g.rng.seed(c.seed);
        } else if constexpr (std::is_same_v<C, sim::ConfigCommand>) {
          ws.setConfig(c.values);
        } else if constexpr (std::is_same_v<C, sim::TickCommand>) {
          for (; ticks < c.count && sim::simulationRunning(g); ++ticks) timer1Timer(g);
        }
        // Sessions and the sync test play recorded key lines only; their
        // scripts refuse a cpu line before it gets here.
      },
      command);
  return ticks;
}

}  // namespace zelkar::net
