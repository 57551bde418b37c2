// What --replay reads: a regular file within the size limit, whose last
// line is whole; and a start-up that never waits on a pipe.
#include <gtest/gtest.h>

#include <QFile>

#include "events/script.h"
#include "qt/replayer.h"
#include "qt_test_support.h"

namespace zelkar::qt {
namespace {

using test::writeAll;

TEST(ReplayFiles, OnlyARegularFileWithinTheLimitIsRead) {
  // What is a regular file is readRegularFile's rule (RegularFileTest); here
  // the limit it is given and the path in what is said.
  QTemporaryDir dir;
  // At the limit it is read; one byte more is refused before parsing.
  const QByteArray head = "zelkar-replay 1\nseed 2\n";
  QByteArray atLimit = head + QByteArray(qsizetype(sim::kMaxScriptBytes) - head.size() - 1, '#');
  atLimit += '\n';
  const QString at = dir.filePath(QStringLiteral("at.zrp"));
  const QString over = dir.filePath(QStringLiteral("over.zrp"));
  writeAll(at, atLimit);
  writeAll(over, atLimit + "\n");
  const Replayer::Read whole = Replayer::fromFile(at, 0);
  ASSERT_TRUE(whole.replay) << qPrintable(whole.error);
  EXPECT_EQ(whole.replay->seed(), 2u);
  const QString said = Replayer::fromFile(over, 0).error;
  EXPECT_TRUE(said.contains(QStringLiteral("larger than 16777216")) && said.contains(over))
      << qPrintable(said);
}

TEST(ReplayFiles, ALastLineWithoutABreakWasCutAndIsRefused) {
  // With or without the format line: this is a replay either way.
  for (const char* text : {"zelkar-replay 1\nseed 1\nstart random\ndown 10",
                           "seed 1\nstart random\ndown 10", "zelkar-replay 1\ntick\r"}) {
    const Replayer::Read read = Replayer::fromText(text, QStringLiteral("cut.zrp"), 0);
    EXPECT_FALSE(read.replay) << text;
    EXPECT_TRUE(read.error.contains(QStringLiteral("cut.zrp"))) << qPrintable(read.error);
    EXPECT_TRUE(read.error.contains(QStringLiteral("no line break"))) << qPrintable(read.error);
  }
  const Replayer::Read cut =
      Replayer::fromText("zelkar-replay 1\nseed 1\ndown 10", QStringLiteral("c"), 0);
  EXPECT_TRUE(cut.error.contains(QStringLiteral("line 3"))) << qPrintable(cut.error);
  EXPECT_TRUE(Replayer::fromText("zelkar-replay 1\nseed 1\ndown 100\n", {}, 0).replay);
  EXPECT_TRUE(Replayer::fromText("", {}, 0).replay);  // nothing to cut
}

}  // namespace
}  // namespace zelkar::qt
