// One key can be held by the keyboard and by a pad at the same time (a
// player with a pad may still use the keys). The game must see it released
// only when the last of them lets it go, or a pad's release would stop a
// vehicle whose key the other hand still holds down.
#pragma once

#include <array>
#include <cstdint>

namespace zelkar::pad {

enum class Source : uint8_t { keyboard = 0, pad1 = 1, pad2 = 2 };

class KeyHolders {
 public:
  // Every press goes to the game: a second holder pressing is a new press,
  // as a repeated key press is.
  void press(Source source, int16_t keyCode);
  // Whether the release goes to the game: only when no other source still
  // holds the key. A release of a key this source was not known to hold
  // (pressed before the window had the keys) goes through if no one else
  // holds it.
  bool release(Source source, int16_t keyCode);
  bool held(int16_t keyCode) const;
  bool heldBy(Source source, int16_t keyCode) const;

 private:
  // Virtual-key codes are 0..255; a bit per source.
  std::array<uint8_t, 256> holders_{};
};

}  // namespace zelkar::pad
