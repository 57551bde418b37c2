#include "qt/online_mode.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include "input/player_keys.h"
#include "qt/game_font.h"
#include "qt/game_host.h"
#include "qt/main_window.h"
#include "qt/net_play.h"
#include "qt/qt_window_system.h"

namespace zelkar::qt {

namespace {

// Below the start panel (240, 240, 313 x 57), where the computer's boxes
// sit in a local match, in client pixels.
constexpr int kNoteLeft = 240, kNoteTop = 308, kNoteWidth = 313, kNoteHeight = 25;

}  // namespace

void OnlineMode::attach(GameHost& host) {
  if (net_.isHost()) return;
  MainWindow& window = host.mainWindow();
  const int scale = window.scale();
  hostStarts_ = new QLabel(QCoreApplication::translate("Online", "ホストが開始します。"), &window);
  hostStarts_->setFont(gameFont(9, false, scale));
  hostStarts_->setGeometry(kNoteLeft * scale, kNoteTop * scale, kNoteWidth * scale,
                           kNoteHeight * scale);
  hostStarts_->hide();
}

void OnlineMode::loaded(GameHost& host, uint32_t seed) {
  net_.begin(host, settingsInForce(host.ownGame().s), seed);
}

bool OnlineMode::runsTheGame() const { return !net_.sharing(); }

void OnlineMode::keyDown(GameHost& host, int16_t keyCode, int16_t shift) {
  if (host.ended()) return;
  if (isSettingsKey(keyCode, shift)) {
    // The settings window changes this machine only: its sound switch and
    // where its player's keys are (the shared game keeps the host's tick
    // interval and keyboard kind).
    QtWindowSystem& ws = host.windowSystem();
    ws.showSettingsWindow();
    const ConfigRead read = ws.readSettings();
    if (read.ok()) {
      net_.setLocalSound(read.values->soundOn != 0);
      net_.setLocalKeyboard(read.values->keypadMode);
    }
    return;
  }
  net_.keyDown(keyCode, shift);
}

void OnlineMode::keyUp(GameHost&, int16_t keyCode, int16_t) { net_.keyUp(keyCode); }

void OnlineMode::startClicked(GameHost& host) {
  if (host.ended() || !net_.isHost() || !host.game().screen.Picture2.visible) return;
  // The panel's choices as this player left them, read into the own game.
  const ScreenModel& m = host.ownGame().screen;
  const bool given = !m.Option1.value;
  net_.start({given, given ? std::string(m.tirikosu.caption.view()) : "", m.mas.value});
}

void OnlineMode::answered(GameHost& host) {
  if (host.ended() || !host.game().screen.han.visible) return;
  const std::string text(host.ownGame().screen.han.caption.view());
  // The box empties after each answer, as the game's own handler does.
  QLineEdit* box = host.mainWindow().widgets().han();
  {
    const QSignalBlocker quiet(box);
    box->clear();
  }
  if (!text.empty()) net_.answer(text);
}

void OnlineMode::showing(GameHost& host, const Game& shown) {
  if (net_.isHost() || !net_.sharing()) return;
  // Only the host decides the match: the joiner sees its panel greyed,
  // and why.
  RealWidgets& w = host.mainWindow().widgets();
  for (QWidget* x : {static_cast<QWidget*>(w.option1()), static_cast<QWidget*>(w.option2()),
                     static_cast<QWidget*>(w.tirikosu()), static_cast<QWidget*>(w.mas()),
                     static_cast<QWidget*>(w.game())})
    x->setEnabled(false);
  const bool panel = shown.screen.Picture2.visible;
  if (hostStarts_ != nullptr && hostStarts_->isVisible() != panel) hostStarts_->setVisible(panel);
}

bool OnlineMode::panelChoicesOwn(const Game& shown) const {
  // The host's start panel is its own until the start button: what the
  // host has chosen there stays, whatever the shared game still holds.
  return net_.isHost() && net_.sharing() && shown.screen.Picture2.visible;
}

}  // namespace zelkar::qt
