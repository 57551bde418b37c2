#include "qt/config_location.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include "qt_test_support.h"

namespace zelkar::qt {
namespace {

using test::readAll;
using test::writeAll;

TEST(ConfigLocation, ProgramFolderWhenWritableElseUserConfig) {
  QTemporaryDir scratch;
  const QString program = scratch.filePath(QStringLiteral("bin"));
  QDir().mkpath(program);

  EXPECT_EQ(
      ConfigLocation::choose(program, QStringLiteral("/xdg"), QStringLiteral("/home/u")).savePath(),
      program + QStringLiteral("/config.txt"));

  const QString locked = test::unwritableFolder(scratch);
  EXPECT_EQ(
      ConfigLocation::choose(locked, QStringLiteral("/xdg"), QStringLiteral("/home/u")).savePath(),
      QStringLiteral("/xdg/zelkar/config.txt"));
  // An unset or relative XDG_CONFIG_HOME means ~/.config.
  EXPECT_EQ(ConfigLocation::choose(locked, QString(), QStringLiteral("/home/u")).savePath(),
            QStringLiteral("/home/u/.config/zelkar/config.txt"));
  EXPECT_EQ(ConfigLocation::choose(locked, QStringLiteral("rel/dir"), QStringLiteral("/home/u"))
                .savePath(),
            QStringLiteral("/home/u/.config/zelkar/config.txt"));
  // A missing program folder cannot be written either.
  EXPECT_EQ(ConfigLocation::choose(scratch.filePath(QStringLiteral("gone")), QStringLiteral("/xdg"),
                                   QStringLiteral("/h"))
                .savePath(),
            QStringLiteral("/xdg/zelkar/config.txt"));
}

TEST(ConfigLocation, ReadingPrefersTheChosenFileThenTheProgramsOwn) {
  QTemporaryDir scratch;
  const QString chosen = scratch.filePath(QStringLiteral("user/config.txt"));
  const QString shipped = scratch.filePath(QStringLiteral("config.txt"));
  const ConfigLocation where(chosen, shipped);

  EXPECT_EQ(where.readPath(), chosen);  // neither exists: the error names the chosen one
  writeAll(shipped, " 0 \r\n20\r\n 1 \r\n");
  EXPECT_EQ(where.readPath(), shipped);
  ASSERT_TRUE(where.read().ok());
  EXPECT_EQ(where.read().values->tickInterval, 20);

  QDir().mkpath(QFileInfo(chosen).absolutePath());
  writeAll(chosen, " 1 \r\n30\r\n 0 \r\n");
  EXPECT_EQ(where.readPath(), chosen);
  EXPECT_EQ(where.read().values->tickInterval, 30);
}

TEST(SaveAtomically, WritesTheBytesAndMakesTheFolder) {
  QTemporaryDir scratch;
  const QString path = scratch.filePath(QStringLiteral("a/b/config.txt"));
  EXPECT_EQ(saveAtomically(path, " 1 \r\n10\r\n 0 \r\n"), QString());
  EXPECT_EQ(readAll(path), QByteArray(" 1 \r\n10\r\n 0 \r\n"));
}

TEST(SaveAtomically, AnInterruptedSaveLeavesTheOldFileWhole) {
  QTemporaryDir scratch;
  const QString path = scratch.filePath(QStringLiteral("config.txt"));
  writeAll(path, " 1 \r\n25\r\n 1 \r\n");
  const QString reason = saveAtomically(path, " 0 \r\n99\r\n 0 \r\n", [] { return false; });
  EXPECT_FALSE(reason.isEmpty());
  EXPECT_EQ(readAll(path), QByteArray(" 1 \r\n25\r\n 1 \r\n"));
  // No half-written temporary file is left beside it either.
  EXPECT_EQ(QDir(scratch.path()).entryList(QDir::Files | QDir::Hidden),
            QStringList{QStringLiteral("config.txt")});
}

TEST(SaveAtomically, AFailureIsReportedNotTakenForSuccess) {
  QTemporaryDir scratch;
  writeAll(scratch.filePath(QStringLiteral("file")), "x");
  // The folder cannot be made: its parent is a plain file.
  EXPECT_FALSE(
      saveAtomically(scratch.filePath(QStringLiteral("file/sub/config.txt")), "y").isEmpty());
  EXPECT_FALSE(saveAtomically(test::unwritableFolder(scratch) + QStringLiteral("/config.txt"), "y")
                   .isEmpty());
}

}  // namespace
}  // namespace zelkar::qt
