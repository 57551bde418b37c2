#include "qt/local_mode.h"

#include "qt/cpu_seats.h"

namespace zelkar::qt {

void LocalMode::beforeTick(GameHost& host) {
  if (cpu_ != nullptr) cpu_->beforeTick(host);
}

void LocalMode::showing(GameHost&, const Game& shown) {
  if (cpu_ != nullptr) cpu_->showWith(shown);
}

}  // namespace zelkar::qt
