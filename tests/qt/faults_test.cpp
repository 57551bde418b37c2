// The program against a hostile machine: a disk that fills during a save,
// and a system without a Japanese font.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include "qt/config_location.h"
#include "qt_test_support.h"

namespace zelkar::qt {
namespace {

using test::readAll;
using test::writeAll;

TEST(Faults, AFullDiskLeavesTheOldSettingsWhole) {
  QTemporaryDir scratch;
  const QString path = scratch.filePath(QStringLiteral("config.txt"));
  writeAll(path, " 1 \r\n25\r\n 1 \r\n");
  // The save's write fails part-way, as it would on a full disk.
  QString reason;
  test::withFileSizeLimit(4, [&] { reason = saveAtomically(path, " 0 \r\n99\r\n 0 \r\n"); });
  EXPECT_FALSE(reason.isEmpty());
  EXPECT_EQ(readAll(path), QByteArray(" 1 \r\n25\r\n 1 \r\n"));
  EXPECT_EQ(QDir(scratch.path()).entryList(QDir::Files | QDir::Hidden),
            QStringList{QStringLiteral("config.txt")});
}

TEST(Faults, WithoutAJapaneseFontTheGameStillStartsWithOneWarning) {
  QTemporaryDir dir;
  // A fontconfig that knows no font at all.
  const QString fonts = dir.filePath(QStringLiteral("fonts.conf"));
  QDir(dir.path()).mkdir(QStringLiteral("none"));
  writeAll(fonts, QByteArray("<?xml version=\"1.0\"?><fontconfig><dir>") +
                      dir.filePath(QStringLiteral("none")).toUtf8() + "</dir><cachedir>" +
                      dir.filePath(QStringLiteral("cache")).toUtf8() +
                      "</cachedir></fontconfig>\n");
  const QString replay = dir.filePath(QStringLiteral("short.zrp"));
  writeAll(replay, "zelkar-replay 1\nseed 1\nconfig 1 10 0\nstart given 3\ntick 20\n");
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  env.insert(QStringLiteral("FONTCONFIG_FILE"), fonts);
  QProcess program;
  program.setProcessEnvironment(env);
  program.start(QStringLiteral(ZELKAR_PROGRAM_PATH), {QStringLiteral("--replay"), replay});
  ASSERT_TRUE(program.waitForStarted(10000));
  // The replay plays a match and says when it has ended; then the game idles.
  QString said;
  for (int waited = 0; waited < 200 && !said.contains(QStringLiteral("ended")); ++waited) {
    program.waitForReadyRead(100);
    said += QString::fromLocal8Bit(program.readAllStandardError());
  }
  program.kill();
  program.waitForFinished(5000);
  EXPECT_TRUE(said.contains(QStringLiteral("ended"))) << qPrintable(said);
  EXPECT_EQ(said.count(QStringLiteral("no Japanese font")), 1) << qPrintable(said);
}

}  // namespace
}  // namespace zelkar::qt
