// Every key of the keyboard at the question "再び対戦するか（Ｙ/Ｎ）？": the
// program must go on asking, and Y and N must still answer it. The question
// is reached by a real match to ten points, not by faking the model.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLineEdit>
#include <QMetaEnum>
#include <QPushButton>
#include <QTest>

#include "played_match.h"
#include "qt/game_host.h"
#include "qt/main_window.h"
#include "qt/score_window.h"

namespace zelkar::qt {
namespace {

// match_to_ten.zrp: after this many lines the tenth point has been scored
// and the next line answers the question.
constexpr int kLinesToQuestion = 4842;

class QuestionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host = std::make_unique<GameHost>(GameHost::Options{1, test::configIn(dir, false), {}});
    host->windowSystem().setMessageBoxFn(messages.fn());
    test::playCommands(*host, test::replayHead("match_to_ten.zrp", kLinesToQuestion));
    ASSERT_FALSE(host->ended());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host->mainWindow()));
    ASSERT_TRUE(stillAsking());
    ASSERT_TRUE(answer()->hasFocus());
  }

  QLineEdit* answer() { return host->mainWindow().widgets().han(); }
  const ScreenModel& model() { return host->game().screen; }

  // The question still shown, empty and waiting; no start panel.
  bool stillAsking() {
    return !host->ended() && model().mes1.visible && model().han.visible && answer()->isVisible() &&
           answer()->text().isEmpty() && !model().Picture2.visible && host->game().awaitingAnswer;
  }

  // One press and release as the window system delivers them: to `target`,
  // handed on to its parents when refused.
  static void press(QWidget* target, int key, Qt::KeyboardModifiers mods, const QString& text,
                    bool autoRepeat = false) {
    QKeyEvent down(QEvent::KeyPress, key, mods, text, autoRepeat);
    QApplication::sendEvent(target, &down);
  }
  static void release(QWidget* target, int key, Qt::KeyboardModifiers mods, const QString& text,
                      bool autoRepeat = false) {
    QKeyEvent up(QEvent::KeyRelease, key, mods, text, autoRepeat);
    QApplication::sendEvent(target, &up);
  }
  static void click(QWidget* target, int key, Qt::KeyboardModifiers mods, const QString& text) {
    press(target, key, mods, text);
    release(target, key, mods, text);
  }

  QTemporaryDir dir;
  test::CapturedMessages messages;
  std::unique_ptr<GameHost> host;
};

// The letters that answer; every other key must leave the question up.
bool answers(int key) { return key == Qt::Key_Y || key == Qt::Key_N; }

// What a key types, as X gives it: printable keys their character (upper
// case with Shift), others nothing.
QString typed(int key, Qt::KeyboardModifiers mods) {
  if (key < Qt::Key_Space || key > Qt::Key_AsciiTilde) return {};
  if (mods & (Qt::ControlModifier | Qt::AltModifier)) return {};
  const QChar c(key);
  return (mods & Qt::ShiftModifier) ? QString(c.toUpper()) : QString(c.toLower());
}

TEST_F(QuestionTest, EveryKeyWithEveryModifierLeavesTheQuestionWaiting) {
  const QMetaEnum keys = QMetaEnum::fromType<Qt::Key>();
  ASSERT_GT(keys.keyCount(), 300);
  const Qt::KeyboardModifiers modifiers[] = {Qt::NoModifier,
                                             Qt::ShiftModifier,
                                             Qt::ControlModifier,
                                             Qt::AltModifier,
                                             Qt::MetaModifier,
                                             Qt::KeypadModifier,
                                             Qt::ShiftModifier | Qt::ControlModifier,
                                             Qt::ControlModifier | Qt::AltModifier};
  int sent = 0;
  for (int i = 0; i < keys.keyCount(); ++i) {
    const int key = keys.value(i);
    if (answers(key)) continue;
    for (const Qt::KeyboardModifiers mods : modifiers) {
      // Both where the focus is (the answer box) and at the window itself,
      // where keys land when the focus wandered.
      for (QWidget* target :
           {static_cast<QWidget*>(answer()), static_cast<QWidget*>(&host->mainWindow())}) {
        click(target, key, mods, typed(key, mods));
        ++sent;
        ASSERT_TRUE(stillAsking()) << keys.key(i) << " with modifiers " << int(mods);
      }
    }
  }
  EXPECT_GT(sent, 5000);
}

