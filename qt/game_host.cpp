#include "qt/game_host.h"

#include <QCoreApplication>
#include <QLineEdit>

#include "app/handlers.h"
#include "qt/main_window.h"
#include "qt/qt_window_system.h"
#include "qt/score_window.h"

namespace zelkar::qt {

GameHost::GameHost(Options options)
    : g_(std::make_unique<Game>()),
      main_(std::make_unique<MainWindow>(*this, options.scale)),
      score_(new ScoreWindow(g_->screen, main_.get())),
      ws_(std::make_unique<QtWindowSystem>(options.config, main_.get(), [this] { end(); })) {
  if (!options.soundFolder.isEmpty()) sound_ = std::make_unique<SoundPlayer>(options.soundFolder);

  startTimer_.setSingleShot(true);
  connect(&startTimer_, &QTimer::timeout, this, &GameHost::startTimerFired);
  // The tick's interval is the game's speed: it must not be rounded to a
  // coarser grain, and each timeout is exactly one tick.
  timer1_.setTimerType(Qt::PreciseTimer);
  connect(&timer1_, &QTimer::timeout, this, &GameHost::tick);

  RealWidgets& w = main_->widgets();
  connect(&w, &RealWidgets::option1Clicked, this, &GameHost::option1Clicked);
  connect(&w, &RealWidgets::option2Clicked, this, &GameHost::option2Clicked);
  connect(&w, &RealWidgets::gameClicked, this, &GameHost::gameClicked);
  connect(&w, &RealWidgets::hanChanged, this, &GameHost::answerChanged);
  connect(&w, &RealWidgets::edited, this, &GameHost::widgetsEdited);
}

GameHost::~GameHost() {
  ended_ = true;  // closing the windows below must not call handlers
  startTimer_.stop();
  timer1_.stop();
}

template <typename Handler>
void GameHost::run(Handler&& handler, After after) {
  if (ended_) return;
  handler();
  afterHandler(after);
}

void GameHost::load(uint32_t seed) {
  run([&] { formLoad(*g_, *ws_, seed); });
  if (ended_) return;
  main_->show();
  main_->activateWindow();
  applyFocus(true);
}

void GameHost::startTimerFired() {
  run([&] { zelkar::startTimer(*g_); });
}
void GameHost::tick() {
  run([&] { timer1Timer(*g_); }, After::tick);
}

void GameHost::keyDown(int16_t keyCode, int16_t shift) {
  run([&] { formKeyDown(*g_, *ws_, keyCode, shift); });
}

void GameHost::keyUp(int16_t keyCode, int16_t shift) {
  run([&] { formKeyUp(*g_, keyCode, shift); });
}

void GameHost::option1Clicked() {
  main_->widgets().copyInto(g_->screen);
  run([&] { option1Click(*g_); });
}

void GameHost::option2Clicked() {
  main_->widgets().copyInto(g_->screen);
  run([&] { option2Click(*g_); });
}

void GameHost::gameClicked() {
  main_->widgets().copyInto(g_->screen);
  run([&] { gameClick(*g_, *ws_); }, After::startButton);
}

void GameHost::answerChanged() {
  main_->widgets().copyInto(g_->screen);
  run([&] { hanChange(*g_, *ws_); });
}

void GameHost::widgetsEdited() {
  // No handler: the model must only not lose what the player typed when
  // the next tick puts the model back into the widgets.
  if (!ended_) main_->widgets().copyInto(g_->screen);
}

void GameHost::mainWindowClosing() {
  run([&] { formUnload(*g_); });
  end();
}

void GameHost::end() {
  if (ended_) return;
  ended_ = true;
  g_->ended = true;
  ws_->setEnded();
  startTimer_.stop();
  timer1_.stop();
  score_->close();
  main_->close();
  QCoreApplication::quit();
}

void GameHost::afterHandler(After after) {
  if (ended_) return;
  if (g_->ended) {
    end();
    return;
  }
  syncTimers();
  if (sound_)
    sound_->playQueued(g_->sounds);
  else
    g_->sounds.clear();
  main_->widgets().showModel(g_->screen);
  // A tick never moves the keys: only the player's own actions and the
  // handlers they start decide where typing goes.
  applyFocus(after != After::tick);
  syncScoreWindow(after == After::startButton);
  main_->update();
}

void GameHost::syncTimers() {
  const ScreenModel& m = g_->screen;
  // A one-shot timer that is re-armed while the model keeps an interval
  // behaves as the periodic timer the model describes.
  if (m.startInterval <= 0)
    startTimer_.stop();
  else if (!startTimer_.isActive() || startTimer_.interval() != m.startInterval)
    startTimer_.start(m.startInterval);

  if (m.timer1Interval <= 0)
    timer1_.stop();
  else if (!timer1_.isActive() || timer1_.interval() != m.timer1Interval)
    timer1_.start(m.timer1Interval);
}

void GameHost::syncScoreWindow(bool reshow) {
  const bool wanted = g_->screen.scoreVisible;
  // A player may close the score window; it comes back with the next match.
  if (wanted != scoreShown_ || (reshow && wanted && !score_->isVisible())) {
    if (wanted) {
      if (!scoreShown_) score_->move(main_->frameGeometry().topRight() + QPoint(8, 0));
      score_->show();
    } else {
      score_->hide();
    }
    scoreShown_ = wanted;
  }
  // Scores change a few times a match; repainting at every tick is waste.
  bool changed = false;
  for (std::size_t p = 0; p < scoreDrawn_.size(); ++p) {
    const Item& t = g_->screen.tokuten[p];
    if (scoreDrawn_[p].visible != t.visible || !(t.caption == scoreDrawn_[p].text.view())) {
      scoreDrawn_[p] = {t.visible, t.caption};
      changed = true;
    }
  }
  if (changed) score_->update();
}

void GameHost::applyFocus(bool force) {
  const Focus f = g_->screen.focus;
  if (!force && f == focusShown_) return;
  focusShown_ = f;
  RealWidgets& w = main_->widgets();
  QWidget* target = nullptr;
  switch (f) {
    case Focus::Main:
      target = main_.get();
      break;
    case Focus::Tirikosu:
      target = w.tirikosu();
      break;
    case Focus::Han:
      target = w.han();
      break;
    case Focus::None:
    case Focus::Opeval:
      return;  // the settings window keeps its own focus
  }
  // A hidden box cannot take the keys; they stay with the arena then.
  if (!target->isVisible()) target = main_.get();
  if (!target->hasFocus()) target->setFocus(Qt::OtherFocusReason);
}

}  // namespace zelkar::qt
