// Where the program finds its read-only files, and whether its own folder
// is the game's to keep config.txt in.
//
// Two layouts: a self-contained folder (the build, or a copy of it) holds
// the program and its sounds together; an installed game has its program
// in a folder shared with other programs (/usr/games) and its sounds in a
// data folder found by a fixed path relative to the program, so an
// installation unpacked under any root finds its own files.
#pragma once

#include <QString>

namespace zelkar::qt {

struct GameFolders {
  QString program;  // the folder the program runs from
  QString data;     // the folder of the four WAV files
  // True when `program` is the game's own folder. Otherwise the program sits
  // among other programs, where even root must not leave a config.txt.
  bool ownFolder = true;
};

// `dataFromProgram` is the data folder's path relative to the installed
// program's folder. The program's own folder wins when it holds the sounds,
// and also when the data folder does not hold them either (the game then
// plays silently, as before, from its own folder).
GameFolders findGameFolders(const QString& programDir, const QString& dataFromProgram);

}  // namespace zelkar::qt
