#include "pad/sdl_pads.h"

namespace zelkar::pad {

SdlPads::~SdlPads() {
  if (!running_) return;
  for (Slot& s : slots_)
    if (s.pad != nullptr) sdl_.close(s.pad);
  sdl_.quitSubSystem(SDL_INIT_GAMECONTROLLER);
  sdl_.unload();
}

bool SdlPads::start(const char* library) {
  if (running_) return true;
  std::string why;
  if (!sdl_.load(library, why)) {
    error_ = "SDL could not be loaded (" + why + ")";
    return false;
  }
  // Qt owns the window and the signals: SDL must neither turn Ctrl+C into
  // an event nobody reads, nor ignore the pads while another window (the
  // settings window, the score window) has the focus.
  sdl_.setHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  sdl_.setHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  if (sdl_.initSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
    error_ = std::string("SDL has no game controllers here (") + sdl_.getError() + ")";
    sdl_.unload();
    return false;
  }
  running_ = true;
  return true;
}

bool SdlPads::isOpen(SDL_JoystickID id) const {
  for (const Slot& s : slots_)
    if (s.pad != nullptr && s.id == id) return true;
  return false;
}

void SdlPads::openNew(std::vector<PlugEvent>& out) {
  const int devices = sdl_.numJoysticks();
  for (int d = 0; d < devices; ++d) {
    int free = -1;
    for (int i = kSlots - 1; i >= 0; --i)
      if (slots_[std::size_t(i)].pad == nullptr) free = i;
    if (free < 0) return;  // a third pad waits until a slot is free
    if (!sdl_.isGameController(d)) continue;
    const SDL_JoystickID id = sdl_.deviceInstanceId(d);
    if (id < 0 || isOpen(id)) continue;
    SDL_GameController* pad = sdl_.open(d);
    if (pad == nullptr) {
      // Most often a device node the user may not read.
      out.push_back({PlugEvent::failed, -1, sdl_.getError()});
      continue;
    }
    slots_[std::size_t(free)] = {pad, id};
    const char* name = sdl_.name(pad);
    out.push_back({PlugEvent::connected, free, name != nullptr ? name : ""});
  }
}

std::vector<PlugEvent> SdlPads::poll() {
  std::vector<PlugEvent> out;
  if (!running_) return out;
  bool plugged = false;
  SDL_Event e;
  // Polling also pumps: the pads' states are current once the queue is empty.
  while (sdl_.pollEvent(&e) != 0) {
    if (e.type == SDL_CONTROLLERDEVICEADDED) {
      plugged = true;
    } else if (e.type == SDL_CONTROLLERDEVICEREMOVED) {
      for (std::size_t i = 0; i < slots_.size(); ++i) {
        Slot& s = slots_[i];
        if (s.pad == nullptr || s.id != e.cdevice.which) continue;
        const char* name = sdl_.name(s.pad);
        out.push_back({PlugEvent::disconnected, int(i), name != nullptr ? name : ""});
        sdl_.close(s.pad);
        s = Slot{};
        plugged = true;  // a waiting third pad may take the slot
      }
    }
  }
  // The pads present at start arrive as "added" events too; a failed open
  // is tried again only when something is plugged in or out.
  if (plugged) openNew(out);
  return out;
}

std::optional<PadState> SdlPads::state(int slot) const {
  if (slot < 0 || slot >= kSlots || slots_[std::size_t(slot)].pad == nullptr) return std::nullopt;
  SDL_GameController* c = slots_[std::size_t(slot)].pad;
  auto held = [&](SDL_GameControllerButton b) { return sdl_.button(c, b) != 0; };
  PadState p;
  p.stickX = sdl_.axis(c, SDL_CONTROLLER_AXIS_LEFTX);
  p.stickY = sdl_.axis(c, SDL_CONTROLLER_AXIS_LEFTY);
  p.leftTrigger = sdl_.axis(c, SDL_CONTROLLER_AXIS_TRIGGERLEFT);
  p.rightTrigger = sdl_.axis(c, SDL_CONTROLLER_AXIS_TRIGGERRIGHT);
  p.dpadUp = held(SDL_CONTROLLER_BUTTON_DPAD_UP);
  p.dpadDown = held(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
  p.dpadLeft = held(SDL_CONTROLLER_BUTTON_DPAD_LEFT);
  p.dpadRight = held(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
  p.south = held(SDL_CONTROLLER_BUTTON_A);
  p.north = held(SDL_CONTROLLER_BUTTON_Y);
  p.leftShoulder = held(SDL_CONTROLLER_BUTTON_LEFTSHOULDER);
  p.rightShoulder = held(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER);
  return p;
}

std::string SdlPads::name(int slot) const {
  if (slot < 0 || slot >= kSlots || slots_[std::size_t(slot)].pad == nullptr) return {};
  const char* n = sdl_.name(slots_[std::size_t(slot)].pad);
  return n != nullptr ? n : "";
}

}  // namespace zelkar::pad
