#include "qt/settings_window.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>

#include "qt/language.h"
#include "qt_test_support.h"

namespace zelkar::qt {
namespace {

using test::readAll;
using test::writeAll;

class SettingsWindowTest : public ::testing::Test {
 protected:
  QString path() const { return dir.filePath(QStringLiteral("config.txt")); }
  ConfigLocation where() const { return {path(), path()}; }
  std::unique_ptr<SettingsWindow> open() {
    return std::make_unique<SettingsWindow>(where(), messages.fn());
  }

  QTemporaryDir dir;
  test::CapturedMessages messages;
};

// What the window shows for a file (silently the initial values for none or
// an unreadable one), and what a save at once writes back: a value no box
// can hold is shown and kept as it was. A keyboard kind of 7 no longer hides
// the interval and sound after it; "15x", which the game reads as 15, stays.
TEST_F(SettingsWindowTest, ShowsTheFileOrTheInitialValuesAndSavesThemBackUnchanged) {
  const struct {
    const char* file;  // null: no file yet
    Qt::CheckState keypad;
    const char* interval;
    Qt::CheckState sound;
    const char* saved;
  } cases[] = {
      {nullptr, Qt::Checked, "10", Qt::Unchecked, " 1 \r\n10\r\n 0 \r\n"},
      {" 0 \r\n25\r\n 1 \r\n", Qt::Unchecked, "25", Qt::Checked, " 0 \r\n25\r\n 1 \r\n"},
      {"garbage\r\n", Qt::Checked, "10", Qt::Unchecked, " 1 \r\n10\r\n 0 \r\n"},
      {" 7 \r\n25\r\n 1 \r\n", Qt::PartiallyChecked, "25", Qt::Checked, " 7 \r\n25\r\n 1 \r\n"},
      {" 0 \r\n30\r\n-3 \r\n", Qt::Unchecked, "30", Qt::PartiallyChecked, " 0 \r\n30\r\n-3 \r\n"},
      {" 1 \r\n 15x \r\n 0 \r\n", Qt::Checked, "15x", Qt::Unchecked, " 1 \r\n15x\r\n 0 \r\n"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file ? c.file : "no file");
    if (c.file) writeAll(path(), c.file);
    auto w = open();
    EXPECT_EQ(w->tenkey()->checkState(), c.keypad);
    EXPECT_EQ(w->tenkey()->toolTip().contains(u'7'), c.keypad == Qt::PartiallyChecked);
    EXPECT_EQ(w->opeval()->text(), QString::fromUtf8(c.interval));
    EXPECT_EQ(w->sound()->checkState(), c.sound);
    w->comsave()->click();
    EXPECT_EQ(readAll(path()), QByteArray(c.saved));
  }
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SettingsWindowTest, AChangedBoxIsSavedAsChangedAndAFilesIntervalBelowTenIsRefused) {
  // A click on the box is the player's choice: the box's value is saved.
  writeAll(path(), " 7 \r\n25\r\n 1 \r\n");
  {
    auto w = open();
    w->show();
    w->tenkey()->click();
    const int16_t chosen = w->tenkey()->isChecked() ? 1 : 0;
    EXPECT_TRUE(w->tenkey()->toolTip().isEmpty());
    w->comsave()->click();
    EXPECT_EQ(readAll(path()), QByteArray(" ") + QByteArray::number(chosen) + " \r\n25\r\n 1 \r\n");
  }
  // The interval as the file has it: 5 is shown and refused, not made 10.
  writeAll(path(), " 1 \r\n5\r\n 0 \r\n");
  {
    auto w = open();
    EXPECT_EQ(w->opeval()->text(), QStringLiteral("5"));
    w->comsave()->click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].first, QString::fromUtf8("10以上の値に設定して下さい。"));
    EXPECT_EQ(readAll(path()), QByteArray(" 1 \r\n5\r\n 0 \r\n"));
    messages.shown.clear();
  }
  // The defaults button changes every box, and only the save writes them.
  writeAll(path(), " 7 \r\n25\r\n 9 \r\n");
  {
    auto w = open();
    w->comdef()->click();
    EXPECT_EQ(readAll(path()), QByteArray(" 7 \r\n25\r\n 9 \r\n"));
    EXPECT_NE(w->result(), QDialog::Accepted);
    w->comsave()->click();
    EXPECT_EQ(readAll(path()), QByteArray(" 1 \r\n10\r\n 0 \r\n"));
  }
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SettingsWindowTest, SaveRefusesValuesBelowTenAndKeepsTheWindowOpen) {
  auto w = open();
  w->show();
  w->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
  for (const char* typed : {"9", "", "abc", " 9x", "-20"}) {
    messages.shown.clear();
    w->opeval()->setText(QString::fromUtf8(typed));
    w->comsave()->setFocus();
    w->comsave()->click();
    ASSERT_EQ(messages.shown.size(), 1u) << typed;
    EXPECT_EQ(messages.shown[0].first, QString::fromUtf8("10以上の値に設定して下さい。"));
    EXPECT_EQ(messages.shown[0].second, QString::fromUtf8("操作性調整値"));
    EXPECT_TRUE(w->opeval()->hasFocus()) << typed;
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(QFile::exists(path())) << typed;
  }
}

TEST_F(SettingsWindowTest, AFailedWriteIsShownWithPathAndReasonAndTheWindowStays) {
  const QString locked = test::unwritableFolder(dir) + QStringLiteral("/config.txt");
  SettingsWindow w(ConfigLocation(locked, locked), messages.fn());
  w.show();
  w.comsave()->click();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_TRUE(messages.shown[0].first.contains(locked));
  EXPECT_GT(messages.shown[0].first.section(u'\n', 2).size(), 0);  // the reason, on its own line
  EXPECT_TRUE(w.isVisible());
  EXPECT_NE(w.result(), QDialog::Accepted);
}

// The language is chosen in the window and remembered in a file of its
// own: config.txt keeps its three lines byte for byte.
TEST_F(SettingsWindowTest, TheLanguageIsSavedBesideConfigTxtAndTakesEffectAtOnce) {
  const QString choice = languageFilePath(path());
  EXPECT_EQ(QFileInfo(choice).dir(), QFileInfo(path()).dir());
  for (const auto& [index, code, title] :
       {std::tuple{1, "en\n", "Settings"}, std::tuple{0, "ja\n", "初期設定"}}) {
    auto w = open();
    w->language()->setCurrentIndex(index);
    w->comsave()->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(readAll(path()), QByteArray(test::kInitialSettings));
    EXPECT_EQ(readAll(choice), QByteArray(code));
    EXPECT_EQ(currentLanguage(), index == 1 ? Language::english : Language::japanese);
    EXPECT_EQ(open()->windowTitle(), QString::fromUtf8(title));
  }
  EXPECT_TRUE(messages.shown.empty());
  // What the file may say: only the two codes count.
  const struct {
    const char* file;  // null: none
    std::optional<Language> read;
  } cases[] = {{nullptr, {}},
               {"en\n", Language::english},
               {"ja", Language::japanese},
               {" en\r\n", Language::english},
               {"fr\n", {}},
               {"english\n", {}}};
  for (const auto& c : cases) {
    QFile::remove(choice);
    if (c.file) writeAll(choice, c.file);
    EXPECT_EQ(readLanguageChoice(choice), c.read) << (c.file ? c.file : "no file");
  }
}

}  // namespace
}  // namespace zelkar::qt
