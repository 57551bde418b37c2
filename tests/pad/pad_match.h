// A match in the desktop program's host with the pads read by PadInput:
// the host (the right player on the keypad), a started match with four
// obstacles, and the pads read once per call of read() instead of by the
// timer.
#pragma once

#include <memory>

#include "pad/sdl_api.h"
#include "qt/pad_input.h"
#include "qt/qt_test_support.h"

namespace zelkar::pad::test {

using qt::PadInput;

constexpr int kLeftPlayer = 1, kRightPlayer = 0;

struct PadMatch {
  explicit PadMatch(qt::Recorder* recorder = nullptr, qt::HashLog* hashes = nullptr)
      : t({.recorder = recorder, .hashes = hashes}),
        pads(std::make_unique<PadInput>(t.host, stderr, kSdlLibrary)) {
    pads->start();
    t.startMatch(4242, "4");
  }
  ~PadMatch() { pads.reset(); }  // before the host whose window it watches
  void read() { pads->pollNow(); }
  const GameState& s() const { return t.host.game().s; }

  qt::test::TestHost t;
  std::unique_ptr<PadInput> pads;
};

}  // namespace zelkar::pad::test
