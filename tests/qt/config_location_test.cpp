#include "qt/config_location.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "qt_test_support.h"

namespace zelkar::qt {
namespace {

using test::readAll;
using test::writeAll;

// Where a save goes; null for an unset variable.
QString savePathFor(const QString& program, const char* xdg, const char* home) {
  return ConfigLocation::choose(program, QString::fromUtf8(xdg), QString::fromUtf8(home))
      .savePath();
}

TEST(ConfigLocation, ProgramFolderWhenWritableElseUserConfig) {
  QTemporaryDir scratch;
  const QString program = scratch.filePath(QStringLiteral("bin"));
  QDir().mkpath(program);
  EXPECT_EQ(savePathFor(program, "/xdg", "/home/u"), program + QStringLiteral("/config.txt"));

  const QString locked = test::unwritableFolder(scratch);
  EXPECT_EQ(savePathFor(locked, "/xdg", "/home/u"), QStringLiteral("/xdg/zelkar/config.txt"));
  // An unset or relative XDG_CONFIG_HOME means ~/.config.
  EXPECT_EQ(savePathFor(locked, nullptr, "/home/u"),
            QStringLiteral("/home/u/.config/zelkar/config.txt"));
  EXPECT_EQ(savePathFor(locked, "rel/dir", "/home/u"),
            QStringLiteral("/home/u/.config/zelkar/config.txt"));
  // A missing program folder cannot be written either.
  EXPECT_EQ(savePathFor(scratch.filePath(QStringLiteral("gone")), "/xdg", "/h"),
            QStringLiteral("/xdg/zelkar/config.txt"));
  // HOME unset: Qt's home is "/", which must not make "//.config"; nor may
  // a trailing slash double one.
  EXPECT_EQ(savePathFor(locked, nullptr, "/"), QStringLiteral("/.config/zelkar/config.txt"));
  EXPECT_EQ(savePathFor(locked, nullptr, "/home/u/"),
            QStringLiteral("/home/u/.config/zelkar/config.txt"));
  EXPECT_EQ(savePathFor(locked, "/xdg/", nullptr), QStringLiteral("/xdg/zelkar/config.txt"));
}

TEST(ConfigLocation, WithoutHomeTheAccountsHomeFolderIsUsed) {
  const QByteArray saved = qgetenv("HOME");
  const bool wasSet = qEnvironmentVariableIsSet("HOME");
  qunsetenv("HOME");
  const QString unset = homeFolder();
  qputenv("HOME", "relative/dir");
  const QString relative = homeFolder();
  qputenv("HOME", "/some/where");
  const QString set = homeFolder();
  if (wasSet)
    qputenv("HOME", saved);
  else
    qunsetenv("HOME");
  EXPECT_TRUE(unset.startsWith(u'/')) << qPrintable(unset);
  EXPECT_FALSE(unset.startsWith(QStringLiteral("//")));
  EXPECT_EQ(relative, unset);
  EXPECT_EQ(set, QStringLiteral("/some/where"));
}

TEST(ConfigLocation, AnOldSavesTemporaryFilesAreRemovedYoungOnesAndOthersKept) {
  QTemporaryDir scratch;
  const QString path = scratch.filePath(QStringLiteral("config.txt"));
  writeAll(path, " 1 \r\n10\r\n 0 \r\n");
  const auto make = [&](const char* name, int ageSeconds) {
    const QString f = scratch.filePath(QString::fromUtf8(name));
    writeAll(f, "x");
    QFile file(f);
    file.open(QIODevice::ReadWrite);
    file.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-ageSeconds),
                     QFileDevice::FileModificationTime);
  };
  make("config.txt.aB3xYz", 3600);          // left by a killed save
  make(".zelkar-write-test-Q1w2E3", 3600);  // left by a killed folder test
  make("config.txt.Fresh1", 0);             // another copy saving now
  make("config.txt.toolong7", 3600);        // not a name the save makes
  make("config.txt.bak", 3600);
  make("other.txt.aB3xYz", 3600);
  EXPECT_EQ(removeStaleSaves(path), 2);
  QStringList left = QDir(scratch.path()).entryList(QDir::Files | QDir::Hidden);
  left.sort();
  EXPECT_EQ(left,
            (QStringList{QStringLiteral("config.txt"), QStringLiteral("config.txt.Fresh1"),
                         QStringLiteral("config.txt.bak"), QStringLiteral("config.txt.toolong7"),
                         QStringLiteral("other.txt.aB3xYz")}));
  // A folder that does not exist yet has nothing to clean.
  EXPECT_EQ(removeStaleSaves(scratch.filePath(QStringLiteral("none/config.txt"))), 0);
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
