// Online play in the window: its options, its session codes, and two
// windows of one process joined over UDP on 127.0.0.1 (start on the host,
// keys and Ctrl+F2 on the joiner, a lost peer told on screen).
#include "qt/net_play.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <functional>

#include "qt/explosion_overlay.h"
#include "qt/game_host.h"
#include "qt/main_window.h"
#include "qt/net_options.h"
#include "qt/qt_window_system.h"
#include "qt_test_support.h"

namespace zelkar::qt {
namespace {

constexpr auto args = test::commandLine;

TEST(NetOptions, HostAndJoinReadTheirAddresses) {
  NetOptions n;
  CommandLine c = parseWithNet(args({"--host"}), n);
  EXPECT_EQ(c.action, CommandLine::Action::run);
  EXPECT_EQ(n.role, NetOptions::Role::host);
  EXPECT_EQ(n.endpoint, (net::Endpoint{"", net::kDefaultPort}));
  // The port is optional: an option after --host is not taken for it.
  c = parseWithNet(args({"--host", "--seed", "5"}), n);
  EXPECT_EQ(c.action, CommandLine::Action::run);
  EXPECT_EQ(c.seed, 5u);
  EXPECT_EQ(n.endpoint.port, net::kDefaultPort);
  parseWithNet(args({"--host=127.0.0.1:0", "--code", "AB12"}), n);
  EXPECT_EQ(n.endpoint, (net::Endpoint{"127.0.0.1", 0}));
  EXPECT_EQ(n.code, QStringLiteral("AB12"));
  parseWithNet(args({"--join", "box:5000", "--side", "left", "--input-delay", "8"}), n);
  EXPECT_EQ(n.role, NetOptions::Role::join);
  EXPECT_EQ(n.endpoint, (net::Endpoint{"box", 5000}));
  EXPECT_EQ(n.side, net::Side::Left);
  EXPECT_EQ(n.inputDelay, 8);
}

TEST(NetOptions, RecordingOnlineIsTheSessionsAndOtherFilesAreRefused) {
  NetOptions n;
  CommandLine c = parseWithNet(args({"--join", "h", "--record", "m.zrp"}), n);
  EXPECT_EQ(c.action, CommandLine::Action::run);
  EXPECT_TRUE(c.recordPath.isEmpty());  // the window's own recorder stays off
  EXPECT_EQ(n.recordPath, QStringLiteral("m.zrp"));
  EXPECT_EQ(parseWithNet(args({"--join", "h", "--replay", "m.zrp"}), n).action,
            CommandLine::Action::error);
  EXPECT_EQ(parseWithNet(args({"--host", "--hashes", "m.hashes"}), n).action,
            CommandLine::Action::error);
  // A local game keeps its own recording.
  c = parseWithNet(args({"--record", "m.zrp"}), n);
  EXPECT_EQ(c.recordPath, QStringLiteral("m.zrp"));
  EXPECT_TRUE(n.recordPath.isEmpty());
}

TEST(NetOptions, RefusesWhatCannotWork) {
  // Both roles, a two-word code, a code alone, delays and depths out of range
  // are the shared online parser's refusals, held in zelkar-sim's tests.
  for (const auto& bad :
       {args({"--host", "70000"}), args({"--join", "h:0"}), args({"--join"}),
        args({"--host", "--code", ""}), args({"--host", "--code", "ABCDEFGHIJKLMNOPQ"}),
        args({"--host", "--side", "middle"}), args({"--host", "--input-delay", "-1"}),
        args({"--side", "left"}), args({"--host", "--sync-test", "2"}), args({"--bogus"})}) {
    NetOptions n;
    const CommandLine c = parseWithNet(bad, n);
    EXPECT_EQ(c.action, CommandLine::Action::error) << qPrintable(bad.join(u' '));
    EXPECT_FALSE(c.error.isEmpty());
  }
  NetOptions n;
  EXPECT_EQ(parseWithNet(args({"--sync-test", "8"}), n).action, CommandLine::Action::run);
  EXPECT_EQ(n.syncTest, 8);
}

TEST(SessionCode, SixLettersInBase31WithoutLookAlikes) {
  // The alphabet: A-Z without I, L, O, then 2-9; the lowest digit first.
  EXPECT_EQ(makeSessionCode(0), QStringLiteral("AAAAAA"));
  EXPECT_EQ(makeSessionCode(1), QStringLiteral("BAAAAA"));
  EXPECT_EQ(makeSessionCode(30), QStringLiteral("9AAAAA"));
  EXPECT_EQ(makeSessionCode(31), QStringLiteral("ABAAAA"));
  EXPECT_EQ(makeSessionCode(31 * 31 * 31 * 31 * 31 * 30ull), QStringLiteral("AAAAA9"));
  for (uint64_t e : {0x123456789abcdefull, ~0ull}) {
    const QString code = makeSessionCode(e);
    EXPECT_EQ(code.size(), 6);
    for (const QChar ch : code) EXPECT_FALSE(QStringLiteral("0O1IL").contains(ch));
  }
}

// One window of an online match, in this process.
struct Seat {
  QString config;
  NetPlay net;
  GameHost host;
  test::CapturedMessages messages;

