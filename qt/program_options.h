// The whole command line of the desktop program, read once and before Qt
// opens the display: the program's own options (command_line.h), online
// play's (net_options.h) and the computer player's (cpu_options.h). Qt's own
// options (-platform, -display ...) are passed over here; QApplication
// takes them from argv.
#pragma once

#include <QString>
#include <QStringList>

#include "qt/command_line.h"
#include "qt/cpu_options.h"
#include "qt/net_options.h"

namespace zelkar::qt {

struct ProgramOptions {
  CommandLine line;  // what to do, and the local options; the first mistake
  NetOptions net;
  CpuOptions cpu;
};

// `args` as the program got them, its name first.
ProgramOptions readProgramOptions(const QStringList& args);

// --help's text: the usage line, which names every option, then each
// option explained.
QString helpText(const QString& program);

}  // namespace zelkar::qt
