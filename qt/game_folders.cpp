#include "qt/game_folders.h"

#include <QDir>
#include <QFileInfo>

namespace zelkar::qt {

namespace {

// The shot's sound stands for all four: the build makes them together.
bool holdsSounds(const QString& dir) {
  return QFileInfo(dir + QStringLiteral("/fire.WAV")).isFile();
}

}  // namespace

GameFolders findGameFolders(const QString& programDir, const QString& dataFromProgram) {
  if (!dataFromProgram.isEmpty() && !holdsSounds(programDir)) {
    const QString data = QDir::cleanPath(programDir + u'/' + dataFromProgram);
    if (holdsSounds(data)) return {programDir, data, false};
  }
  return {programDir, programDir, true};
}

}  // namespace zelkar::qt
