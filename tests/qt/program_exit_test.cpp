// The program as a process: how it ends without a display, on refused
// files and on signals, and what its files hold afterwards.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <csignal>
#include <string>
#include <vector>

#include "qt_test_support.h"

namespace zelkar::qt {
namespace {

using test::readAll;
using test::writeAll;

// One run of the program: its pid while it runs, then how it ended.
class Program {
 public:
  // `env` replaces the environment entirely; `binary` defaults to the built
  // program (a copy elsewhere has a folder of its own for config.txt).
  Program(const QStringList& args, const QStringList& env, const QString& stderrPath,
          const QString& binary = QStringLiteral(ZELKAR_PROGRAM_PATH)) {
    std::vector<std::string> argStore{binary.toStdString()}, envStore;
    for (const QString& a : args) argStore.push_back(a.toStdString());
    for (const QString& e : env) envStore.push_back(e.toStdString());
    std::vector<char*> argv, envp;
    for (auto& s : argStore) argv.push_back(s.data());
    for (auto& s : envStore) envp.push_back(s.data());
    argv.push_back(nullptr);
    envp.push_back(nullptr);
    const std::string err = stderrPath.toStdString();
    pid_ = ::fork();
    if (pid_ == 0) {
      if (FILE* f = std::freopen(err.c_str(), "w", stderr); f == nullptr) ::_exit(127);
      std::freopen("/dev/null", "w", stdout);
      ::execve(argv[0], argv.data(), envp.data());
      ::_exit(127);
    }
  }
  ~Program() {
    if (!done_ && pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, &status_, 0);
    }
  }
  pid_t pid() const { return pid_; }
  // Waits up to `ms`; false when it still runs.
  bool wait(int ms = 30000) {
    QElapsedTimer t;
    t.start();
    while (!done_ && t.elapsed() < ms) {
      if (::waitpid(pid_, &status_, WNOHANG) == pid_)
        done_ = true;
      else
        QTest::qWait(20);
    }
    return done_;
  }
  int exitCode() const { return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1; }
  int signal() const { return WIFSIGNALED(status_) ? WTERMSIG(status_) : 0; }

 private:
  pid_t pid_ = -1;
  int status_ = 0;
  bool done_ = false;
};

QStringList baseEnvironment() {
  QStringList env;
  for (const char* name : {"PATH", "HOME", "LANG", "XDG_RUNTIME_DIR", "FONTCONFIG_FILE"})
    if (qEnvironmentVariableIsSet(name))
      env << QString::fromLatin1(name) + u'=' + qEnvironmentVariable(name);
  return env;
}
QStringList offscreen() { return baseEnvironment() << QStringLiteral("QT_QPA_PLATFORM=offscreen"); }

bool waitFor(const std::function<bool()>& ready, int ms = 20000) {
  return QTest::qWaitFor(ready, ms);
}

class ProgramExit : public ::testing::Test {
 protected:
  QString at(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
  QString said() const { return QString::fromUtf8(readAll(at("stderr"))); }
  QTemporaryDir dir;
};

TEST_F(ProgramExit, WithoutADisplayOneLineAndStatusTwoAfterTheOptionsAndFilesAndNoFileCut) {
  writeAll(at("r.zrp"), "precious\n");
  {
    Program p({QStringLiteral("--record"), at("r.zrp")}, baseEnvironment(), at("stderr"));
    ASSERT_TRUE(p.wait());
    EXPECT_EQ(p.exitCode(), 2);
    EXPECT_EQ(said().count(u'\n'), 1) << qPrintable(said());
    EXPECT_TRUE(said().contains(QStringLiteral("no display"))) << qPrintable(said());
  }
  {
    // A bad option is told first, as the mistake to fix, with no byte of
    // it that acts on the terminal.
    Program p({QStringLiteral("--seed"), QString::fromLatin1("+5\x1B[2J\x07")}, baseEnvironment(),
              at("stderr"));
    ASSERT_TRUE(p.wait());
    EXPECT_EQ(p.exitCode(), 2);
    EXPECT_TRUE(said().startsWith(QStringLiteral("zelkar: --seed"))) << qPrintable(said());
    EXPECT_FALSE(said().contains(QStringLiteral("no display:")));
    const QByteArray bytes = readAll(at("stderr"));
    EXPECT_TRUE(bytes.contains("+5\\x1B[2J\\x07")) << bytes.constData();
    EXPECT_FALSE(bytes.contains('\x1B') || bytes.contains('\x07'));
    // Then the usage, online play and the computer player included.
    EXPECT_TRUE(said().contains(QStringLiteral("[--cpu-level N]"))) << qPrintable(said());
    EXPECT_TRUE(said().contains(QStringLiteral("--input-delay N")));
  }
  {
    // A display that is named but cannot be reached: the same, not an abort.
    Program p({QStringLiteral("--record"), at("r.zrp")},
              baseEnvironment() << QStringLiteral("DISPLAY=:4093")
                                << QStringLiteral("QT_QPA_PLATFORM=xcb"),
              at("stderr"));
    ASSERT_TRUE(p.wait());
    EXPECT_EQ(p.signal(), 0) << qPrintable(said());
    EXPECT_EQ(p.exitCode(), 2);
    EXPECT_TRUE(said().startsWith(QStringLiteral("zelkar: cannot open the display")))
        << qPrintable(said());
    EXPECT_EQ(said().count(u'\n'), 1) << qPrintable(said());
  }
  {
    // A replay that cannot be read: refused before anything is played or
    // written, and before the display is looked for.
    writeAll(at("broken.zrp"), "zelkar-replay 1\nseed 1\nstart sideways\n");
    Program p({QStringLiteral("--replay"), at("broken.zrp"), QStringLiteral("--hashes"), at("h")},
              baseEnvironment(), at("stderr"));
    ASSERT_TRUE(p.wait());
    EXPECT_EQ(p.exitCode(), 2);
    EXPECT_TRUE(said().contains(QStringLiteral("line 3: start: expected"))) << qPrintable(said());
    EXPECT_FALSE(QFile::exists(at("h")));
  }
  EXPECT_EQ(readAll(at("r.zrp")), QByteArray("precious\n"));
}

TEST_F(ProgramExit, RefusedOutputsEndTheStartWithStatusTwoAndLeaveTheFilesAlone) {
  writeAll(at("r.zrp"), "precious\n");
  ASSERT_EQ(::symlink(qPrintable(at("r.zrp")), qPrintable(at("link"))), 0);
  const QStringList cases[] = {
      {QStringLiteral("--record"), at("r.zrp"), QStringLiteral("--hashes"), at("link")},
      {QStringLiteral("--replay"), at("r.zrp"), QStringLiteral("--hashes"), at("r.zrp")},
      {QStringLiteral("--record"), at("r.zrp"), QStringLiteral("--hashes"), at("no/such/h")},
      {QStringLiteral("--record"), QStringLiteral("/dev/full"), QStringLiteral("--hashes"),
       at("h.txt")},
  };
  for (const QStringList& args : cases) {
    Program p(args, offscreen(), at("stderr"));
    ASSERT_TRUE(p.wait()) << qPrintable(args.join(u' '));
    EXPECT_EQ(p.exitCode(), 2) << qPrintable(args.join(u' ')) << qPrintable(said());
    EXPECT_FALSE(said().isEmpty()) << qPrintable(args.join(u' '));
  }
  EXPECT_EQ(readAll(at("r.zrp")), QByteArray("precious\n"));
  EXPECT_FALSE(QFile::exists(at("h.txt")));
}

// Every line of a hash list is "TICK HASH", the ticks counting from 1.
void expectWholeHashLines(const QByteArray& text, int atLeast) {
  ASSERT_TRUE(text.endsWith('\n'));
  const QList<QByteArray> lines = text.left(text.size() - 1).split('\n');
  EXPECT_GE(lines.size(), atLeast);
  static const QRegularExpression line(QStringLiteral("^(\\d+) [0-9a-f]{16}$"));
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const auto m = line.match(QString::fromLatin1(lines[i]));
    ASSERT_TRUE(m.hasMatch()) << lines[i].constData();
    EXPECT_EQ(m.captured(1).toLongLong(), i + 1);
  }
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
    ::kill(p.pid(), signal);
    ASSERT_TRUE(p.wait());
    EXPECT_EQ(p.signal(), signal) << "exit " << p.exitCode() << qPrintable(said());
    expectWholeHashLines(readAll(at("h.txt")), 100);
  }
}

