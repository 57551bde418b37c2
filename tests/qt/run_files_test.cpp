// The files of a run: no two of them one file, all outputs opened or none,
// and a failure while writing kept for the exit status.
#include "qt/run_files.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "qt_test_support.h"

namespace zelkar::qt {
namespace {

using test::readAll;
using test::writeAll;

class RunFilesTest : public ::testing::Test {
 protected:
  QString at(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
  CommandLine options(const char* record, const char* hashes, const char* replay = nullptr) {
    CommandLine o;
    if (record) o.recordPath = at(record);
    if (hashes) o.hashesPath = at(hashes);
    if (replay) o.replayPath = at(replay);
    return o;
  }
  QTemporaryDir dir;
};

TEST_F(RunFilesTest, OneFileUnderTwoNamesIsFoundThroughLinksAndDots) {
  writeAll(at("a"), "x");
  writeAll(at("b"), "x");
  QDir(dir.path()).mkdir(QStringLiteral("sub"));
  ASSERT_EQ(::symlink(qPrintable(at("a")), qPrintable(at("soft"))), 0);
  ASSERT_EQ(::link(qPrintable(at("a")), qPrintable(at("hard"))), 0);
  ASSERT_EQ(::symlink(qPrintable(dir.path()), qPrintable(at("folder"))), 0);

  EXPECT_TRUE(sameFile(at("a"), at("a")));
  EXPECT_TRUE(sameFile(at("a"), at("sub/../a")));
  EXPECT_TRUE(sameFile(at("soft"), at("a")));
  EXPECT_TRUE(sameFile(at("a"), at("hard")));
  EXPECT_FALSE(sameFile(at("a"), at("b")));
  // Files not made yet: the same place through a linked folder, or not.
  EXPECT_TRUE(sameFile(at("new"), at("folder/new")));
  EXPECT_TRUE(sameFile(at("new"), at("sub/../new")));
  EXPECT_FALSE(sameFile(at("new"), at("sub/new")));
  EXPECT_FALSE(sameFile(at("new"), at("a")));
  // A relative name is the same file as its absolute one.
  const QString oldCwd = QDir::currentPath();
  QDir::setCurrent(dir.path());
  EXPECT_TRUE(sameFile(QStringLiteral("a"), at("a")));
  EXPECT_TRUE(sameFile(QStringLiteral("./new"), at("new")));
  QDir::setCurrent(oldCwd);
  // A device takes any number of outputs.
  EXPECT_FALSE(sameFile(QStringLiteral("/dev/null"), QStringLiteral("/dev/null")));
}

TEST_F(RunFilesTest, AnOutputThatCannotBeWrittenLeavesTheOtherUntouched) {
  writeAll(at("old.zrp"), "zelkar-replay 1\nseed 4\ntick\n");
  const QByteArray before = readAll(at("old.zrp"));
  // In either order: a failing hash list, then a failing recording.
  RunFiles files = openRunFiles(options("old.zrp", "missing/h.txt"));
  EXPECT_FALSE(files.ok());
  EXPECT_EQ(readAll(at("old.zrp")), before);
  files = openRunFiles(options("missing/r.zrp", "old.zrp"));
  EXPECT_FALSE(files.ok());
  EXPECT_EQ(readAll(at("old.zrp")), before);
  // A file that did not exist is not left behind, empty.
  files = openRunFiles(options("new.zrp", "missing/h.txt"));
  EXPECT_FALSE(files.ok());
  EXPECT_FALSE(QFile::exists(at("new.zrp")));
  // Both failures are told, each with its path, not only the first.
  files = openRunFiles(options("missing/r.zrp", "missing/h.txt"));
  ASSERT_EQ(files.errors.size(), 2);
  EXPECT_TRUE(files.errors[0].contains(at("missing/r.zrp"))) << qPrintable(files.errors[0]);
  EXPECT_TRUE(files.errors[1].contains(at("missing/h.txt"))) << qPrintable(files.errors[1]);
}

TEST_F(RunFilesTest, AllOutputsOpenAndBeginWhenAllCanBeWritten) {
  writeAll(at("r.zrp"), "old text that must go\n");
  RunFiles files = openRunFiles(options("r.zrp", "h.txt"));
  ASSERT_TRUE(files.ok()) << qPrintable(files.errors.join(u'\n'));
  ASSERT_TRUE(files.recorder && files.hashes);
  EXPECT_TRUE(files.finishOutputs());
  EXPECT_EQ(readAll(at("r.zrp")), QByteArray("zelkar-replay 1\n"));
  EXPECT_EQ(readAll(at("h.txt")), QByteArray());
}

TEST_F(RunFilesTest, AWriteThatFailsLaterIsKeptForTheExitStatus) {
  RunFiles files = openRunFiles(options("r.zrp", nullptr));
  ASSERT_TRUE(files.ok());
  bool finished = true;
  test::withFileSizeLimit(40, [&] {
    for (int i = 0; i < 10; ++i) files.recorder->comment("a line of more than forty bytes, surely");
    finished = files.finishOutputs();
  });
  EXPECT_TRUE(files.recorder->failed());
  EXPECT_FALSE(finished);
  EXPECT_FALSE(files.finishOutputs());  // and stays so
}

}  // namespace
}  // namespace zelkar::qt
