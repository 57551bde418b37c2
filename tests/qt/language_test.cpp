// The windows in English: every text the core can show has a translation,
// the language changes only what is painted, never the game, and English
// screens match the Japanese ones wherever no text lies.
#include "qt/language.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <algorithm>
#include <set>
#include <string>

#include "app/state_hash.h"
#include "headless/replay.h"
#include "played_match.h"
#include "qt/arena_painter.h"
#include "qt/core_texts.h"
#include "qt/game_font.h"
#include "qt/score_window.h"
#include "ui/stacking.h"

namespace zelkar::qt {
namespace {

// The language for one test; Japanese again after it, whatever happens.
struct LanguageFor {
  explicit LanguageFor(Language l) { use(l); }
  ~LanguageFor() { use(Language::japanese); }
  static void use(Language l) {
    setLanguage(l);
    QCoreApplication::processEvents();  // the windows' LanguageChange
  }
};

bool hasJapanese(const QString& s) {
  return std::any_of(s.begin(), s.end(), [](QChar c) { return c.unicode() >= 0x3000; });
}

// Captions of the items a player sees now, and the printed notice.
void collectShown(const ScreenModel& m, std::set<std::string>& out) {
  visitStacking(m, [&](const Item& it, const Item* parent) {
    if (it.visible && (parent == nullptr || parent->visible)) out.emplace(it.caption.view());
  });
  for (const PrintedText& t : m.printed) out.emplace(t.text.view());
}

TEST(English, EveryTextOfAPlayedMatchIsTranslated) {
  LanguageFor english(Language::english);
  for (const char* text : coreTexts()) EXPECT_FALSE(hasJapanese(coreText(text))) << text;
  // A whole match to the question and past it: start, set-up, battle,
  // destructions, winner and loser, the start panel again.
  test::TestHost t({}, false);
  GameHost& host = t.host;
  std::set<std::string> shown;
  int ticks = 0;
  test::playCommands(host, test::replayHead("match_to_ten.zrp", 1 << 20), [&] {
    if (++ticks % 4 == 0) collectShown(host.game().screen, shown);
  });
  collectShown(host.game().screen, shown);
  EXPECT_GT(ticks, 3000);
  EXPECT_TRUE(shown.count("勝者") == 1 && shown.count("機体設定") == 1 &&
              shown.count("再び対戦するか（Ｙ/Ｎ）？") == 1);
  for (const std::string& text : shown) EXPECT_FALSE(hasJapanese(coreText(text))) << text;
  // The window's own texts: the score window.
  EXPECT_EQ(host.scoreWindow().windowTitle(), QStringLiteral("Score"));
}

// The same replay gives the golden hashes after every tick whatever the
// window shows, the language also changed half-way through.
TEST(English, AReplayHashesAlikeInEitherLanguage) {
  const QByteArray golden = test::readAll(test::replayPath("fight.hashes"));
  const auto expected = sim::readHashLines(std::string_view(golden.constData(), golden.size()));
  ASSERT_TRUE(expected && expected->size() > 1000);
  for (Language first : {Language::english, Language::japanese}) {
    LanguageFor language(first);
    test::TestHost t({}, false);
    GameHost& host = t.host;
    std::vector<uint64_t> hashes;
    test::playCommands(host, test::replayHead("fight.zrp", 1 << 20), [&] {
      hashes.push_back(stateHash(host.game()));
      if (hashes.size() % 3 == 0) host.mainWindow().renderChanges();
      // Without running the event loop, whose timer would tick on its own.
      if (hashes.size() == expected->size() / 2)
        setLanguage(first == Language::english ? Language::japanese : Language::english);
    });
    EXPECT_EQ(hashes, *expected) << "first in " << qPrintable(languageCode(first));
  }
}

// Another language for the window at once, without the event loop: its
// timer would tick the game on between two pictures of the same moment.
void switchTo(GameHost& host, Language l) {
  setLanguage(l);
  QEvent change(QEvent::LanguageChange);
  QCoreApplication::sendEvent(&host.mainWindow(), &change);
}

// Pixels of the frame that may differ between the languages: wherever an
// item's caption or a printed text may fall in either of them.
QRegion textArea(GameHost& host) {
  const ScreenModel& m = host.game().screen;
  QRegion area;
  for (Language l : {Language::japanese, Language::english}) {
    switchTo(host, l);
    const QFontMetrics metrics(gameFont(9));
    for (const PrintedText& t : m.printed)
      area |= metrics.boundingRect(coreText(t.text.view()))
                  .translated(t.x, t.y + metrics.ascent())
                  .adjusted(-4, -4, 4, 4);
    visitStacking(m, [&](const Item& it, const Item* parent) {
      if (it.kind == Widget::Label || it.kind == Widget::TextBox || it.kind == Widget::Button ||
          it.kind == Widget::Option || it.kind == Widget::Check)
        area |= paintedArea(m, it, parent);
    });
  }
  return area;
}

QImage frameIn(GameHost& host, Language l) {
  switchTo(host, l);
  host.mainWindow().renderFrame();
  return host.mainWindow().frame().copy();
}

// The start panel, a set-up panel and the question, each painted in both
// languages: the arena, its walls and obstacles and both vehicles come out
// the same to the pixel. ZELKAR_SCREENSHOTS=folder keeps the windows as
// PNG files, to look at.
TEST(English, ScreensMatchTheJapaneseOnesWhereNoTextLies) {
  const struct {
    const char* name;
    int lines;  // of match_to_ten.zrp
  } screens[] = {{"start-panel", 4}, {"set-up", 6}, {"question", 4842}};
  const QString keep = qEnvironmentVariable("ZELKAR_SCREENSHOTS");
  for (const auto& s : screens) {
    SCOPED_TRACE(s.name);
    test::TestHost t({}, false);
    GameHost& host = t.host;
    test::playCommands(host, test::replayHead("match_to_ten.zrp", s.lines));
    const QImage japanese = frameIn(host, Language::japanese);
    const QImage japaneseWindow = host.mainWindow().grab().toImage();
    const QImage english = frameIn(host, Language::english);
    const QImage englishWindow = host.mainWindow().grab().toImage();
    EXPECT_NE(japaneseWindow, englishWindow);  // the texts, painted or widgets, did change
    if (!keep.isEmpty()) {
      japaneseWindow.save(QDir(keep).filePath(QString::fromLatin1(s.name) + "-ja.png"));
      englishWindow.save(QDir(keep).filePath(QString::fromLatin1(s.name) + "-en.png"));
    }
    const ScreenModel& m = host.game().screen;
    const QRegion same = QRegion(japanese.rect()) - textArea(host);
    switchTo(host, Language::japanese);
    for (const Item& vehicle : m.kyara) {
      if (vehicle.visible) {
        EXPECT_TRUE(same.contains(QRect(vehicle.left, vehicle.top, vehicle.width, vehicle.height)));
      }
    }
    int differing = 0, compared = 0;
    for (const QRect& r : same)
      for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x, ++compared)
          differing += japanese.pixel(x, y) != english.pixel(x, y);
    EXPECT_GT(compared, 793 * 579 / 2);
    EXPECT_EQ(differing, 0);
  }
}

}  // namespace
}  // namespace zelkar::qt
