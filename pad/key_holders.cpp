#include "pad/key_holders.h"

namespace zelkar::pad {

namespace {

bool known(int16_t keyCode) { return keyCode >= 0 && keyCode < 256; }
uint8_t bit(Source s) { return uint8_t(1u << uint8_t(s)); }

}  // namespace

void KeyHolders::press(Source source, int16_t keyCode) {
  if (known(keyCode)) holders_[std::size_t(keyCode)] |= bit(source);
}

bool KeyHolders::release(Source source, int16_t keyCode) {
  // Codes outside the table are no player's key: nothing to merge.
  if (!known(keyCode)) return true;
  uint8_t& h = holders_[std::size_t(keyCode)];
  h &= uint8_t(~bit(source));
  return h == 0;
}

bool KeyHolders::held(int16_t keyCode) const {
  return known(keyCode) && holders_[std::size_t(keyCode)] != 0;
}

bool KeyHolders::heldBy(Source source, int16_t keyCode) const {
  return known(keyCode) && (holders_[std::size_t(keyCode)] & bit(source)) != 0;
}

}  // namespace zelkar::pad
