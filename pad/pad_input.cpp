#include "pad/pad_input.h"

#include <QApplication>
#include <QKeyEvent>

#include "app/game.h"
#include "input/player_keys.h"
#include "pad/sdl_pads.h"
#include "qt/game_host.h"
#include "qt/keymap.h"
#include "qt/main_window.h"
#include "qt/run_stats.h"

namespace zelkar::pad {

namespace {

// Slot 0, the first pad, is the left player (player 1); slot 1 the right.
int playerOfSlot(int slot) { return slot == 0 ? 1 : 0; }
Source sourceOfSlot(int slot) { return slot == 0 ? Source::pad1 : Source::pad2; }

}  // namespace

PadInput::PadInput(qt::GameHost& host, std::FILE* err, const char* library)
    : host_(host), err_(err), library_(library), pads_(std::make_unique<SdlPads>()) {
  title_ = host_.mainWindow().windowTitle();
  host_.mainWindow().installEventFilter(this);
  messageTimer_.setSingleShot(true);
  connect(&messageTimer_, &QTimer::timeout, this, [this] {
    message_.clear();
    host_.mainWindow().setWindowTitle(title_);
  });
  connect(&pollTimer_, &QTimer::timeout, this, &PadInput::pollNow);
}

bool PadInput::start() {
  if (startTried_) return active();
  startTried_ = true;
  const int64_t startNs = qt::RunStats::steadyNow();
  const bool started = pads_->start(library_);
  // Loading SDL is the pads' whole cost at start-up: measured runs show it.
  if (qt::RunStats::wanted())
    std::fprintf(err_, "zelkar-stats: pads-start-ms=%.1f\n",
                 double(qt::RunStats::steadyNow() - startNs) / 1e6);
  if (!started) {
    std::fprintf(err_, "zelkar: no game controllers, keyboard only: %s\n", pads_->error().c_str());
    return false;
  }
  pollTimer_.start(kPollMs);
  return true;
}

void PadInput::startAfterFirstFrame() { startOnPaint_ = true; }

PadInput::~PadInput() = default;

bool PadInput::active() const { return pads_->running(); }

void PadInput::pollNow() {
  if (!active() || host_.ended()) return;
  // A modal window (the settings window, a message box) runs its own event
  // loop inside a handler: no key may reach the game until it closes. The
  // pads' events wait in SDL's queue meanwhile.
  if (QApplication::activeModalWidget() != nullptr) return;
  for (const PlugEvent& e : pads_->poll()) {
    if (e.kind == PlugEvent::failed) {
      std::fprintf(err_, "zelkar: a game controller could not be opened: %s\n", e.name.c_str());
    } else if (e.kind == PlugEvent::connected) {
      say(playerOfSlot(e.slot) == 1 ? tr("左のプレイヤーにパッドがつながりました")
                                    : tr("右のプレイヤーにパッドがつながりました"));
    } else {
      send(sourceOfSlot(e.slot), keys_[std::size_t(e.slot)].releaseAll());
      say(playerOfSlot(e.slot) == 1 ? tr("左のプレイヤーのパッドが外れました")
                                    : tr("右のプレイヤーのパッドが外れました"));
    }
  }
  for (int slot = 0; slot < SdlPads::kSlots && !host_.ended(); ++slot) {
    const std::optional<PadState> state = pads_->state(slot);
    if (!state) continue;
    const int p = playerOfSlot(slot);
    const GameState& s = host_.game().s;
    const bool inSetup = s.settingRow[p] != kRowInBattle;
    PadKeys& keys = keys_[std::size_t(slot)];
    send(sourceOfSlot(slot),
         keys.update(heldControls(*state, inSetup, keys.held()), playerKeyCodes(s, p)));
  }
}

void PadInput::send(Source source, const std::vector<KeyChange>& changes) {
  for (const KeyChange& c : changes) {
    if (host_.ended()) return;
    // A pad has no Shift, Ctrl or Alt.
    if (c.down) {
      holders_.press(source, c.keyCode);
      host_.keyDown(c.keyCode, 0);
    } else if (holders_.release(source, c.keyCode)) {
      host_.keyUp(c.keyCode, 0);
    }
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
    if (vk != 0) holders_.press(Source::keyboard, int16_t(vk));
  } else if (event->type() == QEvent::KeyRelease) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const int vk = vkFromKeyEvent(*key);
    if (vk != 0 && forwardRelease(*key) && !holders_.release(Source::keyboard, int16_t(vk)))
      return true;
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

std::unique_ptr<PadInput> startPads(qt::GameHost& host) {
  if (qgetenv("ZELKAR_NO_PADS") == "1") return nullptr;
  auto pads = std::make_unique<PadInput>(host, stderr, kSdlLibrary);
  pads->startAfterFirstFrame();
  return pads;
}

}  // namespace zelkar::pad