  Seat(const QTemporaryDir& dir, const char* name, NetOptions options)
      : config(dir.filePath(QString::fromUtf8(name))),
        net(std::move(options), QString()),
        host(GameHost::Options{
            .config = ConfigLocation(config, config), .soundFolder = {}, .net = &net}) {
    test::writeAll(config, test::kInitialSettings);
    host.windowSystem().setMessageBoxFn(messages.fn());
  }
};

// A host listens on a free port (0); a joiner names the host's.
NetOptions options(NetOptions::Role role, uint16_t port, const char* code = "WIN7") {
  NetOptions o;
  o.role = role;
  o.endpoint = {"127.0.0.1", port};
  o.code = QString::fromUtf8(code);
  return o;
}
constexpr auto kHost = NetOptions::Role::host, kJoin = NetOptions::Role::join;

bool spinUntil(const std::function<bool()>& done, int ms = 5000) {
  return test::spinUntil(done, ms);
}

TEST(NetWindows, HostStartsJoinerStopsAndALostPeerIsTold) {
  QTemporaryDir dir;
  auto host = std::make_unique<Seat>(dir, "host.txt", options(kHost, 0));
  QString error;
  ASSERT_TRUE(host->net.open(error)) << qPrintable(error);
  Seat joiner(dir, "join.txt", options(kJoin, host->net.port()));
  ASSERT_TRUE(joiner.net.open(error)) << qPrintable(error);
  host->host.load(77);
  joiner.host.load(1);  // the host's seed builds the arena, not this one

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
  EXPECT_TRUE(noteShown(joiner));
  EXPECT_FALSE(noteShown(*host));
  joiner.host.gameClicked();  // ignored
  spinUntil([] { return false; }, 100);
  EXPECT_TRUE(host->host.game().screen.Picture2.visible);

  host->host.mainWindow().widgets().game()->click();
  auto running = [](Seat& s) { return s.host.game().screen.timer1Interval > 0; };
  ASSERT_TRUE(spinUntil([&] { return running(*host) && running(joiner); }));
  EXPECT_FALSE(joiner.host.game().screen.Picture2.visible);
  EXPECT_FALSE(noteShown(joiner));
  // Both show the same arena: one generator, seeded by the host.
  EXPECT_EQ(host->host.game().s.kitiLeft, joiner.host.game().s.kitiLeft);
  EXPECT_EQ(host->host.game().s.kitiTop, joiner.host.game().s.kitiTop);

  joiner.host.keyDown(113, 2);  // Ctrl+F2 on the joiner stops the match on both
  ASSERT_TRUE(spinUntil([&] { return !running(*host) && !running(joiner); }));

  // The host's window goes: the joiner says the connection is lost.
  host.reset();
  ASSERT_TRUE(spinUntil([&] { return joiner.host.ended(); }, 8000));
  ASSERT_EQ(joiner.messages.shown.size(), 1u);
  EXPECT_EQ(joiner.messages.shown[0].first, QStringLiteral("通信が切れました。"));
  EXPECT_EQ(joiner.messages.shown[0].second, QStringLiteral("通信対戦"));
  EXPECT_TRUE(joiner.net.failed());  // the program exits non-zero
}

// A wrong code ends the caller's session with the reason; the host goes on
// waiting for the friend who has the right one, and its title counts the
// caller it turned away.
TEST(NetWindows, AWrongCodeEndsTheCallerAndTheHostWaitsOn) {
  QTemporaryDir dir;
  Seat host(dir, "host.txt", options(kHost, 0));
  QString error;
  ASSERT_TRUE(host.net.open(error)) << qPrintable(error);
  Seat joiner(dir, "join.txt", options(kJoin, host.net.port(), "NOPE"));
  ASSERT_TRUE(joiner.net.open(error)) << qPrintable(error);
  host.host.load(1);
  joiner.host.load(1);
  ASSERT_TRUE(spinUntil([&] { return joiner.host.ended(); }));
  ASSERT_EQ(joiner.messages.shown.size(), 1u);
  EXPECT_EQ(joiner.messages.shown[0].first, QStringLiteral("セッションコードが違います。"));
  EXPECT_TRUE(joiner.net.failed());
  ASSERT_TRUE(spinUntil([&] {
    return host.host.mainWindow().windowTitle().contains(QStringLiteral("断った接続 1"));
  }));
  EXPECT_FALSE(host.host.ended());
  EXPECT_TRUE(host.messages.shown.empty());
}

// The session's game is shown as it is, never copied, and never emptied of
// its explosion reports: each report is played once, also when a rollback
// makes it again, and reports go on coming after the queue is full.
TEST(NetWindows, EachExplosionOfTheSessionsGameShowsOnceAndGoes) {
  QTemporaryDir dir;
  GameHost host(GameHost::Options{1, test::configIn(dir), {}});
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
  QTemporaryDir dir;
  test::CapturedMessages messages;
  GameHost host(
      GameHost::Options{.config = test::configIn(dir), .soundFolder = {}, .syncTestDepth = 8});
  host.windowSystem().setMessageBoxFn(messages.fn());
  host.load(321);
  host.startTimerFired();
  host.mainWindow().widgets().game()->click();
  // Both players drive and fire, with releases and ticks between, so that
  // every rollback crosses key events.
  const int16_t keys[] = {88, 98, 68, 104, 87, 100, 90, 88, 98};
  for (int round = 0; round < 3; ++round) {
    for (const int16_t k : keys) {
      host.keyDown(k, 0);
      for (int i = 0; i < 7; ++i) host.tick();
      host.keyUp(k, 0);
      host.tick();
    }
  }
  EXPECT_FALSE(host.ended());
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_GT(host.game().screen.timer1Interval, 0);
}

}  // namespace
}  // namespace zelkar::qt
