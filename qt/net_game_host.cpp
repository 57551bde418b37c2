// The main window's side of online play and of the sync test: the parts
// of GameHost that hand the players' actions to the session instead of the
// game, and show the session's game.
#include <QCheckBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <cstdio>

#include "net/sync_test.h"
#include "qt/game_host.h"
#include "qt/main_window.h"
#include "qt/net_play.h"
#include "qt/qt_window_system.h"

namespace zelkar::qt {

namespace {

constexpr int16_t kF1 = 112;      // virtual-key code
constexpr int16_t kCtrlOnly = 2;  // shift state: Ctrl alone

}  // namespace

void GameHost::showShared(const Game& shared, const std::vector<Sound>& sounds) {
  if (ended_) return;
  // The host's start panel is its own until the start button: what the
  // host has chosen there stays, whatever the shared game still holds.
  ScreenModel& m = g_->screen;
  const bool panelOwn = net_->isHost() && shared.screen.Picture2.visible;
  const bool option1 = m.Option1.value, option2 = m.Option2.value, friction = m.mas.value;
  const Caption count = m.tirikosu.caption;
  *g_ = shared;
  // The session ends the program itself, after telling the player why.
  g_->ended = false;
  if (panelOwn) {
    m.Option1.value = option1;
    m.Option2.value = option2;
    m.mas.value = friction;
    m.tirikosu.caption = count;
  }
  g_->sounds.clear();
  if (netSoundOn_)
    for (const Sound s : sounds) g_->sounds.push(s);
  afterHandler(After::tick);
  // The tick and start timers belong to the session: never the window's.
  startTimer_.stop();
  timer1_.stop();
  if (!net_->isHost()) {
    // Only the host decides the match: the joiner sees its panel unchanged.
    RealWidgets& w = main_->widgets();
    for (QWidget* x : {static_cast<QWidget*>(w.option1()), static_cast<QWidget*>(w.option2()),
                       static_cast<QWidget*>(w.tirikosu()), static_cast<QWidget*>(w.mas()),
                       static_cast<QWidget*>(w.game())})
      x->setEnabled(false);
  }
}

void GameHost::netKeyDown(int16_t keyCode, int16_t shift) {
  if (ended_) return;
  if (keyCode == kF1 && shift == kCtrlOnly) {
    // The settings window changes this machine only: its sound switch and
    // where its player's keys are (the shared game keeps the host's tick
    // interval and keyboard kind).
    ws_->showSettingsWindow();
    const ConfigRead read = ws_->readSettings();
    if (read.ok()) {
      netSoundOn_ = read.values->soundOn != 0;
      net_->setLocalKeyboard(read.values->keypadMode);
    }
    return;
  }
  net_->keyDown(keyCode, shift);
}

void GameHost::netStart() {
  const ScreenModel& m = g_->screen;
  if (ended_ || !net_->isHost() || !m.Picture2.visible) return;
  const bool given = !m.Option1.value;
  net_->start({given, given ? std::string(m.tirikosu.caption.view()) : "", m.mas.value});
}

void GameHost::netAnswer() {
  const Item& han = g_->screen.han;
  if (ended_ || !han.visible) return;
  const std::string text(han.caption.view());
  // The box empties after each answer, as the game's own handler does.
  g_->screen.han.caption = "";
  main_->widgets().showModel(g_->screen);
  if (!text.empty()) net_->answer(text);
}

void GameHost::syncTestEvent(const sim::Command& c) {
  if (sync_ && syncBegun_ && !sync_->failure()) sync_->event(c);
}

void GameHost::syncTestTick() {
  if (!sync_ || !syncBegun_ || sync_->failure()) return;
  sync_->tick(*g_);
  if (const auto& f = sync_->failure()) {
    std::fprintf(stderr, "zelkar: sync test: tick %lld differs after a rollback at tick %lld: %s\n",
                 static_cast<long long>(f->tick), static_cast<long long>(f->rolledBackAt),
                 f->difference.c_str());
    ws_->messageBox(QCoreApplication::translate(
                        "Online", "%1回目の時刻を巻き戻して再現すると状態が変わりました。")
                        .arg(f->tick)
                        .toStdString(),
                    QCoreApplication::translate("Online", "同期テスト").toStdString());
    end();
  }
}

}  // namespace zelkar::qt
