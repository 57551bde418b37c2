#include "qt/pad_input.h"

#include <QApplication>
#include <QKeyEvent>

#include "app/game.h"
#include "qt/game_host.h"
#include "qt/keymap.h"
#include "qt/main_window.h"
#include "qt/run_stats.h"

namespace zelkar::qt {

PadInput::PadInput(GameHost& host, std::FILE* err, const char* library)
    : host_(host), err_(err), reader_(library) {
  sink_.ended = [this] { return host_.ended(); };
  sink_.key = [this](int16_t keyCode, bool down) {
    if (down)
      host_.keyDown(keyCode, 0);
    else
      host_.keyUp(keyCode, 0);
  };
  sink_.plug = [this](const pad::PlugEvent& e) { plugged(e); };
  title_ = host_.mainWindow().windowTitle();
  host_.mainWindow().installEventFilter(this);
  messageTimer_.setSingleShot(true);
  connect(&messageTimer_, &QTimer::timeout, this, [this] {
    message_.clear();
    host_.mainWindow().setWindowTitle(title_);
  });
  connect(&pollTimer_, &QTimer::timeout, this, &PadInput::readIfDue);
  connect(&host_, &GameHost::tickDue, this, &PadInput::readIfDue);
  connect(&host_, &GameHost::tickClockRunning, this, &PadInput::followTickClock);
}

void PadInput::readIfDue() {
  if (!active()) return;
  if (padsIn_ == 0 && sinceRead_.isValid() && sinceRead_.elapsed() < kPlugLookMs) return;
  pollNow();
}

void PadInput::followTickClock(bool ticking) {
  if (!active() || ticking || host_.ended()) {
    pollTimer_.stop();
    return;
  }
  const int ms = padsIn_ > 0 ? kPollMs : kPlugLookMs;
  if (!pollTimer_.isActive() || pollTimer_.interval() != ms) pollTimer_.start(ms);
}

bool PadInput::start() {
  if (startTried_) return active();
  startTried_ = true;
  const int64_t startNs = RunStats::steadyNow();
  const bool started = reader_.start();
  // Loading SDL is the pads' whole cost at start-up: measured runs show it.
  if (RunStats::wanted())
    std::fprintf(err_, "zelkar-stats: pads-start-ms=%.1f\n",
                 double(RunStats::steadyNow() - startNs) / 1e6);
  if (!started) {
    std::fprintf(err_, "zelkar: no game controllers, keyboard only: %s\n", reader_.error().c_str());
    return false;
  }
  followTickClock(host_.tickClock().isActive());
  return true;
}

void PadInput::startAfterFirstFrame() { startOnPaint_ = true; }

PadInput::~PadInput() = default;

void PadInput::pollNow() {
  // A modal window (the settings window, a message box) runs its own event
  // loop inside a handler: no key may reach the game until it closes. The
  // pads' events wait in SDL's queue meanwhile.
  if (QApplication::activeModalWidget() != nullptr) return;
  sinceRead_.start();
  reader_.poll(host_.game().s, sink_);
}

void PadInput::plugged(const pad::PlugEvent& e) {
  if (e.kind == pad::PlugEvent::failed) {
    std::fprintf(err_, "zelkar: a game controller could not be opened: %s\n", e.name.c_str());
  } else if (e.kind == pad::PlugEvent::connected) {
    ++padsIn_;
    followTickClock(host_.tickClock().isActive());
    say(pad::playerOfSlot(e.slot) == 1 ? tr("左のプレイヤーにパッドがつながりました")
                                       : tr("右のプレイヤーにパッドがつながりました"));
  } else {
    --padsIn_;
    followTickClock(host_.tickClock().isActive());
    say(pad::playerOfSlot(e.slot) == 1 ? tr("左のプレイヤーのパッドが外れました")
                                       : tr("右のプレイヤーのパッドが外れました"));
  }
}

bool PadInput::eventFilter(QObject* watched, QEvent* event) {
  // The keyboard's side of the merge: its presses are noted, and its
  // release of a key a pad still holds is kept from the game.
  if (event->type() == QEvent::Paint && startOnPaint_) {
    // Queued: the frame being painted goes to the screen first.
    startOnPaint_ = false;
    QTimer::singleShot(0, this, [this] { start(); });
  } else if (event->type() == QEvent::KeyPress) {
    const int vk = vkFromKeyEvent(*static_cast<QKeyEvent*>(event));
    if (vk != 0) reader_.keyboardPressed(int16_t(vk));
  } else if (event->type() == QEvent::KeyRelease) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const int vk = vkFromKeyEvent(*key);
    if (vk != 0 && forwardRelease(*key) && !reader_.keyboardReleased(int16_t(vk))) return true;
  }
  return QObject::eventFilter(watched, event);
}

void PadInput::say(const QString& text) {
  // The title, not the arena: nothing is drawn over the game, and nothing
  // waits for the player.
  message_ = text;
  host_.mainWindow().setWindowTitle(title_ + QStringLiteral("　") + text);
  messageTimer_.start(kMessageMs);
}

std::unique_ptr<PadInput> startPads(GameHost& host) {
  if (qgetenv("ZELKAR_NO_PADS") == "1") return nullptr;
  auto pads = std::make_unique<PadInput>(host, stderr, pad::kSdlLibrary);
  pads->startAfterFirstFrame();
  return pads;
}

}  // namespace zelkar::qt
