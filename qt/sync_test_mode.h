// --sync-test N: a local match whose every tick is rolled back N ticks and
// replayed beside it; the first replayed tick that differs from its first
// run stops the match with a message.
#pragma once

#include <memory>

#include "qt/local_mode.h"

namespace zelkar::net {
class SyncChecker;
}

namespace zelkar::qt {

class SyncTestMode : public LocalMode {
 public:
  SyncTestMode(int depth, CpuSeats* cpu);
  ~SyncTestMode() override;

  void startTimerRan(GameHost& host) override;
  void tickRan(GameHost& host) override;
  void handled(GameHost& host, const sim::Command& c) override;

 private:
  bool checking() const;

  std::unique_ptr<net::SyncChecker> sync_;
  bool begun_ = false;
};

}  // namespace zelkar::qt
