#include "qt/signal_close.h"

#include <gtest/gtest.h>

#include <QTest>
#include <csignal>

namespace zelkar::qt {
namespace {

// Without the handler the signal would end this test program on the spot.
TEST(SignalClose, ATermSignalBecomesAnOrdinaryCloseInTheEventLoop) {
  int closes = 0;
  SignalClose close([&](int) { ++closes; });
  ASSERT_TRUE(close.active());
  std::raise(SIGTERM);
  EXPECT_EQ(closes, 0);  // nothing runs inside the signal handler
  EXPECT_TRUE(QTest::qWaitFor([&] { return closes == 1; }));
  std::raise(SIGINT);
  std::raise(SIGHUP);
  EXPECT_TRUE(QTest::qWaitFor([&] { return closes >= 2; }));
}

}  // namespace
}  // namespace zelkar::qt
