// Where config.txt is read and saved, and saved whole; where an installed
// game finds its data.
#include "qt/config_location.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QFileInfo>

#include "qt/game_folders.h"
#include "qt_test_support.h"

namespace zelkar::qt {
namespace {

using test::readAll;
using test::writeAll;

// The program's folder when it can be written, else the user's config
// folder: XDG_CONFIG_HOME when absolute, else ~/.config.
TEST(ConfigLocation, ProgramFolderWhenWritableElseUserConfig) {
  QTemporaryDir scratch;
  const QString program = scratch.filePath(QStringLiteral("bin"));
  QDir().mkpath(program);
  const QString locked = test::unwritableFolder(scratch);
  const struct {
    QString program;
    const char *xdg, *home;  // null: unset
    QString saved;
  } cases[] = {
      {program, "/xdg", "/home/u", program + QStringLiteral("/config.txt")},
      {locked, "/xdg", "/home/u", QStringLiteral("/xdg/zelkar/config.txt")},
      {locked, nullptr, "/home/u", QStringLiteral("/home/u/.config/zelkar/config.txt")},
      {locked, "rel/dir", "/home/u", QStringLiteral("/home/u/.config/zelkar/config.txt")},
      // A missing program folder cannot be written either.
      {scratch.filePath(QStringLiteral("gone")), "/xdg", "/h",
       QStringLiteral("/xdg/zelkar/config.txt")},
      // HOME unset: Qt's home is "/", which must not make "//.config"; nor
      // may a trailing slash double one.
      {locked, nullptr, "/", QStringLiteral("/.config/zelkar/config.txt")},
      {locked, nullptr, "/home/u/", QStringLiteral("/home/u/.config/zelkar/config.txt")},
      {locked, "/xdg/", nullptr, QStringLiteral("/xdg/zelkar/config.txt")},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ConfigLocation::choose(c.program, QString::fromUtf8(c.xdg), QString::fromUtf8(c.home))
                  .savePath(),
              c.saved)
        << qPrintable(c.program) << " " << (c.xdg ? c.xdg : "unset") << " "
        << (c.home ? c.home : "unset");
}

TEST(ConfigLocation, WithoutHomeTheAccountsHomeFolderIsUsed) {
  const QByteArray saved = qgetenv("HOME");
  const bool wasSet = qEnvironmentVariableIsSet("HOME");
  qunsetenv("HOME");
  const QString unset = homeFolder();
  qputenv("HOME", "relative/dir");
  const QString relative = homeFolder();
  qputenv("HOME", "/some/where");
  const QString set = homeFolder();
  if (wasSet)
    qputenv("HOME", saved);
  else
    qunsetenv("HOME");
  EXPECT_TRUE(unset.startsWith(u'/')) << qPrintable(unset);
  EXPECT_FALSE(unset.startsWith(QStringLiteral("//")));
  EXPECT_EQ(relative, unset);
  EXPECT_EQ(set, QStringLiteral("/some/where"));
}

TEST(ConfigLocation, AnOldSavesTemporaryFilesAreRemovedYoungOnesAndOthersKept) {
  QTemporaryDir scratch;
  const QString path = scratch.filePath(QStringLiteral("config.txt"));
  writeAll(path, " 1 \r\n10\r\n 0 \r\n");
  const auto make = [&](const char* name, int ageSeconds) {
    const QString f = scratch.filePath(QString::fromUtf8(name));
    writeAll(f, "x");
    QFile file(f);
    file.open(QIODevice::ReadWrite);
    file.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-ageSeconds),
                     QFileDevice::FileModificationTime);
  };
  make("config.txt.aB3xYz", 3600);          // left by a killed save
  make(".zelkar-write-test-Q1w2E3", 3600);  // left by a killed folder test
  make("config.txt.Fresh1", 0);             // another copy saving now
  make("config.txt.toolong7", 3600);        // not a name the save makes
  make("config.txt.bak", 3600);
  make("other.txt.aB3xYz", 3600);
  EXPECT_EQ(removeStaleSaves(path), 2);
  QStringList left = QDir(scratch.path()).entryList(QDir::Files | QDir::Hidden);
  left.sort();
  EXPECT_EQ(left,
            (QStringList{QStringLiteral("config.txt"), QStringLiteral("config.txt.Fresh1"),
                         QStringLiteral("config.txt.bak"), QStringLiteral("config.txt.toolong7"),
                         QStringLiteral("other.txt.aB3xYz")}));
  // A folder that does not exist yet has nothing to clean.
  EXPECT_EQ(removeStaleSaves(scratch.filePath(QStringLiteral("none/config.txt"))), 0);
}

TEST(SaveAtomically, WritesTheBytesAndMakesTheFolderOrReportsTheFailure) {
  QTemporaryDir scratch;
  const QString path = scratch.filePath(QStringLiteral("a/b/config.txt"));
  EXPECT_EQ(saveAtomically(path, " 1 \r\n10\r\n 0 \r\n"), QString());
  EXPECT_EQ(readAll(path), QByteArray(" 1 \r\n10\r\n 0 \r\n"));
  // A folder that cannot be made (its parent is a plain file), or written.
  writeAll(scratch.filePath(QStringLiteral("file")), "x");
  for (const QString& failing : {scratch.filePath(QStringLiteral("file/sub/config.txt")),
                                 test::unwritableFolder(scratch) + QStringLiteral("/config.txt")})
    EXPECT_FALSE(saveAtomically(failing, "y").isEmpty()) << qPrintable(failing);
}

TEST(SaveAtomically, AFullDiskLeavesTheOldSettingsWhole) {
  QTemporaryDir scratch;
  const QString path = scratch.filePath(QStringLiteral("config.txt"));
  writeAll(path, " 1 \r\n25\r\n 1 \r\n");
  // The save's write fails part-way, as it would on a full disk.
  QString reason;
  test::withFileSizeLimit(4, [&] { reason = saveAtomically(path, " 0 \r\n99\r\n 0 \r\n"); });
  EXPECT_FALSE(reason.isEmpty());
  EXPECT_EQ(readAll(path), QByteArray(" 1 \r\n25\r\n 1 \r\n"));
  EXPECT_EQ(QDir(scratch.path()).entryList(QDir::Files | QDir::Hidden),
            QStringList{QStringLiteral("config.txt")});
}

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

  EXPECT_EQ(place.readPath(), place.savePath());  // neither file yet: the error names the user's
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
