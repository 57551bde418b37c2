// The program as a process: how it ends without a display, on refused
// files and on signals, what its files hold afterwards, and how it starts
// on a hostile machine.
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <csignal>

#include "headless/replay.h"
#include "program_run.h"
#include "qt/signal_close.h"
#include "qt_test_support.h"

namespace zelkar::qt {
namespace {

using test::offscreen;
using test::Program;
using test::readAll;
using test::writeAll;

bool waitFor(const std::function<bool()>& ready, int ms = 20000) {
  return QTest::qWaitFor(ready, ms);
}

class ProgramExit : public ::testing::Test {
 protected:
  QString at(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
  QString said() const { return QString::fromUtf8(readAll(at("stderr"))); }
  // The exit status of a run to its end (-1 for a signal).
  int statusOf(const QStringList& args, const QStringList& env) {
    Program p(args, env, at("stderr"));
    return p.wait() ? p.exitCode() : -2;
  }
  // A copy of the program of its own, so that config.txt is the folder's.
  // The program with its sound module beside it, as the build leaves them.
  QString ownCopy() {
    const QString binary = at("zelkar");
    EXPECT_TRUE(QFile::copy(QStringLiteral(ZELKAR_PROGRAM_PATH), binary));
    EXPECT_TRUE(
        QFile::copy(QStringLiteral(ZELKAR_SOUND_DIR "/zelkar-sound.so"), at("zelkar-sound.so")));
    return binary;
  }
  QTemporaryDir dir;
};

TEST_F(ProgramExit, WithoutADisplayOneLineAndStatusTwoAfterTheOptionsAndFilesAndNoFileCut) {
  writeAll(at("r.zrp"), "precious\n");
  const QStringList record{QStringLiteral("--record"), at("r.zrp")};
  EXPECT_EQ(statusOf(record, test::baseEnvironment()), 2);
  EXPECT_EQ(said().count(u'\n'), 1) << qPrintable(said());
  EXPECT_TRUE(said().contains(QStringLiteral("no display"))) << qPrintable(said());

  // A bad option is told first, as the mistake to fix, with no byte of it
  // that acts on the terminal; then the usage, online play and the
  // computer player included.
  EXPECT_EQ(statusOf({QStringLiteral("--seed"), QString::fromLatin1("+5\x1B[2J\x07")},
                     test::baseEnvironment()),
            2);
  EXPECT_TRUE(said().startsWith(QStringLiteral("zelkar: --seed"))) << qPrintable(said());
  EXPECT_FALSE(said().contains(QStringLiteral("no display:")));
  const QByteArray bytes = readAll(at("stderr"));
  EXPECT_TRUE(bytes.contains("+5\\x1B[2J\\x07")) << bytes.constData();
  EXPECT_FALSE(bytes.contains('\x1B') || bytes.contains('\x07'));
  EXPECT_TRUE(said().contains(QStringLiteral("[--cpu-level N]"))) << qPrintable(said());
  EXPECT_TRUE(said().contains(QStringLiteral("--input-delay N")));

  // A display that is named but cannot be reached: the same, not an abort.
  EXPECT_EQ(statusOf(record, test::baseEnvironment() << QStringLiteral("DISPLAY=:4093")
                                                     << QStringLiteral("QT_QPA_PLATFORM=xcb")),
            2)
      << qPrintable(said());
  EXPECT_TRUE(said().startsWith(QStringLiteral("zelkar: cannot open the display")))
      << qPrintable(said());
  EXPECT_EQ(said().count(u'\n'), 1) << qPrintable(said());

  // A replay that cannot be read: refused before anything is played or
  // written, and before the display is looked for.
  writeAll(at("broken.zrp"), "zelkar-replay 1\nseed 1\nstart sideways\n");
  EXPECT_EQ(
      statusOf({QStringLiteral("--replay"), at("broken.zrp"), QStringLiteral("--hashes"), at("h")},
               test::baseEnvironment()),
      2);
  EXPECT_TRUE(said().contains(QStringLiteral("line 3: start: expected"))) << qPrintable(said());
  EXPECT_FALSE(QFile::exists(at("h")));
  EXPECT_EQ(readAll(at("r.zrp")), QByteArray("precious\n"));
}

TEST_F(ProgramExit, RefusedOutputsEndTheStartWithStatusTwoAndLeaveTheFilesAlone) {
  writeAll(at("r.zrp"), "precious\n");
  ASSERT_EQ(::symlink(qPrintable(at("r.zrp")), qPrintable(at("link"))), 0);
  const QString record = QStringLiteral("--record"), hashes = QStringLiteral("--hashes");
  const QStringList cases[] = {
      {record, at("r.zrp"), hashes, at("link")},
      {QStringLiteral("--replay"), at("r.zrp"), hashes, at("r.zrp")},
      {record, at("r.zrp"), hashes, at("no/such/h")},
      {record, QStringLiteral("/dev/full"), hashes, at("h.txt")},
  };
  for (const QStringList& args : cases) {
    EXPECT_EQ(statusOf(args, offscreen()), 2) << qPrintable(args.join(u' ')) << qPrintable(said());
    EXPECT_FALSE(said().isEmpty()) << qPrintable(args.join(u' '));
  }
  EXPECT_EQ(readAll(at("r.zrp")), QByteArray("precious\n"));
  EXPECT_FALSE(QFile::exists(at("h.txt")));
}

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

TEST_F(ProgramExit, ASignalDuringAMatchEndsItAsThatSignalWithTheHashListWhole) {
  const QString replay = at("fight.zrp");
  QByteArray text = "zelkar-replay 1\nseed 3\nconfig 1 10 0\nstart given 3\ntick\ndown 68\n";
  for (int i = 0; i < 200; ++i) text += "tick 50\ndown 68\n";
  writeAll(replay, text);
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
    QFile::remove(at("h.txt"));
    Program p({QStringLiteral("--replay"), replay, QStringLiteral("--hashes"), at("h.txt")},
              offscreen(), at("stderr"));
    // Past the first flush of the hash list, well inside the match.
    ASSERT_TRUE(waitFor([&] { return readAll(at("h.txt")).count('\n') >= 100; }))
        << qPrintable(said());
    EXPECT_EQ(p.endBy(signal), signal) << "exit " << p.exitCode() << qPrintable(said());
    // Every line of the hash list whole: "TICK HASH", the ticks counting from 1.
    const QByteArray hashes = readAll(at("h.txt"));
    EXPECT_TRUE(hashes.endsWith('\n'));
    const auto read = sim::readHashLines(std::string_view(hashes.constData(), hashes.size()));
    ASSERT_TRUE(read) << hashes.right(200).constData();
    EXPECT_GE(read->size(), 100u);
  }
}

TEST_F(ProgramExit, ASignalEndsTheFirstStartAndTheStartScreenWithTheRecordingKept) {
  // A copy of its own, so that config.txt is missing beside it: the
  // settings window opens first and waits for a save.
  const QString binary = ownCopy();
  for (const bool firstStart : {true, false}) {
    if (!firstStart) writeAll(at("config.txt"), " 1 \r\n10\r\n 0 \r\n");
    for (const int signal : {SIGTERM, SIGINT}) {
      QFile::remove(at("r.zrp"));  // the seed line below must be this run's
      Program p(
          {QStringLiteral("--record"), at("r.zrp"), QStringLiteral("--seed"), QStringLiteral("77")},
          offscreen(), at("stderr"), binary);
      // The seed line is written as the window loads; then load waits in
      // the settings window, or the start screen waits for a player.
      ASSERT_TRUE(waitFor([&] { return readAll(at("r.zrp")).contains("seed 77\n"); }));
      QTest::qWait(300);
      EXPECT_EQ(p.endBy(signal), signal) << qPrintable(said());
      const QByteArray expected = "zelkar-replay 1\nseed 77\n" +
                                  QByteArray(firstStart ? "" : "config 1 10 0\n") +
                                  "# ended by signal " + QByteArray::number(signal) + "\n";
      EXPECT_EQ(readAll(at("r.zrp")).toStdString(), expected.toStdString()) << firstStart;
    }
  }
}

TEST_F(ProgramExit, PipesInPlaceOfTheSettingsAndSoundsDoNotHoldUpTheStart) {
  const QString binary = ownCopy();
  for (const char* name : {"config.txt", "fire.WAV", "ban.WAV", "ban2.WAV", "crash.WAV"})
    ASSERT_EQ(::mkfifo(qPrintable(at(name)), 0600), 0);
  Program p({QStringLiteral("--record"), at("r.zrp")}, offscreen(), at("stderr"), binary);
  // Load is reached (its seed line written) although nothing ever writes
  // to the pipes; the settings window then waits, as for a missing file.
  EXPECT_TRUE(waitFor([&] { return readAll(at("r.zrp")).contains("seed "); }))
      << qPrintable(said());
  // The sounds are opened once that window is out, and the pipe refused.
  EXPECT_TRUE(waitFor([&] {
    return said().contains(QStringLiteral("fire.WAV is not a regular file"));
  })) << qPrintable(said());
  EXPECT_EQ(p.endBy(SIGTERM), SIGTERM);
}

// A config.txt that is there but cannot be read (binary, a folder) is said
// on standard error, once with its path and with no byte of it that acts on
// the terminal, before the first-start window opens over it.
TEST_F(ProgramExit, AnUnreadableConfigIsSaidBeforeTheFirstStartWindow) {
  const QString binary = ownCopy();
  const QString config = at("config.txt");
  for (const bool folder : {false, true}) {
    if (folder)
      ASSERT_TRUE(QFile::remove(config) && QDir().mkdir(config));
    else
      writeAll(config, QByteArray("\x1B[2J\x07\x01\x02"));
    // The child empties the file only once it runs: the first pass's words
    // must not satisfy the second pass's wait.
    QFile::remove(at("stderr"));
    Program p({}, offscreen(), at("stderr"), binary);
    EXPECT_TRUE(waitFor([&] { return said().contains(QStringLiteral("zelkar: ") + config); }))
        << folder << qPrintable(said());
    EXPECT_EQ(said().count(config), 1) << qPrintable(said());
    EXPECT_FALSE(readAll(at("stderr")).contains('\x1B'));
    EXPECT_EQ(p.endBy(SIGTERM), SIGTERM);
  }
}

// Without a Japanese font the game still starts, with one warning.
TEST_F(ProgramExit, WithoutAJapaneseFontAReplayPlaysWithOneWarning) {
  QDir(dir.path()).mkdir(QStringLiteral("none"));  // a fontconfig that knows no font at all
  writeAll(at("fonts.conf"), "<?xml version=\"1.0\"?><fontconfig><dir>" + at("none").toUtf8() +
                                 "</dir><cachedir>" + at("cache").toUtf8() +
                                 "</cachedir></fontconfig>\n");
  writeAll(at("short.zrp"), "zelkar-replay 1\nseed 1\nconfig 1 10 0\nstart given 3\ntick 20\n");
  const QStringList env = offscreen().filter(QRegularExpression(QStringLiteral("^(?!FONTCONFIG)")));
  Program p({QStringLiteral("--replay"), at("short.zrp")},
            env + QStringList{QStringLiteral("FONTCONFIG_FILE=") + at("fonts.conf")}, at("stderr"));
  // The replay plays a match and says when it has ended; then the game idles.
  EXPECT_TRUE(waitFor([&] { return said().contains(QStringLiteral("ended")); }))
      << qPrintable(said());
  EXPECT_EQ(said().count(QStringLiteral("no Japanese font")), 1) << qPrintable(said());
}

}  // namespace
}  // namespace zelkar::qt
