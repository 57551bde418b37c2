// The program's options: --seed N, --scale N, --record FILE, --replay FILE,
// --hashes FILE, --lang ja|en, --help, --version.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

#include "qt/language.h"

namespace zelkar::qt {

struct CommandLine {
  enum class Action { run, help, version, error };
  Action action = Action::run;
  std::optional<uint32_t> seed;      // a fixed arena; none: from the clock
  int scale = 1;                     // whole-number enlargement of the main window
  QString error;                     // what was wrong, for Action::error
  QString recordPath;                // write the match as a replay file; empty: none
  QString replayPath;                // play this replay file back; empty: none
  QString hashesPath;                // one state hash line per tick; empty: none
  std::optional<Language> language;  // the windows' language; none: as remembered
};

inline constexpr int kMaxScale = 8;  // 8 x 793 px is wider than any screen

// `args` as QCoreApplication::arguments() gives them: the program first.
CommandLine parseCommandLine(const QStringList& args);
QString usageText(const QString& program);

// A seed from the clock, for when the player fixed none.
uint32_t clockSeed();

}  // namespace zelkar::qt