TEST_F(ProgramExit, ASignalEndsTheFirstStartAndTheStartScreenWithTheRecordingKept) {
  // A copy of its own, so that config.txt is missing beside it: the
  // settings window opens first and waits for a save.
  const QString binary = at("zelkar");
  ASSERT_TRUE(QFile::copy(QStringLiteral(ZELKAR_PROGRAM_PATH), binary));
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
      ::kill(p.pid(), signal);
      ASSERT_TRUE(p.wait()) << "the program ran on after signal " << signal;
      EXPECT_EQ(p.signal(), signal) << qPrintable(said());
      const QByteArray expected = "zelkar-replay 1\nseed 77\n" +
                                  QByteArray(firstStart ? "" : "config 1 10 0\n") +
                                  "# ended by signal " + QByteArray::number(signal) + "\n";
      EXPECT_EQ(readAll(at("r.zrp")).toStdString(), expected.toStdString()) << firstStart;
    }
  }
}

TEST_F(ProgramExit, PipesInPlaceOfTheSettingsAndSoundsDoNotHoldUpTheStart) {
  const QString binary = at("zelkar");
  ASSERT_TRUE(QFile::copy(QStringLiteral(ZELKAR_PROGRAM_PATH), binary));
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
  ::kill(p.pid(), SIGTERM);
  ASSERT_TRUE(p.wait());
  EXPECT_EQ(p.signal(), SIGTERM);
}

// A config.txt that is there but cannot be read (binary, a folder) is said
// on standard error, once with its path and with no byte of it that acts on
// the terminal, before the first-start window opens over it.
TEST_F(ProgramExit, AnUnreadableConfigIsSaidBeforeTheFirstStartWindow) {
  const QString binary = at("zelkar");
  ASSERT_TRUE(QFile::copy(QStringLiteral(ZELKAR_PROGRAM_PATH), binary));
  const QString config = at("config.txt");
  for (const bool folder : {false, true}) {
    if (folder)
      ASSERT_TRUE(QFile::remove(config) && QDir().mkdir(config));
    else
      writeAll(config, QByteArray("\x1B[2J\x07\x01\x02"));
    Program p({}, offscreen(), at("stderr"), binary);
    EXPECT_TRUE(waitFor([&] { return said().contains(QStringLiteral("zelkar: ") + config); }))
        << folder << qPrintable(said());
    EXPECT_EQ(said().count(config), 1) << qPrintable(said());
    EXPECT_FALSE(readAll(at("stderr")).contains('\x1B'));
    ::kill(p.pid(), SIGTERM);
    ASSERT_TRUE(p.wait());
  }
}

}  // namespace
}  // namespace zelkar::qt