TEST_F(QuestionTest, ModifiersAloneAndHeldKeysAreDropped) {
  for (int key :
       {Qt::Key_Shift, Qt::Key_Control, Qt::Key_Alt, Qt::Key_AltGr, Qt::Key_Meta, Qt::Key_Super_L,
        Qt::Key_Super_R, Qt::Key_CapsLock, Qt::Key_NumLock, Qt::Key_ScrollLock, Qt::Key_Hyper_L}) {
    press(answer(), key, Qt::NoModifier, {});
    // Held: the window system repeats the press, with releases between.
    for (int r = 0; r < 30; ++r) {
      release(answer(), key, Qt::NoModifier, {}, true);
      press(answer(), key, Qt::NoModifier, {}, true);
    }
    release(answer(), key, Qt::NoModifier, {});
    ASSERT_TRUE(stillAsking()) << key;
  }
}

// The right player is likely still holding a keypad key when the last round
// ends: digits with NumLock on, cursor keys with it off, both held.
TEST_F(QuestionTest, KeypadKeysWithNumLockOnAndOffHeldOrNot) {
  std::vector<std::pair<int, QString>> keys;  // key, text
  for (int key :
       {Qt::Key_Insert, Qt::Key_End, Qt::Key_Down, Qt::Key_PageDown, Qt::Key_Left, Qt::Key_Clear,
        Qt::Key_Right, Qt::Key_Home, Qt::Key_Up, Qt::Key_PageUp, Qt::Key_Delete, Qt::Key_Enter})
    keys.emplace_back(key, QString());
  for (int digit = 0; digit <= 9; ++digit)
    keys.emplace_back(Qt::Key_0 + digit, QString::number(digit));
  for (const auto& [key, text] : keys) {
    for (int r = 0; r < 20; ++r) press(answer(), key, Qt::KeypadModifier, text, r > 0);
    release(answer(), key, Qt::KeypadModifier, text);
    ASSERT_TRUE(stillAsking()) << key;
  }
  for (const char* op : {"+", "-", "*", "/", "."}) {
    const QString text = QString::fromLatin1(op);
    click(answer(), text.at(0).unicode(), Qt::KeypadModifier, text);
    ASSERT_TRUE(stillAsking()) << op;
  }
}

// Caps Lock turns y into Y and Shift back into y: the letter decides. Each
// answer follows a few refused keys, the kind that used to bring the program
// down, and Shift is held around it when the answer has Shift.
TEST_F(QuestionTest, YRestartsAndNQuitsWhateverShiftAndCapsLockSay) {
  const struct {
    int key;
    Qt::KeyboardModifiers mods;
    const char* text;
  } cases[] = {{Qt::Key_Y, Qt::NoModifier, "y"},    {Qt::Key_Y, Qt::ShiftModifier, "Y"},
               {Qt::Key_Y, Qt::NoModifier, "Y"},     // Caps Lock on
               {Qt::Key_Y, Qt::ShiftModifier, "y"},  // Caps Lock and Shift
               {Qt::Key_N, Qt::NoModifier, "n"},    {Qt::Key_N, Qt::ShiftModifier, "N"},
               {Qt::Key_N, Qt::NoModifier, "N"},    {Qt::Key_N, Qt::ShiftModifier, "n"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " with modifiers " + std::to_string(int(c.mods)));
    if (!stillAsking()) {
      // Back to the question the quick way: a fresh match played to ten.
      host.reset();
      SetUp();
    }
    click(answer(), Qt::Key_Shift, Qt::ShiftModifier, {});
    click(answer(), Qt::Key_Down, Qt::KeypadModifier, {});
    click(answer(), Qt::Key_Escape, Qt::NoModifier, {});
    const bool shift = c.mods & Qt::ShiftModifier;
    if (shift) press(answer(), Qt::Key_Shift, Qt::ShiftModifier, {});
    click(answer(), c.key, c.mods, QString::fromLatin1(c.text));
    if (shift) release(answer(), Qt::Key_Shift, Qt::NoModifier, {});
    if (c.key == Qt::Key_N) {
      EXPECT_TRUE(host->ended());
      EXPECT_FALSE(host->mainWindow().isVisible());
      EXPECT_FALSE(host->scoreWindow().isVisible());
    } else {
      EXPECT_FALSE(host->ended());
      EXPECT_TRUE(model().Picture2.visible);
      EXPECT_FALSE(model().mes1.visible);
      EXPECT_FALSE(answer()->isVisible());
      EXPECT_TRUE(host->mainWindow().widgets().game()->isVisible());
    }
  }
}

TEST_F(QuestionTest, OtherTextIsWipedAndYesStillAnswersAfterIt) {
  click(answer(), Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
  click(answer(), Qt::Key_2, Qt::KeypadModifier, QStringLiteral("2"));
  EXPECT_TRUE(stillAsking());
  // Typed at the window while the focus is elsewhere, it still answers.
  host->mainWindow().setFocus();
  click(&host->mainWindow(), Qt::Key_Y, Qt::NoModifier, QStringLiteral("y"));
  EXPECT_TRUE(model().Picture2.visible);
  EXPECT_FALSE(host->ended());
}

}  // namespace
}  // namespace zelkar::qt
