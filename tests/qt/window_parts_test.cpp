// What every window shares: the icon, the enlargement of --scale, and a
// first start that can be left without saving.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "qt/game_host.h"
#include "qt/main_window.h"
#include "qt/qt_window_system.h"
#include "qt/score_window.h"
#include "qt/settings_window.h"
#include "qt_test_support.h"

namespace zelkar::qt {
namespace {

// The hub's colour, from share/zelkar.svg.
constexpr QRgb kHub = qRgb(0x2f, 0xb0, 0x40);

class WindowPartsTest : public ::testing::Test {
 protected:
  std::unique_ptr<GameHost> open(int scale) {
    auto host = std::make_unique<GameHost>(GameHost::Options{scale, test::configIn(dir), {}});
    host->windowSystem().setMessageBoxFn(messages.fn());
    host->load(99);
    host->startTimerFired();
    return host;
  }
  QString config() const { return dir.filePath(QStringLiteral("config.txt")); }

  QTemporaryDir dir;
  test::CapturedMessages messages;
};

TEST_F(WindowPartsTest, AllThreeWindowsCarryTheIcon) {
  auto host = open(1);
  SettingsWindow settings(ConfigLocation(config(), config()), messages.fn(), &host->mainWindow());
  for (QWidget* w :
       {static_cast<QWidget*>(&host->mainWindow()), static_cast<QWidget*>(&host->scoreWindow()),
        static_cast<QWidget*>(&settings)}) {
    const QIcon icon = w->windowIcon();
    ASSERT_FALSE(icon.isNull()) << qPrintable(w->windowTitle());
    EXPECT_EQ(icon.pixmap(64, 64).toImage().pixel(30, 37), kHub) << qPrintable(w->windowTitle());
  }
}

TEST_F(WindowPartsTest, ScaleEnlargesTheScoreWindowPixelForPixel) {
  auto small = open(1);
  auto large = open(2);
  ScoreWindow& one = small->scoreWindow();
  ScoreWindow& two = large->scoreWindow();
  EXPECT_EQ(one.size(), QSize(256, 129));
  EXPECT_EQ(two.size(), QSize(512, 258));
  small->mainWindow().widgets().game()->click();
  large->mainWindow().widgets().game()->click();
  const QImage a = one.grab().toImage();
  const QImage b = two.grab().toImage();
  int differing = 0;
  for (int y = 0; y < b.height(); ++y)
    for (int x = 0; x < b.width(); ++x) differing += b.pixel(x, y) != a.pixel(x / 2, y / 2);
  EXPECT_EQ(differing, 0);
}

TEST_F(WindowPartsTest, ScaleEnlargesTheSettingsWindowItsElementsAndItsText) {
  SettingsWindow one(ConfigLocation(config(), config()), messages.fn(), nullptr, 1);
  SettingsWindow three(ConfigLocation(config(), config()), messages.fn(), nullptr, 3);
  EXPECT_EQ(one.size(), QSize(267, 144));
  EXPECT_EQ(three.size(), QSize(3 * 267, 3 * 144));
  for (auto pick : {+[](SettingsWindow& w) -> QWidget* { return w.opeval(); },
                    +[](SettingsWindow& w) -> QWidget* { return w.comsave(); },
                    +[](SettingsWindow& w) -> QWidget* { return w.tenkey(); }}) {
    const QRect g1 = pick(one)->geometry(), g3 = pick(three)->geometry();
    EXPECT_EQ(g3, QRect(3 * g1.left(), 3 * g1.top(), 3 * g1.width(), 3 * g1.height()));
  }
  EXPECT_EQ(three.font().pixelSize(), 3 * one.font().pixelSize());
}

TEST_F(WindowPartsTest, TheSettingsWindowOfCtrlF1IsEnlargedToo) {
  auto host = open(2);
  host->mainWindow().widgets().game()->click();
  QSize seen;
  QTimer::singleShot(0, [&] {
    if (auto* w = qobject_cast<SettingsWindow*>(QApplication::activeModalWidget())) {
      seen = w->size();
      w->reject();
    }
  });
  QTest::keyClick(&host->mainWindow(), Qt::Key_F1, Qt::ControlModifier);
  EXPECT_EQ(seen, QSize(2 * 267, 2 * 144));
  EXPECT_FALSE(host->ended());  // closing it during play only closes it
}

// At first start (no config.txt) the settings window is all there is:
// closing it without saving ends the program, saving opens the game.
TEST_F(WindowPartsTest, TheFirstStartSettingsWindowEndsTheProgramUnlessSaved) {
  for (const bool save : {false, true}) {
    SCOPED_TRACE(save ? "saved" : "closed");
    GameHost host(GameHost::Options{1, test::configIn(dir, false), {}});
    host.windowSystem().setMessageBoxFn(messages.fn());
    int shown = 0;
    QTimer::singleShot(0, [&] {
      if (auto* w = qobject_cast<SettingsWindow*>(QApplication::activeModalWidget())) {
        ++shown;
        if (save)
          w->comsave()->click();
        else
          w->close();
      }
    });
    host.load(5);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(host.ended(), !save);
    EXPECT_EQ(host.mainWindow().isVisible(), save);
    EXPECT_EQ(host.startClock().isActive(), save);
    EXPECT_EQ(QFile::exists(config()), save);  // nothing is saved unless asked
  }
  EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
}  // namespace zelkar::qt
