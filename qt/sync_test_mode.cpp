#include "qt/sync_test_mode.h"

#include <QCoreApplication>
#include <QString>
#include <cstdio>

#include "net/sync_test.h"
#include "qt/game_host.h"
#include "qt/qt_window_system.h"

namespace zelkar::qt {

SyncTestMode::SyncTestMode(int depth, CpuSeats* cpu)
    : LocalMode(cpu), sync_(std::make_unique<net::SyncChecker>(depth)) {}

SyncTestMode::~SyncTestMode() = default;

bool SyncTestMode::checking() const { return begun_ && !sync_->failure(); }

void SyncTestMode::startTimerRan(GameHost& host) {
  // The replays open the window as zelkar-sim does: load, then the start
  // timer, and only then the events.
  if (begun_ || host.ended()) return;
  begun_ = true;
  sync_->begin(host.ownGame(), settingsInForce(host.ownGame().s));
}

void SyncTestMode::handled(GameHost&, const sim::Command& c) {
  if (checking()) sync_->event(c);
}

void SyncTestMode::tickRan(GameHost& host) {
  if (!checking()) return;
  sync_->tick(host.ownGame());
  if (const auto& f = sync_->failure()) {
    std::fprintf(stderr, "zelkar: sync test: tick %lld differs after a rollback at tick %lld: %s\n",
                 static_cast<long long>(f->tick), static_cast<long long>(f->rolledBackAt),
                 f->difference.c_str());
    host.windowSystem().messageBox(
        QCoreApplication::translate("Online",
                                    "%1回目の時刻を巻き戻して再現すると状態が変わりました。")
            .arg(f->tick)
            .toStdString(),
        QCoreApplication::translate("Online", "同期テスト").toStdString());
    host.end();
  }
}

}  // namespace zelkar::qt
