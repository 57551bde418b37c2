// A match in the desktop program's host with the pads read by PadInput:
// the host, a started match with four obstacles, and the pads read once
// per call of read() instead of by the timer.
#pragma once

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "pad/sdl_api.h"
#include "qt/game_host.h"
#include "qt/main_window.h"
#include "qt/pad_input.h"
#include "qt/qt_test_support.h"
#include "qt/qt_window_system.h"

namespace zelkar::pad::test {

using qt::PadInput;

constexpr int kLeftPlayer = 1, kRightPlayer = 0;

// A host whose config.txt in `dir` gives the right player the keypad
// (keyboard kind 1).
inline qt::GameHost::Options keypadHost(const QTemporaryDir& dir, qt::Recorder* recorder = nullptr,
                                        qt::HashLog* hashes = nullptr) {
  return {1, qt::test::configIn(dir), {}, nullptr, recorder, hashes};
}

// Loads the game and starts a match with four obstacles through the panel.
inline void startFourObstacles(qt::GameHost& host, uint32_t seed) {
  host.load(seed);
  host.startTimerFired();
  qt::RealWidgets& w = host.mainWindow().widgets();
  w.option2()->click();
  w.tirikosu()->clear();
  QTest::keyClicks(w.tirikosu(), QStringLiteral("4"));
  w.game()->click();
}

struct PadMatch {
  explicit PadMatch(qt::Recorder* recorder = nullptr, qt::HashLog* hashes = nullptr)
      : host(std::make_unique<qt::GameHost>(keypadHost(dir, recorder, hashes))),
        pads(std::make_unique<PadInput>(*host, stderr, kSdlLibrary)) {
    pads->start();
    startFourObstacles(*host, 4242);
  }
  ~PadMatch() {
    pads.reset();  // before the host whose window it watches
    host.reset();
  }
  void read() { pads->pollNow(); }
  void ticks(int n) {
    for (int i = 0; i < n; ++i) host->tick();
  }
  const GameState& s() const { return host->game().s; }

  QTemporaryDir dir;
  std::unique_ptr<qt::GameHost> host;
  std::unique_ptr<PadInput> pads;
};

}  // namespace zelkar::pad::test
