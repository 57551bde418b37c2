#include "qt/pad_input.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <ostream>

#include "pad_match.h"
#include "virtual_pad.h"

namespace zelkar::pad {
namespace {

using qt::PadInput;
using test::kLeftPlayer;
using test::kRightPlayer;
using test::PadMatch;
using test::VirtualPad;

constexpr int16_t kFar = 30000;  // well past the dead zone

// What the game holds for a player in battle: thrust along x and y, and
// the gun's turn.
struct Held {
  float x, y;
  int turn;
  bool operator==(const Held&) const = default;
  friend std::ostream& operator<<(std::ostream& o, const Held& h) {
    return o << h.x << ", " << h.y << " turning " << h.turn;
  }
};
Held holds(const GameState& s, int p) { return {s.thrustX[p], s.thrustY[p], s.turnDir[p]}; }

TEST(PadInput, TheFirstPadPlaysTheLeftPlayerInSetUp) {
  PadMatch m;
  ASSERT_TRUE(m.pads->active());
  VirtualPad pad;
  m.read();
  EXPECT_TRUE(m.pads->message().contains(QStringLiteral("左")));
  EXPECT_TRUE(m.t.host.mainWindow().windowTitle().startsWith(QStringLiteral("ZELKAR GAME")));
  const GameState& s = m.s();

  // Down moves one row, and holding it does not move another. While ticks
  // run the pads are read as each is due: the tick reads the pad first.
  ASSERT_TRUE(m.t.host.tickClock().isActive());
  pad.stick(0, kFar);
  m.t.ticks(1);
  EXPECT_EQ(s.settingRow[kLeftPlayer], 1);
  m.read();
  EXPECT_EQ(s.settingRow[kLeftPlayer], 1);

  // The right player is untouched throughout.
  EXPECT_EQ(s.settingRow[kRightPlayer], 0);
  EXPECT_EQ(s.settingStep[kRightPlayer], 0);
}

TEST(PadInput, APadPulledOutReleasesTheDirectionItHeldAndPlayGoesOn) {
  for (int player : {kLeftPlayer, kRightPlayer}) {
    PadMatch m;
    VirtualPad first;
    auto second = std::make_unique<VirtualPad>();
    m.read();
    VirtualPad& held = player == kLeftPlayer ? first : *second;
    const GameState& s = m.s();
    held.button(SDL_CONTROLLER_BUTTON_A, true);
    held.stick(-kFar, -kFar);
    held.button(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, true);
    // Read in set-up the diagonal is only sideways; the next read is in
    // battle and adds up.
    m.read();
    EXPECT_EQ(s.thrustY[player], 0.0f);
    m.read();
    ASSERT_EQ(s.thrustY[player], -1.0f);
    m.t.ticks(3);
    held.pull();
    m.read();
    EXPECT_EQ(holds(s, player), (Held{0, 0, 0})) << player;
    EXPECT_TRUE(m.pads->message().contains(QStringLiteral("外れ"))) << player;
    EXPECT_TRUE(m.t.host.mainWindow().windowTitle().contains(m.pads->message()));
    EXPECT_TRUE(m.t.host.tickClock().isActive());
    m.t.ticks(1);
    EXPECT_EQ(s.settingRow[player], kRowInBattle);
  }
}

TEST(PadInput, AKeyHeldOnTheKeyboardAndThePadIsReleasedByTheLastOfThem) {
  PadMatch m;
  VirtualPad pad;
  m.read();
  const GameState& s = m.s();
  pad.button(SDL_CONTROLLER_BUTTON_A, true);
  m.read();
  QWidget& window = m.t.host.mainWindow();

  // The keyboard holds D; the pad pushes right and lets go.
  QTest::keyPress(&window, Qt::Key_D);
  pad.stick(kFar, 0);
  m.read();
  pad.stick(0, 0);
  m.read();
  EXPECT_EQ(s.thrustX[kLeftPlayer], 1.0f);
  QTest::keyRelease(&window, Qt::Key_D);
  EXPECT_EQ(s.thrustX[kLeftPlayer], 0.0f);

  // The other way round: the pad holds, the key goes down and up.
  pad.stick(kFar, 0);
  m.read();
  QTest::keyPress(&window, Qt::Key_D);
  QTest::keyRelease(&window, Qt::Key_D);
  EXPECT_EQ(s.thrustX[kLeftPlayer], 1.0f);
  pad.stick(0, 0);
  m.read();
  EXPECT_EQ(s.thrustX[kLeftPlayer], 0.0f);
}

TEST(PadInput, WithoutSdlOneLineSaysSoAndTheKeyboardStillPlays) {
  qt::test::TestHost t;
  std::FILE* err = std::tmpfile();
  ASSERT_NE(err, nullptr);
  {
    PadInput pads(t.host, err, "libzelkar-no-such-sdl.so.0");
    EXPECT_FALSE(pads.start());
    EXPECT_FALSE(pads.start());  // said once
    EXPECT_FALSE(pads.active());
    pads.pollNow();
    t.startMatch(1, "4");
    t.host.keyDown(88, 0);  // X: the left player confirms
    EXPECT_EQ(t.host.game().s.settingRow[kLeftPlayer], kRowInBattle);
  }
  std::rewind(err);
  char text[512] = {};
  const std::size_t n = std::fread(text, 1, sizeof text - 1, err);
  std::fclose(err);
  const std::string said(text, n);
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  EXPECT_NE(said.find("keyboard only"), std::string::npos) << said;
  EXPECT_NE(said.find("libzelkar-no-such-sdl.so.0"), std::string::npos) << said;  // and why
}

TEST(PadInput, SdlIsLoadedOnlyAfterTheFirstFrame) {
  qt::test::TestHost t;
  PadInput pads(t.host, stderr, kSdlLibrary);
  pads.startAfterFirstFrame();
  t.host.load(1);
  EXPECT_FALSE(pads.active());
  t.host.mainWindow().repaint();
  EXPECT_FALSE(pads.active()) << "the frame goes out first";
  EXPECT_TRUE(QTest::qWaitFor([&] { return pads.active(); }, 2000));
}

}  // namespace
}  // namespace zelkar::pad
