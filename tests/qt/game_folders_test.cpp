#include "qt/game_folders.h"

#include <gtest/gtest.h>

#include "qt/config_location.h"
#include "qt_test_support.h"

namespace zelkar::qt {
namespace {

using test::writeAll;

// An installed tree under a scratch root: P/games for the program and
// P/share/games/zelkar for its data, as a package lays them out.
struct Tree {
  QTemporaryDir root;
  QString games = root.filePath(QStringLiteral("usr/games"));
  QString data = root.filePath(QStringLiteral("usr/share/games/zelkar"));
  Tree() {
    QDir().mkpath(games);
    QDir().mkpath(data);
  }
  static void addSounds(const QString& dir) { writeAll(dir + QStringLiteral("/fire.WAV"), "R"); }
};

const QString kDataFromGames = QStringLiteral("../share/games/zelkar");

TEST(GameFolders, TheSoundsDecideWhetherTheProgramsFolderIsTheGamesOwn) {
  struct Case {
    const char* name;
    bool soundsBeside, soundsInData;
    bool own;  // and with it: the sounds are read beside the program
  };
  for (const Case& c :
       {Case{"a build folder", true, false, true}, Case{"an installed tree", false, true, false},
        Case{"sounds in both places: the program's own wins", true, true, true},
        Case{"no sounds anywhere: silent, from its own folder", false, false, true}}) {
    Tree t;
    if (c.soundsBeside) Tree::addSounds(t.games);
    if (c.soundsInData) Tree::addSounds(t.data);
    const GameFolders f = findGameFolders(t.games, kDataFromGames);
    EXPECT_EQ(f.ownFolder, c.own) << c.name;
    EXPECT_EQ(f.program, t.games) << c.name;
    EXPECT_EQ(f.data, c.own ? t.games : t.data) << c.name;  // cleaned: no "games/../"
  }
  // Without a relative data path (no installed layout known) nothing is looked up.
  Tree t;
  Tree::addSounds(t.data);
  EXPECT_TRUE(findGameFolders(t.games, QString()).ownFolder);
}

// An installed program's folder is shared with other programs and belongs to
// the package manager: even where it can be written (root), config.txt goes to
// the user's folder, and the data folder's config.txt is the shared default
// until the user saves.
TEST(GameFolders, AnInstalledGameSavesInTheUsersFolderEvenWhereItsOwnIsWritable) {
  Tree t;
  Tree::addSounds(t.data);
  const QString xdg = t.root.filePath(QStringLiteral("xdg"));
  const GameFolders installed = findGameFolders(t.games, kDataFromGames);
  const ConfigLocation place = ConfigLocation::choose(installed, xdg, QStringLiteral("/home/u"));
  EXPECT_EQ(place.savePath(), xdg + QStringLiteral("/zelkar/config.txt"));

  const QString shared = t.data + QStringLiteral("/config.txt");
  writeAll(shared, " 0 \r\n20\r\n 1 \r\n");
  EXPECT_EQ(place.readPath(), shared);
  QDir().mkpath(xdg + QStringLiteral("/zelkar"));
  writeAll(place.savePath(), test::kInitialSettings);
  EXPECT_EQ(place.readPath(), place.savePath());

  // A build folder keeps its own config.txt, as before.
  Tree build;
  Tree::addSounds(build.games);
  EXPECT_EQ(ConfigLocation::choose(findGameFolders(build.games, kDataFromGames), xdg,
                                   QStringLiteral("/home/u"))
                .savePath(),
            build.games + QStringLiteral("/config.txt"));
}

}  // namespace
}  // namespace zelkar::qt
