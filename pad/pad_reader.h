// The game controllers of a desktop program, without the program: the
// first pad plays the left player and the second the right one, by
// pressing and releasing that player's keys, so the recording, the state
// hashes and replays see ordinary keys. A pad and the keyboard may drive
// one player together: a key is let go only when neither holds it. The
// front end calls poll() from its own timer and hands the keyboard's keys
// in; the reader hands key events and plug changes back through PadSink.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/game_state.h"
#include "pad/key_holders.h"
#include "pad/pad_mapping.h"
#include "pad/sdl_pads.h"

namespace zelkar::pad {

struct PadSink {
  // True once the program has ended: no key may reach the game then.
  std::function<bool()> ended;
  // A key of a player, pressed or let go. A pad has no Shift, Ctrl or Alt.
  std::function<void(int16_t keyCode, bool down)> key;
  // A pad plugged in or pulled out, or one that could not be opened.
  std::function<void(const PlugEvent& e)> plug;
};

// Slot 0, the first pad, is the left player (player 1); slot 1 the right.
inline int playerOfSlot(int slot) { return slot == 0 ? 1 : 0; }

class PadReader {
 public:
  explicit PadReader(const char* library = kSdlLibrary);
  ~PadReader();

  // Loads SDL and starts its controller subsystem; false, with error(),
  // when pads cannot be used here.
  bool start();
  bool active() const;
  const std::string& error() const;

  // One read of the pads: plug changes, then each pad's controls as keys of
  // its player. `s` is read for whether the player is in set-up, anew for
  // each pad, since the first pad's keys may change it.
  void poll(const GameState& s, const PadSink& sink);

  // The keyboard's side of the merge: its presses are noted, and its
  // release of a key a pad still holds is kept from the game (false).
  void keyboardPressed(int16_t keyCode);
  bool keyboardReleased(int16_t keyCode);

 private:
  void send(Source source, const std::vector<KeyChange>& changes, const PadSink& sink);

  const char* library_;
  std::unique_ptr<SdlPads> pads_;
  std::array<PadKeys, 2> keys_{};
  KeyHolders holders_;
};

}  // namespace zelkar::pad
