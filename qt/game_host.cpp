#include "qt/game_host.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <algorithm>
#include <utility>

#include "app/handlers.h"
#include "input/player_keys.h"
#include "qt/hash_log.h"
#include "qt/local_mode.h"
#include "qt/main_window.h"
#include "qt/online_mode.h"
#include "qt/qt_window_system.h"
#include "qt/recorder.h"
#include "qt/replay_mode.h"
#include "qt/score_window.h"
#include "qt/sound_module.h"
#include "qt/sync_test_mode.h"
#include "qt/window_icon.h"

namespace zelkar::qt {

ConfigValues settingsInForce(const GameState& s) {
  return {s.keypadMode, s.tickInterval, s.soundOn};
}

namespace {

// Before any window exists, so that each one gets it.
std::unique_ptr<Game> newGameWithIcon() {
  useGameIcon();
  return std::make_unique<Game>();
}

std::unique_ptr<PlayMode> modeOf(const GameHost::Options& o) {
  if (o.net != nullptr) return std::make_unique<OnlineMode>(*o.net);
  if (o.replay != nullptr) return std::make_unique<ReplayMode>(*o.replay);
  if (o.syncTestDepth > 0) return std::make_unique<SyncTestMode>(o.syncTestDepth, o.cpu);
  return std::make_unique<LocalMode>(o.cpu);
}

}  // namespace

GameHost::GameHost(Options options)
    : g_(newGameWithIcon()),
      shown_(g_.get()),
      mode_(modeOf(options)),
      main_(std::make_unique<MainWindow>(*this, options.scale)),
      score_(new ScoreWindow(g_->screen, main_.get(), options.scale)),
      ws_(std::make_unique<QtWindowSystem>(
          options.config, main_.get(), [this] { end(); }, options.scale)),
      stats_(options.stats),
      recorder_(options.recorder),
      hashes_(options.hashes),
      soundFolder_(options.soundFolder) {
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
  // A settings window that opens at load is the first window shown.
  ws_->setBeforeSettingsWindow([this] { openSoundsSoon(); });
  mode_->attach(*this);
  replayedCountText_ = std::string(g_->screen.tirikosu.caption.view());
}

GameHost::~GameHost() {
  ended_ = true;  // closing the windows below must not call handlers
  startTimer_.stop();
  timer1_.stop();
}

GameHost::Busy::~Busy() {
  if (--host.busy_ == 0 && host.releaseDue_) host.releaseHeldKeys();
}

template <typename Handler>
void GameHost::run(Handler&& handler, After after) {
  if (ended_) return;
  Busy busy(*this);
  handler();
  afterHandler(after);
}

void GameHost::load(uint32_t seed) {
  if (recorder_ != nullptr) recorder_->write(sim::SeedCommand{seed});
  ws_->setStarting(true);
  run([&] { formLoad(*g_, *ws_, seed); });
  ws_->setStarting(false);
  if (ended_) return;
  mode_->loaded(*this, seed);
  if (recorder_ != nullptr) recorder_->write(sim::ConfigCommand{settingsInForce(g_->s)});
  main_->show();
  main_->activateWindow();
  applyFocus(true);
}

void GameHost::startTimerFired() {
  if (!mode_->runsTheGame()) return;
  run([&] { zelkar::startTimer(*g_); });
  mode_->startTimerRan(*this);
}

void GameHost::tick() {
  if (!ended_) emit tickDue();
  // Only a tick the model's timer would fire: a recording and zelkar-sim
  // count exactly those.
  if (ended_ || ticksHeld_ || g_->screen.timer1Interval <= 0 || !mode_->runsTheGame()) return;
  mode_->beforeTick(*this);
  if (ended_ || g_->screen.timer1Interval <= 0) return;
  if (stats_ != nullptr) stats_->tickRan();
  run([&] { timer1Timer(*g_); }, After::tick);
  mode_->tickRan(*this);
  if (recorder_ != nullptr) recorder_->tickRan();
  if (hashes_ != nullptr) hashes_->tickRan(*g_);
  mode_->tickDone(*this);
}

void GameHost::keyDown(int16_t keyCode, int16_t shift) {
  if (mode_->takesPlayers() && keyCode > 0 && std::size_t(keyCode) < held_.size())
    held_.set(std::size_t(keyCode));
  mode_->keyDown(*this, keyCode, shift);
}

void GameHost::keyUp(int16_t keyCode, int16_t shift) {
  if (!mode_->takesPlayers()) return;
  if (keyCode > 0 && std::size_t(keyCode) < held_.size()) held_.reset(std::size_t(keyCode));
  mode_->keyUp(*this, keyCode, shift);
}

void GameHost::mainWindowActivated() {
  if (!mode_->takesPlayers() || held_.none()) return;
  if (busy_ > 0) {
    releaseDue_ = true;
    return;
  }
  releaseHeldKeys();
}

void GameHost::releaseHeldKeys() {
  releaseDue_ = false;
  // Lowest code first: any fixed order keeps a recording reproducible.
  for (std::size_t vk = 0; vk < held_.size(); ++vk) {
    if (!held_.test(vk)) continue;
    held_.reset(vk);
    mode_->keyUp(*this, int16_t(vk), 0);
  }
}

void GameHost::handled(const sim::Command& c) { mode_->handled(*this, c); }

void GameHost::keyPressed(int16_t keyCode, int16_t shift) {
  if (ended_) return;
  Busy busy(*this);  // the recording below belongs to this key
  // Ctrl+F1 opens the settings window inside its handler (and ticks run
  // while it is open): the settings it leaves in force go before the key,
  // where zelkar-sim reads them when the key comes.
  const bool settingsKey = isSettingsKey(keyCode, shift);
  if (recorder_ != nullptr && !settingsKey) recorder_->write(sim::KeyDownCommand{keyCode, shift});
  run([&] { formKeyDown(*g_, *ws_, keyCode, shift); }, After::key);
  if (settingsKey) {
    const sim::ConfigCommand settings{settingsInForce(g_->s)};
    if (recorder_ != nullptr) {
      recorder_->write(settings);
      recorder_->write(sim::KeyDownCommand{keyCode, shift});
    }
    handled(settings);
  }
  handled(sim::KeyDownCommand{keyCode, shift});
}

void GameHost::keyReleased(int16_t keyCode, int16_t shift) {
  if (ended_) return;
  if (recorder_ != nullptr) recorder_->write(sim::KeyUpCommand{keyCode});
  run([&] { formKeyUp(*g_, keyCode, shift); }, After::key);
  handled(sim::KeyUpCommand{keyCode});
}

void GameHost::option1Clicked() {
  if (!mode_->takesPlayers()) return;
  main_->widgets().copyInto(g_->screen);
  run([&] { option1Click(*g_); });
}

void GameHost::option2Clicked() {
  if (!mode_->takesPlayers()) return;
  main_->widgets().copyInto(g_->screen);
  run([&] { option2Click(*g_); });
}

void GameHost::gameClicked() {
  if (!mode_->takesPlayers()) return;
  main_->widgets().copyInto(g_->screen);
  mode_->startClicked(*this);
}

void GameHost::startPressed() {
  const ScreenModel& m = g_->screen;
  if (ended_ || !m.Picture2.visible) return;
  if (recorder_ != nullptr) recordStart();
  const bool given = !m.Option1.value;
  const sim::StartCommand start{given, given ? std::string(m.tirikosu.caption.view()) : "",
                                m.mas.value};
  run([&] { gameClick(*g_, *ws_); }, After::startButton);
  handled(start);
}

void GameHost::recordStart() {
  const ScreenModel& m = g_->screen;
  // The handler asks for the random count by Option1, so a start with
  // neither button set is a given count.
  const bool given = !m.Option1.value;
  const std::string text(m.tirikosu.caption.view());
  if (given) {
    replayedCountText_ = text;
  } else if (text != replayedCountText_) {
    // The count box is checked with either option, but a `start random`
    // line cannot carry its text: a replay may start where this refused.
    recorder_->comment("the count box held " + sim::scriptText(text) + ", not " +
                       sim::scriptText(replayedCountText_) + ", at the next start");
  }
  recorder_->write(sim::StartCommand{given, given ? text : std::string(), m.mas.value});
}

void GameHost::answerChanged() {
  if (!mode_->takesPlayers()) return;
  main_->widgets().copyInto(g_->screen);
  mode_->answered(*this);
}

void GameHost::answerTyped() {
  const Item& han = g_->screen.han;
  if (ended_ || !han.visible) return;
  // The handler empties the box, and an emptied box is no event: only
  // typed text is one (a replay cannot type nothing).
  const sim::AnswerCommand answer{std::string(han.caption.view())};
  if (recorder_ != nullptr && !answer.text.empty()) recorder_->write(answer);
  run([&] { hanChange(*g_, *ws_); });
  if (!answer.text.empty()) handled(answer);
}

void GameHost::widgetsEdited() {
  // No handler: the model must only not lose what the player typed when
  // the next tick puts the model back into the widgets.
  if (!ended_ && mode_->takesPlayers()) main_->widgets().copyInto(g_->screen);
}

void GameHost::holdTicks() {
  ticksHeld_ = true;
  syncTimers();
}

void GameHost::framePainted() {
  openSoundsSoon();
  if (stats_ == nullptr) return;
  stats_->framePainted();
  if (game().screen.Picture2.visible) stats_->startPanelShown();
}

void GameHost::openSoundsSoon() {
  if (soundFolder_.isEmpty()) return;
  // Queued: the window being shown goes out first.
  QTimer::singleShot(0, this, [this, folder = std::exchange(soundFolder_, QString())] {
    if (ended_) return;
    sound_ = openSounds(folder,
                        soundModulePlaces(QCoreApplication::applicationDirPath(),
                                          QStringLiteral(ZELKAR_SOUND_MODULE_FROM_PROGRAM)),
                        reportOnStandardError);
  });
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
  tellTickClock();
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
  if (mode_->runsTheGame()) {
    syncTimers();
    if (sound_)
      sound_->playQueued(g_->sounds);
    else
      g_->sounds.clear();
  } else {
    g_->sounds.clear();  // online, the session's sounds are played
  }
  present(after);
}

void GameHost::showShared(const Game& shared, const std::vector<Sound>& sounds) {
  if (ended_) return;
  if (shown_ != &shared) {
    shown_ = &shared;
    explosionsTaken_ = 0;
  }
  // The tick and start timers belong to the session: never the window's.
  startTimer_.stop();
  timer1_.stop();
  tellTickClock();
  if (sound_) {
    SoundQueue queue;
    for (const Sound s : sounds) queue.push(s);
    sound_->playQueued(queue);
  }
  present(After::tick);
}

void GameHost::takeExplosions() {
  // Each report once: the session's game is never emptied, and a rollback
  // makes the same reports again under the same numbers.
  const ExplosionQueue& q = game().explosions;
  const uint64_t held = q.pushed() - q.size();
  for (uint64_t n = std::max(explosionsTaken_, held); n < q.pushed(); ++n)
    main_->addExplosion(q[std::size_t(n - held)]);
  explosionsTaken_ = std::max(explosionsTaken_, q.pushed());
  if (shown_ == g_.get()) g_->explosions.clear();
}

void GameHost::present(After after) {
  takeExplosions();
  main_->widgets().showModel(game().screen, mode_->panelChoicesOwn(game()));
  mode_->showing(*this, game());
  // A tick never moves the keys: only the player's own actions and the
  // handlers they start decide where typing goes.
  applyFocus(after != After::tick);
  syncScoreWindow(after == After::startButton);
  main_->modelChanged(after != After::tick && after != After::key);
}

void GameHost::syncTimers() {
  const ScreenModel& m = g_->screen;
  // A one-shot timer that is re-armed while the model keeps an interval
  // behaves as the periodic timer the model describes.
  if (m.startInterval <= 0)
    startTimer_.stop();
  else if (!startTimer_.isActive() || startTimer_.interval() != m.startInterval)
    startTimer_.start(m.startInterval);

  if (m.timer1Interval <= 0 || ticksHeld_)
    timer1_.stop();
  else if (!timer1_.isActive() || timer1_.interval() != m.timer1Interval)
    timer1_.start(m.timer1Interval);
  if (stats_ != nullptr) stats_->tickTimerRunning(timer1_.isActive());
  tellTickClock();
}

void GameHost::tellTickClock() {
  const bool running = timer1_.isActive();
  if (running == tickClockShown_) return;
  tickClockShown_ = running;
  emit tickClockRunning(running);
}

void GameHost::syncScoreWindow(bool reshow) {
  score_->setModel(game().screen);
  const bool wanted = game().screen.scoreVisible;
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
    const Item& t = game().screen.tokuten[p];
    if (scoreDrawn_[p].visible != t.visible || !(t.caption == scoreDrawn_[p].text.view())) {
      scoreDrawn_[p] = {t.visible, t.caption};
      changed = true;
    }
  }
  if (changed) score_->update();
}

void GameHost::applyFocus(bool force) {
  const Focus f = game().screen.focus;
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
