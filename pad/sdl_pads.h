// Game controllers read with SDL's controller API, input only: SDL opens
// no window and installs no signal handlers, and is only ever asked, from
// the caller's thread, what happened since the last time. The first pad
// takes the first slot and the second pad the second; a pad pulled out
// frees its slot, and the next pad plugged in takes the first free one.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "pad/pad_state.h"
#include "pad/sdl_api.h"

namespace zelkar::pad {

struct PlugEvent {
  enum Kind { connected, disconnected, failed };
  Kind kind = connected;
  int slot = -1;     // -1 for a pad that could not be opened
  std::string name;  // the pad's name, or why it could not be opened
};

class SdlPads {
 public:
  static constexpr int kSlots = 2;

  SdlPads() = default;
  ~SdlPads();
  SdlPads(const SdlPads&) = delete;
  SdlPads& operator=(const SdlPads&) = delete;

  // Loads SDL and starts its controller subsystem. False, with error(),
  // when pads cannot be used here: the game then plays by keyboard only.
  bool start(const char* library = kSdlLibrary);
  const std::string& error() const { return error_; }
  bool running() const { return running_; }

  // Takes SDL's events since the last call, opening pads plugged in and
  // closing pads pulled out, and says what changed. Never waits.
  std::vector<PlugEvent> poll();
  // The pad in `slot` as of the last poll; none when the slot is empty.
  std::optional<PadState> state(int slot) const;
  // The name of the pad in `slot`, empty when there is none.
  std::string name(int slot) const;

 private:
  struct Slot {
    SDL_GameController* pad = nullptr;
    SDL_JoystickID id = -1;
  };
  void openNew(std::vector<PlugEvent>& out);
  bool isOpen(SDL_JoystickID id) const;

  SdlApi sdl_;
  std::array<Slot, kSlots> slots_{};
  std::string error_;
  bool running_ = false;
};

}  // namespace zelkar::pad
