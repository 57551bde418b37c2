// A game controller made of SDL's virtual joystick: a standard pad as SDL's
// controller database knows it, plugged in when made and pulled out when
// destroyed (or by pull()). Its moves reach the reader at its next poll.
#pragma once

#include <SDL.h>

#include <cstdint>

namespace zelkar::pad::test {

class VirtualPad {
 public:
  VirtualPad() {
    // SDL counts its users: the reader's own start and stop are unaffected.
    SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
    SDL_VirtualJoystickDesc d{};
    d.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    d.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    d.naxes = SDL_CONTROLLER_AXIS_MAX;
    d.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    d.name = "zelkar test pad";
    const int index = SDL_JoystickAttachVirtualEx(&d);
    if (index >= 0) {
      id_ = SDL_JoystickGetDeviceInstanceID(index);
      joystick_ = SDL_JoystickOpen(index);
    }
    if (joystick_ != nullptr) {
      trigger(SDL_CONTROLLER_AXIS_TRIGGERLEFT, false);
      trigger(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, false);
    }
  }
  ~VirtualPad() {
    pull();
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
  }
  VirtualPad(const VirtualPad&) = delete;
  VirtualPad& operator=(const VirtualPad&) = delete;

  bool plugged() const { return joystick_ != nullptr; }
  void stick(int16_t x, int16_t y) {
    SDL_JoystickSetVirtualAxis(joystick_, SDL_CONTROLLER_AXIS_LEFTX, x);
    SDL_JoystickSetVirtualAxis(joystick_, SDL_CONTROLLER_AXIS_LEFTY, y);
  }
  // A trigger's raw axis runs over the whole range, released at its
  // bottom; SDL's controller API reports it as 0..32767.
  void trigger(SDL_GameControllerAxis axis, bool pulled) {
    SDL_JoystickSetVirtualAxis(joystick_, axis, pulled ? 32767 : -32768);
  }
  void button(SDL_GameControllerButton b, bool down) {
    SDL_JoystickSetVirtualButton(joystick_, b, down ? 1 : 0);
  }
  // Out of the socket, with whatever it still held.
  void pull() {
    if (joystick_ == nullptr) return;
    SDL_JoystickClose(joystick_);
    joystick_ = nullptr;
    for (int i = 0; i < SDL_NumJoysticks(); ++i)
      if (SDL_JoystickGetDeviceInstanceID(i) == id_) SDL_JoystickDetachVirtual(i);
  }

 private:
  SDL_JoystickID id_ = -1;
  SDL_Joystick* joystick_ = nullptr;
};

}  // namespace zelkar::pad::test
