// Every key of the keyboard at the question "再び対戦するか（Ｙ/Ｎ）？": the
// program must go on asking, and Y and N must still answer it. The question
// is reached by a real match to ten points, not by faking the model.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QMetaEnum>

#include "played_match.h"
#include "qt/score_window.h"

namespace zelkar::qt {
namespace {

// match_to_ten.zrp: after this many lines the tenth point has been scored
// and the next line answers the question.
constexpr int kLinesToQuestion = 4842;

class QuestionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    t = std::make_unique<test::TestHost>(GameHost::Options{}, false);
    host = &t->host;
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

  // One key event as the window system delivers it: to `target`, handed on
  // to its parents when refused.
  static void send(QWidget* target, QEvent::Type type, int key, Qt::KeyboardModifiers mods,
                   const QString& text, bool autoRepeat = false) {
    QKeyEvent e(type, key, mods, text, autoRepeat);
    QApplication::sendEvent(target, &e);
  }
  static void click(QWidget* target, int key, Qt::KeyboardModifiers mods, const QString& text) {
    send(target, QEvent::KeyPress, key, mods, text);
    send(target, QEvent::KeyRelease, key, mods, text);
  }

  std::unique_ptr<test::TestHost> t;
  GameHost* host = nullptr;
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

// Held keys: modifiers alone, and the keypad key the right player is likely
// still holding when the last round ends (digits with NumLock on, cursor
// keys with it off). The window system repeats the press, with or without
// releases between.
TEST_F(QuestionTest, HeldModifiersAndKeypadKeysAreDropped) {
  std::vector<std::tuple<int, Qt::KeyboardModifiers, QString>> keys;
  for (int key :
       {Qt::Key_Shift, Qt::Key_Control, Qt::Key_Alt, Qt::Key_AltGr, Qt::Key_Meta, Qt::Key_Super_L,
        Qt::Key_Super_R, Qt::Key_CapsLock, Qt::Key_NumLock, Qt::Key_ScrollLock, Qt::Key_Hyper_L})
    keys.emplace_back(key, Qt::NoModifier, QString());
  for (int key :
       {Qt::Key_Insert, Qt::Key_End, Qt::Key_Down, Qt::Key_PageDown, Qt::Key_Left, Qt::Key_Clear,
        Qt::Key_Right, Qt::Key_Home, Qt::Key_Up, Qt::Key_PageUp, Qt::Key_Delete, Qt::Key_Enter})
    keys.emplace_back(key, Qt::KeypadModifier, QString());
  for (int digit = 0; digit <= 9; ++digit)
    keys.emplace_back(Qt::Key_0 + digit, Qt::KeypadModifier, QString::number(digit));
  for (const auto& [key, mods, text] : keys) {
    for (const bool releasesBetween : {true, false}) {
      send(answer(), QEvent::KeyPress, key, mods, text);
      for (int r = 0; r < 20; ++r) {
        if (releasesBetween) send(answer(), QEvent::KeyRelease, key, mods, text, true);
        send(answer(), QEvent::KeyPress, key, mods, text, true);
      }
      send(answer(), QEvent::KeyRelease, key, mods, text);
      ASSERT_TRUE(stillAsking()) << key << (releasesBetween ? " with" : " without")
                                 << " releases between";
    }
  }
}

// Caps Lock turns y into Y and Shift back into y: the letter decides. Each
// answer follows a few refused keys, the kind that used to bring the program
// down, and Shift is held around it when the answer has Shift. Typed at the
// window while the focus is elsewhere, it still answers.
TEST_F(QuestionTest, YRestartsAndNQuitsWhateverShiftAndCapsLockSay) {
  const struct {
    int key;
    Qt::KeyboardModifiers mods;
    const char* text;
    bool atWindow = false;
  } cases[] = {{Qt::Key_Y, Qt::NoModifier, "y"},      {Qt::Key_Y, Qt::ShiftModifier, "Y"},
               {Qt::Key_Y, Qt::NoModifier, "Y"},     // Caps Lock on
               {Qt::Key_Y, Qt::ShiftModifier, "y"},  // Caps Lock and Shift
               {Qt::Key_N, Qt::NoModifier, "n"},      {Qt::Key_N, Qt::ShiftModifier, "N"},
               {Qt::Key_N, Qt::NoModifier, "N"},      {Qt::Key_N, Qt::ShiftModifier, "n"},
               {Qt::Key_Y, Qt::NoModifier, "y", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " with modifiers " + std::to_string(int(c.mods)) +
                 (c.atWindow ? " at the window" : ""));
    if (!stillAsking()) {
      // Back to the question the quick way: a fresh match played to ten.
      t.reset();
      SetUp();
    }
    click(answer(), Qt::Key_Shift, Qt::ShiftModifier, {});
    click(answer(), Qt::Key_Down, Qt::KeypadModifier, {});
    click(answer(), Qt::Key_Escape, Qt::NoModifier, {});
    QWidget* target = answer();
    if (c.atWindow) {
      host->mainWindow().setFocus();
      target = &host->mainWindow();
    }
    const bool shift = c.mods & Qt::ShiftModifier;
    if (shift) send(target, QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier, {});
    click(target, c.key, c.mods, QString::fromLatin1(c.text));
    if (shift) send(target, QEvent::KeyRelease, Qt::Key_Shift, Qt::NoModifier, {});
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

}  // namespace
}  // namespace zelkar::qt
