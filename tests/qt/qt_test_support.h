// Helpers of the window tests: scratch folders, files, captured messages,
// a game window to play in.
#pragma once

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <functional>
#include <utility>
#include <vector>

#include "qt/config_location.h"
#include "qt/game_host.h"
#include "qt/main_window.h"
#include "qt/message_box.h"
#include "qt/qt_window_system.h"

namespace zelkar::qt::test {

inline QByteArray readAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void writeAll(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  if (f.open(QIODevice::WriteOnly)) f.write(bytes);
}

// The settings a first save writes: keypad on, 10 ms a tick, no sound.
inline constexpr char kInitialSettings[] = " 1 \r\n10\r\n 0 \r\n";

// config.txt in `dir`, for reading and saving; written with the initial
// settings unless `write` is false (a first start).
inline ConfigLocation configIn(const QTemporaryDir& dir, bool write = true) {
  const QString path = dir.filePath(QStringLiteral("config.txt"));
  if (write) writeAll(path, kInitialSettings);
  return ConfigLocation(path, path);
}

// A command line: the program's name, then `words`.
inline QStringList commandLine(std::initializer_list<const char*> words) {
  QStringList list{QStringLiteral("zelkar")};
  for (const char* w : words) list << QString::fromUtf8(w);
  return list;
}

// The same from one text, its words split at single spaces.
inline QStringList commandLineOf(const char* spaced) {
  return QStringList{QStringLiteral("zelkar")} + QString::fromUtf8(spaced).split(u' ');
}

// Message boxes shown, as (text, title), instead of modal dialogs.
struct CapturedMessages {
  std::vector<std::pair<QString, QString>> shown;
  MessageBoxFn fn() {
    return [this](const QString& text, const QString& title) { shown.emplace_back(text, title); };
  }
};

// A folder no file can be made in, even for root: permission bits first,
// and where they do not hold (root) the kernel's own /proc.
inline QString unwritableFolder(const QTemporaryDir& scratch) {
  const QString dir = scratch.filePath(QStringLiteral("readonly"));
  QDir().mkpath(dir);
  QFile::setPermissions(dir, QFile::ReadOwner | QFile::ExeOwner);
  QFile probe(dir + QStringLiteral("/probe"));
  if (!probe.open(QIODevice::WriteOnly)) return dir;
  probe.close();
  probe.remove();
  return QStringLiteral("/proc");
}

// Runs `f` while no file of this process may grow past `bytes`: writes fail
// part-way as on a full disk (EFBIG instead of ENOSPC).
inline void withFileSizeLimit(rlim_t bytes, const std::function<void()>& f) {
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit tiny = old;
  tiny.rlim_cur = bytes;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
  f();
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
}

// Runs the event loop (the polls of sessions and connect windows) until
// `done`, at most `ms` milliseconds.
inline bool spinUntil(const std::function<bool()>& done, int ms = 10000) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < ms) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    if (done()) return true;
  }
  return false;
}

// A game window whose config.txt lies in a scratch folder (written with the
// initial settings unless `settings` is false: a first start), its message
// boxes captured instead of shown.
struct TestHost {
  QTemporaryDir dir;
  CapturedMessages messages;
  GameHost host;
  explicit TestHost(GameHost::Options o = {}, bool settings = true)
      : host(inDir(std::move(o), settings)) {
    host.windowSystem().setMessageBoxFn(messages.fn());
  }
  GameHost::Options inDir(GameHost::Options o, bool settings) {
    o.config = configIn(dir, settings);
    return o;
  }
  RealWidgets& widgets() { return host.mainWindow().widgets(); }
  // Loads the window and shows the start panel, its timer fired at once.
  void start(uint32_t seed) {
    host.load(seed);
    host.startTimerFired();
  }
  // The given count chosen on the panel and `count` typed in its box.
  void typeCount(const char* count) {
    widgets().option2()->click();
    widgets().tirikosu()->clear();
    QTest::keyClicks(widgets().tirikosu(), QString::fromUtf8(count));
  }
  // A match from the panel: with `count` obstacles, or the random count.
  void startMatch(uint32_t seed, const char* count = nullptr) {
    start(seed);
    if (count != nullptr) typeCount(count);
    widgets().game()->click();
  }
  void ticks(int n) {
    for (int i = 0; i < n; ++i) host.tick();
  }
};

}  // namespace zelkar::qt::test
