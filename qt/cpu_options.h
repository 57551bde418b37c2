// The computer player's options of the desktop program:
//   --cpu left|right|both   the computer plays that side (or both)
//   --cpu-level 1..3        its strength (3 unless given)
// They are taken out of the argument list before the other options are
// read, so the rest of the command line reads as before.
#pragma once

#include <QString>
#include <QStringList>
#include <array>

#include "app/computer_levels.h"

namespace zelkar::qt {

struct CpuOptions {
  std::array<bool, 2> sides{};  // [0] the right player, [1] the left player
  int level = kDefaultCpuLevel;
  QString error;  // what was wrong; empty when all is well
};

// Removes --cpu and --cpu-level (as "--cpu X" or "--cpu=X") from `args`.
CpuOptions takeCpuOptions(QStringList& args);

// The lines --help adds for these options.
QString cpuUsageText();

}  // namespace zelkar::qt
