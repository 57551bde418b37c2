// Where config.txt lives for this run, and how it is written. The place is
// chosen once at start-up and kept: the program's folder when files can be
// made there, else the user's configuration folder.
#pragma once

#include <QByteArray>
#include <QString>
#include <chrono>

#include "qt/game_folders.h"
#include "settings/config_file.h"

namespace zelkar::qt {

class ConfigLocation {
 public:
  // `programDir`'s config.txt when a file can be created in that folder,
  // else $XDG_CONFIG_HOME/zelkar/config.txt (`xdgConfigHome` empty or
  // relative means ~/.config, as the XDG rules say).
  static ConfigLocation choose(const QString& programDir, const QString& xdgConfigHome,
                               const QString& home);
  // The same for a game's folders: an installed game (not its own folder)
  // always saves in the user's folder, with the data folder's config.txt as
  // the shared default, for its program's folder is not the game's to write.
  static ConfigLocation choose(const GameFolders& folders, const QString& xdgConfigHome,
                               const QString& home);
  // The place for this run: the game's folders and this user's environment.
  static ConfigLocation forThisRun(const GameFolders& folders);

  ConfigLocation() = default;  // no file: for options that name theirs later
  ConfigLocation(QString savePath, QString programFile)
      : savePath_(std::move(savePath)), programFile_(std::move(programFile)) {}

  const QString& savePath() const { return savePath_; }
  // The chosen file when it exists; otherwise the program folder's own
  // file, which a read-only installation may carry as the shared default.
  QString readPath() const;
  ConfigRead read() const;

 private:
  QString savePath_;
  QString programFile_;
};

// This user's home folder: $HOME when it is an absolute path, else the
// account's home from the system, else "/".
QString homeFolder();

// Removes the temporary files that a save cut off by SIGKILL or a power
// loss left beside `savePath` (config.txt.XXXXXX), and those of the folder
// write test, when they are older than `olderThan`: a younger one may be
// another running copy's save in progress. Returns how many were removed.
int removeStaleSaves(const QString& savePath,
                     std::chrono::seconds olderThan = std::chrono::seconds(60));

// Writes `bytes` to `path` through a temporary file that replaces the old
// file only once it is complete, so a failed or interrupted save leaves the
// old file whole. Creates the folder when missing. Returns the reason of a
// failure, or an empty string on success.
QString saveAtomically(const QString& path, const QByteArray& bytes);

}  // namespace zelkar::qt
