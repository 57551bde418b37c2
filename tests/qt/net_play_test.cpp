// Online play in the window: its options, its session codes, and two
// windows of one process joined over UDP on 127.0.0.1 (start on the host,
// keys and Ctrl+F2 on the joiner, a lost peer told on screen).
#include "qt/net_play.h"

#include <gtest/gtest.h>

#include <QLabel>

#include "net/online_options.h"
#include "qt/explosion_overlay.h"
#include "qt/net_options.h"
#include "qt_test_support.h"

namespace zelkar::qt {
namespace {

// What a command line says, in one line: "error", or the role and where,
// then each option that is not at its default.
std::string readOut(const QStringList& words) {
  NetOptions n;
  const CommandLine c = parseWithNet(words, n);
  if (c.action != CommandLine::Action::run)
    return c.action == CommandLine::Action::error && !c.error.isEmpty() ? "error" : "unsaid";
  QString s = QStringList{"none", "host", "join"}[int(n.role)];
  if (n.role != NetOptions::Role::none && n.joinCode.isEmpty())
    s += QStringLiteral(" %1:%2").arg(QString::fromStdString(n.endpoint.host)).arg(n.endpoint.port);
  if (n.portChosen) s += " chosen";
  if (n.dialog) s += " online";
  if (n.meet)
    s += QStringLiteral(" meet=%1:%2").arg(QString::fromStdString(n.meet->host)).arg(n.meet->port);
  if (!n.joinCode.isEmpty()) s += " joinCode=" + n.joinCode;
  if (!n.portmap) s += " no-portmap";
  if (!n.code.isEmpty()) s += " code=" + n.code;
  if (n.side) s += *n.side == net::Side::Left ? " left" : " right";
  if (n.inputDelay != 0) s += QStringLiteral(" delay=%1").arg(n.inputDelay);
  if (n.syncTest != 0) s += QStringLiteral(" sync=%1").arg(n.syncTest);
  if (!n.recordPath.isEmpty()) s += " record=" + n.recordPath;  // the session's
  if (!c.recordPath.isEmpty()) s += " local-record=" + c.recordPath;
  if (c.seed) s += QStringLiteral(" seed=%1").arg(*c.seed);
  return s.toStdString();
}

TEST(NetOptions, WhatEachCommandLineChoosesOrRefuses) {
  const struct {
    std::initializer_list<const char*> words;
    const char* read;
  } cases[] = {
      {{"--host"}, "host :41830"},
      // The port is optional: an option after --host is not taken for it.
      {{"--host", "--seed", "5"}, "host :41830 seed=5"},
      {{"--host=127.0.0.1:0", "--code", "AB12"}, "host 127.0.0.1:0 chosen code=AB12"},
      {{"--join", "box:5000", "--side", "left", "--input-delay", "8"},
       "join box:5000 left delay=8"},
      // Online the recording is the session's; a local game keeps its own.
      {{"--join", "h", "--record", "m.zrp"}, "join h:41830 record=m.zrp"},
      {{"--record", "m.zrp"}, "none local-record=m.zrp"},
      {{"--sync-test", "8"}, "none sync=8"},
      {{"--online", "--record", "m.zrp"}, "none online record=m.zrp"},
      // Through a meeting point: any free port will do unless one is named.
      {{"--host", "--meet", "meet.example.org"}, "host :41830 meet=meet.example.org:41831"},
      {{"--host", "5000", "--meet=m:7"}, "host :5000 chosen meet=m:7"},
      {{"--join", "k7q2-xmrb", "--meet", "m", "--no-portmap"},
       "join meet=m:41831 joinCode=K7Q2XMRB no-portmap"},
  };
  for (const auto& c : cases) EXPECT_EQ(readOut(test::commandLine(c.words)), c.read) << c.read;
  // Files a session cannot take, options that cannot work together, and
  // what the reading shared with zelkar-sim refuses.
  for (const char* wrong :
       {"--join h --replay m.zrp", "--host --hashes m.hashes", "--online --host", "--meet m",
        "--meet", "--host --meet m:0", "--join 192.0.2.7:5000 --meet m", "--join K7Q2XMR --meet m",
        "--host 70000", "--join h:0", "--join", "--host --code ", "--host --code ABCDEFGHIJKLMNOPQ",
        "--host --side middle", "--host --input-delay -1", "--side left", "--host --sync-test 2",
        "--bogus"})
    EXPECT_EQ(readOut(test::commandLineOf(wrong)), "error") << wrong;
}

// Read aloud and typed by hand: six characters, none that looks like
// another (0/O, 1/I/L), one the session takes, and another code for other
// entropy.
TEST(SessionCode, SixCharactersWithoutLookAlikes) {
  QStringList codes;
  for (uint64_t e : {0ull, 1ull, 30ull, 31ull, 0x123456789abcdefull, ~0ull}) {
    const QString code = makeSessionCode(e);
    EXPECT_EQ(code.size(), 6) << e;
    EXPECT_TRUE(net::validSessionCode(code.toStdString())) << e;  // the session takes it
    for (const QChar ch : code) EXPECT_FALSE(QStringLiteral("0O1IL").contains(ch)) << e;
    EXPECT_FALSE(codes.contains(code)) << e;
    codes << code;
  }
}

// One window of an online match in this process, opened and loaded: a
// host listens on a free port (0); a joiner names the host's.
struct Seat {
  NetPlay net;
  test::TestHost t;
  GameHost& host = t.host;
  Seat(NetOptions::Role role, uint16_t port, uint32_t seed, const char* code = "WIN7")
      : net(options(role, port, code), QString()), t({.net = &net}) {
    QString error;
    EXPECT_TRUE(net.open(error)) << qPrintable(error);
    host.load(seed);
  }
  static NetOptions options(NetOptions::Role role, uint16_t port, const char* code) {
    NetOptions o;
    o.role = role;
    o.endpoint = {"127.0.0.1", port};
    o.code = QString::fromUtf8(code);
    return o;
  }
  const auto& shown() const { return t.messages.shown; }
};
constexpr auto kHost = NetOptions::Role::host, kJoin = NetOptions::Role::join;

using test::spinUntil;

TEST(NetWindows, HostStartsJoinerStopsAndALostPeerIsTold) {
  auto host = std::make_unique<Seat>(kHost, 0, 77);
  Seat joiner(kJoin, host->net.port(), 1);  // the host's seed builds the arena, not this one

  ASSERT_TRUE(spinUntil([&] { return host->net.sharing() && joiner.net.sharing(); }));
  QWidget& hostWindow = host->host.mainWindow();
  EXPECT_TRUE(hostWindow.windowTitle().contains(QStringLiteral("WIN7")));
  EXPECT_FALSE(joiner.host.mainWindow().windowTitle().contains(QStringLiteral("WIN7")));
  // Another part's message in the title (a controller plugged in) stays
  // while the session runs; the plain title it leaves gets the status back.
  const QString status = hostWindow.windowTitle();
  const QString plugged = QStringLiteral("ZELKAR GAME　左のプレイヤーにパッドがつながりました");
  hostWindow.setWindowTitle(plugged);
  spinUntil([] { return false; }, 50);
  EXPECT_EQ(hostWindow.windowTitle(), plugged);
  hostWindow.setWindowTitle(QStringLiteral("ZELKAR GAME"));
  EXPECT_TRUE(spinUntil([&] { return hostWindow.windowTitle() == status; }, 100));
  // Only the host decides the match, and the joiner's panel says so.
  ASSERT_TRUE(spinUntil([&] { return joiner.host.game().screen.Picture2.visible; }));
  EXPECT_FALSE(joiner.host.mainWindow().widgets().game()->isEnabled());
  auto noteShown = [](Seat& s) {
    for (const QLabel* l : s.host.mainWindow().findChildren<QLabel*>())
      if (l->isVisible() && l->text() == QStringLiteral("ホストが開始します。")) return true;
    return false;
  };
  EXPECT_TRUE(noteShown(joiner) && !noteShown(*host));
  joiner.host.gameClicked();  // ignored
  spinUntil([] { return false; }, 100);
  EXPECT_TRUE(host->host.game().screen.Picture2.visible);

  host->host.mainWindow().widgets().game()->click();
  auto running = [](Seat& s) { return s.host.game().screen.timer1Interval > 0; };
  ASSERT_TRUE(spinUntil([&] { return running(*host) && running(joiner); }));
  EXPECT_FALSE(joiner.host.game().screen.Picture2.visible || noteShown(joiner));
  // Both show the same arena: one generator, seeded by the host.
  EXPECT_EQ(host->host.game().s.kitiLeft, joiner.host.game().s.kitiLeft);
  EXPECT_EQ(host->host.game().s.kitiTop, joiner.host.game().s.kitiTop);

  joiner.host.keyDown(113, 2);  // Ctrl+F2 on the joiner stops the match on both
  ASSERT_TRUE(spinUntil([&] { return !running(*host) && !running(joiner); }));

  // The host's window goes: the joiner says the connection is lost, and
  // the program will exit non-zero.
  host.reset();
  ASSERT_TRUE(spinUntil([&] { return joiner.host.ended(); }, 8000));
  EXPECT_EQ(joiner.shown(),
            (std::vector<std::pair<QString, QString>>{
                {QStringLiteral("通信が切れました。"), QStringLiteral("通信対戦")}}));
  EXPECT_TRUE(joiner.net.failed());
}

// A wrong code ends the caller's session with the reason; the host goes on
// waiting for the friend who has the right one, and its title counts the
// caller it turned away.
TEST(NetWindows, AWrongCodeEndsTheCallerAndTheHostWaitsOn) {
  Seat host(kHost, 0, 1);
  Seat joiner(kJoin, host.net.port(), 1, "NOPE");
  ASSERT_TRUE(spinUntil([&] { return joiner.host.ended(); }));
  ASSERT_EQ(joiner.shown().size(), 1u);
  EXPECT_EQ(joiner.shown()[0].first, QStringLiteral("セッションコードが違います。"));
  EXPECT_TRUE(joiner.net.failed());
  ASSERT_TRUE(spinUntil([&] {
    return host.host.mainWindow().windowTitle().contains(QStringLiteral("断った接続 1"));
  }));
  EXPECT_FALSE(host.host.ended());
  EXPECT_TRUE(host.shown().empty());
}

// The session's game is shown as it is, never copied, and never emptied of
// its explosion reports: each report is played once, also when a rollback
// makes it again, and reports go on coming after the queue is full.
TEST(NetWindows, EachExplosionOfTheSessionsGameShowsOnceAndGoes) {
  test::TestHost t;
  GameHost& host = t.host;
  int64_t now = 0;
  host.mainWindow().setClock([&] { return now; });
  ExplosionOverlay& overlay = host.mainWindow().overlay();
  auto shared = std::make_unique<Game>();
  const VehicleExplosion blast{0, 300, 200, 31, -1};
  auto frame = [&] {  // a new frame of the session, then half a second
    host.showShared(*shared, {});
    const std::size_t shown = overlay.at(now).size();
    now += ExplosionOverlay::kVehicleMs;
    return shown;
  };
  shared->explosions.push(blast);
  EXPECT_EQ(frame(), 1u);
  EXPECT_EQ(frame(), 0u);  // played once and gone
  EXPECT_EQ(&host.game(), shared.get());

  shared->explosions = ExplosionQueue{};  // a rollback to before the blast
  EXPECT_EQ(frame(), 0u);
  shared->explosions.push(blast);  // replayed: the same report again
  EXPECT_EQ(frame(), 0u);

  for (std::size_t i = 0; i < 2 * ExplosionQueue::kCapacity; ++i) {
    shared->explosions.push(blast);
    ASSERT_EQ(frame(), 1u) << i;
  }
  shared->explosions.push(blast);
  shared->explosions.push(blast);
  EXPECT_EQ(frame(), 2u);  // two in one frame
}

TEST(WindowSyncTest, AMatchWithKeysRollsBackAndReplaysTheSame) {
  test::TestHost t({.syncTestDepth = 8});
  t.startMatch(321);
  // Both players drive and fire, with releases and ticks between, so that
  // every rollback crosses key events.
  for (int round = 0; round < 3; ++round) {
    for (const int16_t k : {88, 98, 68, 104, 87, 100, 90, 88, 98}) {
      t.host.keyDown(k, 0);
      t.ticks(7);
      t.host.keyUp(k, 0);
      t.ticks(1);
    }
  }
  EXPECT_FALSE(t.host.ended());
  EXPECT_TRUE(t.messages.shown.empty());
  EXPECT_GT(t.host.game().screen.timer1Interval, 0);
}

}  // namespace
}  // namespace zelkar::qt
