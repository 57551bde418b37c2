// Two real window programs, offscreen, that meet through a real meeting
// point on 127.0.0.1 by the code the host prints and greet each other on
// the link the connect window brought up (offscreen no one can press the
// host's start, so the match itself is left to the in-process tests).
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <csignal>

#include "meet_point.h"
#include "program_run.h"
#include "qt_test_support.h"

namespace zelkar::qt {
namespace {

using test::Program;

// One program in a folder of its own, with the settings already saved so
// that no first-start window waits for a click, recording its match.
struct Window {
  QString folder, record;
  std::unique_ptr<Program> p;
  Window(const QTemporaryDir& dir, const char* name, const QStringList& args)
      : folder(dir.filePath(QString::fromLatin1(name))), record(folder + "/match.zrp") {
    QDir().mkpath(folder);
    QFile::copy(QStringLiteral(ZELKAR_PROGRAM_PATH), folder + "/zelkar");
    test::writeAll(folder + "/config.txt", test::kInitialSettings);
    p = std::make_unique<Program>(args + QStringList{QStringLiteral("--record"), record},
                                  test::offscreen() << QStringLiteral("ZELKAR_NO_PADS=1"),
                                  folder + "/said", folder + "/zelkar", true);
  }
  QString said() const { return QString::fromUtf8(test::readAll(folder + "/said")); }
  // Waits up to `ms` for `pattern` on standard output or error; its first
  // group, or empty.
  QString waitFor(const QString& pattern, int ms = 15000) {
    const QRegularExpression re(pattern);
    QString got;
    (void)QTest::qWaitFor(
        [&] { return !(got = re.match(said()).captured(1)).isEmpty() || !p->running(); }, ms);
    return got;
  }
  bool end() { return p->endBy(SIGTERM) != -1; }  // the recording is written out
};

TEST(OnlineWindows, TwoProgramsMeetByCodeAndShareOneSession) {
  test::MeetPoint point;
  ASSERT_NE(point.port(), 0);
  QTemporaryDir dir;
  Window host(dir, "host",
              {QStringLiteral("--host"), QStringLiteral("--meet"), point.address(),
               QStringLiteral("--seed"), QStringLiteral("4242")});
  const QString code = host.waitFor(QStringLiteral("meeting code ([A-Z0-9]{8})"));
  ASSERT_FALSE(code.isEmpty()) << qPrintable(host.said());
  Window joiner(dir, "joiner",
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
  EXPECT_TRUE(joiner.p->running() && host.p->running());
  for (Window* w : {&joiner, &host})
    EXPECT_TRUE(w->waitFor(QStringLiteral("(session ended)"), 200).isEmpty())
        << qPrintable(w->said());
  ASSERT_TRUE(joiner.end());
  ASSERT_TRUE(host.end());
  const QByteArray a = test::readAll(host.record), b = test::readAll(joiner.record);
  EXPECT_TRUE(a.startsWith("zelkar-replay 1\n")) << a.constData();
  EXPECT_EQ(a.toStdString(), b.toStdString());
}

}  // namespace
}  // namespace zelkar::qt
