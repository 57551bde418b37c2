// A match played with pads is recorded as ordinary key events: zelkar-sim
// plays the recording to the same state hashes, tick for tick.
#include <gtest/gtest.h>

#include "events/script.h"
#include "headless/replay.h"
#include "pad_match.h"
#include "qt/hash_log.h"
#include "qt/recorder.h"
#include "virtual_pad.h"

namespace zelkar::pad {
namespace {

using test::PadMatch;
using test::VirtualPad;

TEST(PadReplay, ARecordedMatchWithPadInputReplaysWithIdenticalHashes) {
  QTemporaryDir files;
  const QString replayPath = files.filePath(QStringLiteral("pads.zrp"));
  const QString hashPath = files.filePath(QStringLiteral("pads.hashes"));
  {
    qt::Recorder recorder(replayPath);
    qt::HashLog log(hashPath);
    PadMatch m(&recorder, &log);
    VirtualPad left, right;
    const auto step = [&](int ticks) {  // the pads read, then ticks
      m.read();
      m.t.ticks(ticks);
    };
    step(5);
    // Both confirm; the left player drives down-right turning the gun, the
    // right one drives up and fires, then the left pad is pulled mid-drive.
    left.button(SDL_CONTROLLER_BUTTON_A, true);
    right.button(SDL_CONTROLLER_BUTTON_A, true);
    step(3);
    left.button(SDL_CONTROLLER_BUTTON_A, false);
    right.button(SDL_CONTROLLER_BUTTON_A, false);
    left.stick(25000, 25000);
    left.button(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, true);
    right.stick(0, -30000);
    step(20);
    right.button(SDL_CONTROLLER_BUTTON_A, true);
    left.button(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, false);
    step(15);
    right.button(SDL_CONTROLLER_BUTTON_A, false);
    right.stick(-30000, 2000);
    step(10);
    left.pull();
    step(30);
    EXPECT_GT(m.s().shellsLeft[test::kLeftPlayer], m.s().shellsLeft[test::kRightPlayer]);
  }
  const QByteArray script = qt::test::readAll(replayPath);
  const QByteArray hashText = qt::test::readAll(hashPath);
  const std::optional<std::vector<uint64_t>> recorded =
      sim::readHashLines(std::string_view(hashText.constData(), std::size_t(hashText.size())));
  ASSERT_TRUE(recorded.has_value());
  ASSERT_EQ(recorded->size(), 83u);  // 5 + 3 + 20 + 15 + 10 + 30 ticks
  const sim::HashRun headless =
      sim::replayHashes(std::string_view(script.constData(), std::size_t(script.size())));
  ASSERT_FALSE(headless.error);
  EXPECT_EQ(headless.hashes, *recorded) << script.constData();
  // The pads' keys are the players' own codes: A's 88 and the keypad's 98.
  EXPECT_TRUE(script.contains("88")) << script.constData();
  EXPECT_TRUE(script.contains("98")) << script.constData();
}

}  // namespace
}  // namespace zelkar::pad
