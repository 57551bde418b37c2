// Two real window programs, offscreen, that meet through a real meeting
// point on 127.0.0.1 by the code the host prints and greet each other on
// the link the connect window brought up (offscreen no one can press the
// host's start, so the match itself is left to the in-process tests).
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "meet_point.h"
#include "qt_test_support.h"

namespace zelkar::qt {
namespace {

// One program in a folder of its own, with the settings already saved so
// that no first-start window waits for a click.
class Window {
 public:
  Window(const QTemporaryDir& dir, const QString& name, const QStringList& args) {
    folder_ = dir.filePath(name);
    QDir().mkpath(folder_);
    const QString binary = folder_ + QStringLiteral("/zelkar");
    QFile::copy(QStringLiteral(ZELKAR_PROGRAM_PATH), binary);
    test::writeAll(folder_ + QStringLiteral("/config.txt"), test::kInitialSettings);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("ZELKAR_NO_PADS"), QStringLiteral("1"));
    process_.setProcessEnvironment(env);
    process_.start(binary, args + QStringList{QStringLiteral("--record"), record()});
  }
  ~Window() {
    process_.kill();
    process_.waitForFinished(3000);
  }
  QString record() const { return folder_ + QStringLiteral("/match.zrp"); }
  // Waits up to `ms` for `pattern` on standard output or error; its first
  // group, or empty.
  QString waitFor(const QString& pattern, int ms = 15000) {
    const QRegularExpression re(pattern);
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms && process_.state() != QProcess::NotRunning) {
      process_.waitForReadyRead(50);
      said_ +=
          QString::fromUtf8(process_.readAllStandardOutput() + process_.readAllStandardError());
      if (const auto m = re.match(said_); m.hasMatch()) return m.captured(1);
    }
    return {};
  }
  bool end() {
    process_.terminate();  // SIGTERM: the recording is written out
    return process_.waitForFinished(10000);
  }
  const QString& said() const { return said_; }
  bool running() const { return process_.state() == QProcess::Running; }

 private:
  QString folder_;
  QProcess process_;
  QString said_;
};

TEST(OnlineWindows, TwoProgramsMeetByCodeAndShareOneSession) {
  test::MeetPoint point;
  ASSERT_NE(point.port(), 0);
  QTemporaryDir dir;
  Window host(dir, QStringLiteral("host"),
              {QStringLiteral("--host"), QStringLiteral("--meet"), point.address(),
               QStringLiteral("--seed"), QStringLiteral("4242")});
  const QString code = host.waitFor(QStringLiteral("meeting code ([A-Z0-9]{8})"));
  ASSERT_FALSE(code.isEmpty()) << qPrintable(host.said());
  Window joiner(dir, QStringLiteral("joiner"),
                {QStringLiteral("--join"), code, QStringLiteral("--meet"), point.address()});
  const QString connected = QStringLiteral("connected \\((\\w+), ");
  EXPECT_FALSE(joiner.waitFor(connected).isEmpty()) << qPrintable(joiner.said());
  EXPECT_FALSE(host.waitFor(connected).isEmpty()) << qPrintable(host.said());
  // The meeting code also guards the session's greeting.
  EXPECT_EQ(host.waitFor(QStringLiteral("session code (\\w+)")), code) << qPrintable(host.said());
  // The session's greeting passed on the adopted links (a wrong code or a
  // lost link would end the joiner at once): both still run, then end
  // by a signal with the recording of what they confirmed.
  QTest::qWait(1500);
  EXPECT_TRUE(joiner.running() && host.running());
  for (Window* w : {&joiner, &host})
    EXPECT_TRUE(w->waitFor(QStringLiteral("(session ended)"), 200).isEmpty())
        << qPrintable(w->said());
  ASSERT_TRUE(joiner.end());
  ASSERT_TRUE(host.end());
  const QByteArray a = test::readAll(host.record()), b = test::readAll(joiner.record());
  EXPECT_TRUE(a.startsWith("zelkar-replay 1\n")) << a.constData();
  EXPECT_EQ(a.toStdString(), b.toStdString());
}

}  // namespace
}  // namespace zelkar::qt
