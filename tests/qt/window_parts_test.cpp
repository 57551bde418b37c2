// What every window shares: the icon, the enlargement of --scale, and a
// first start that can be left without saving.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QTimer>

#include "qt/score_window.h"
#include "qt/settings_window.h"
#include "qt_test_support.h"

namespace zelkar::qt {
namespace {

// The hub's colour, from share/zelkar.svg.
constexpr QRgb kHub = qRgb(0x2f, 0xb0, 0x40);

// Runs `f` on the modal settings window as soon as it opens.
void onSettingsWindow(const std::function<void(SettingsWindow&)>& f) {
  QTimer::singleShot(0, [f] {
    if (auto* w = qobject_cast<SettingsWindow*>(QApplication::activeModalWidget())) f(*w);
  });
}

TEST(WindowParts, AllThreeWindowsCarryTheIcon) {
  test::TestHost t;
  t.start(99);
  SettingsWindow settings(test::configIn(t.dir), t.messages.fn(), &t.host.mainWindow());
  for (QWidget* w :
       {static_cast<QWidget*>(&t.host.mainWindow()), static_cast<QWidget*>(&t.host.scoreWindow()),
        static_cast<QWidget*>(&settings)}) {
    const QIcon icon = w->windowIcon();
    ASSERT_FALSE(icon.isNull()) << qPrintable(w->windowTitle());
    EXPECT_EQ(icon.pixmap(64, 64).toImage().pixel(30, 37), kHub) << qPrintable(w->windowTitle());
  }
}

// The main window's widgets and the score window pixel for pixel; the
// painted arena keeps its size, and so does the game's field.
TEST(WindowParts, ScaleEnlargesTheWindowsButNotTheGame) {
  test::TestHost one({.scale = 1}), two({.scale = 2});
  one.startMatch(99);
  two.start(99);
  const ScreenModel& m = two.host.game().screen;
  EXPECT_EQ(two.host.mainWindow().size(), QSize(2 * kClientWidth, 2 * kClientHeight));
  EXPECT_EQ(two.widgets().tirikosu()->geometry(),
            QRect(2 * (m.Picture2.left + m.tirikosu.left), 2 * (m.Picture2.top + m.tirikosu.top),
                  2 * m.tirikosu.width, 2 * m.tirikosu.height));
  two.widgets().game()->click();
  two.host.mainWindow().renderFrame();
  EXPECT_EQ(two.host.mainWindow().frame().size(), QSize(kClientWidth, kClientHeight));
  EXPECT_EQ(two.host.game().s.fieldWidth, kClientWidth);

  EXPECT_EQ(one.host.scoreWindow().size(), QSize(256, 129));
  EXPECT_EQ(two.host.scoreWindow().size(), QSize(512, 258));
  const QImage a = one.host.scoreWindow().grab().toImage();
  const QImage b = two.host.scoreWindow().grab().toImage();
  int differing = 0;
  for (int y = 0; y < b.height(); ++y)
    for (int x = 0; x < b.width(); ++x) differing += b.pixel(x, y) != a.pixel(x / 2, y / 2);
  EXPECT_EQ(differing, 0);

  // The settings window of Ctrl+F1 too; closing it during play only closes it.
  QSize seen;
  onSettingsWindow([&](SettingsWindow& w) {
    seen = w.size();
    w.reject();
  });
  QTest::keyClick(&two.host.mainWindow(), Qt::Key_F1, Qt::ControlModifier);
  EXPECT_EQ(seen, QSize(2 * 267, 2 * 144));
  EXPECT_FALSE(two.host.ended());
}

TEST(WindowParts, ScaleEnlargesTheSettingsWindowItsElementsAndItsText) {
  QTemporaryDir dir;
  test::CapturedMessages messages;
  SettingsWindow one(test::configIn(dir), messages.fn(), nullptr, 1);
  SettingsWindow three(test::configIn(dir), messages.fn(), nullptr, 3);
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

// At first start (no config.txt) the settings window is all there is:
// closing it without saving ends the program, saving opens the game.
TEST(WindowParts, TheFirstStartSettingsWindowEndsTheProgramUnlessSaved) {
  for (const bool save : {false, true}) {
    SCOPED_TRACE(save ? "saved" : "closed");
    test::TestHost t({}, false);
    int shown = 0;
    onSettingsWindow([&](SettingsWindow& w) {
      ++shown;
      save ? w.comsave()->click() : void(w.close());
    });
    t.host.load(5);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(t.host.ended(), !save);
    EXPECT_EQ(t.host.mainWindow().isVisible(), save);
    EXPECT_EQ(t.host.startClock().isActive(), save);
    EXPECT_EQ(QFile::exists(t.dir.filePath("config.txt")), save);  // saved only when asked
    EXPECT_TRUE(t.messages.shown.empty());
  }
}

}  // namespace
}  // namespace zelkar::qt
