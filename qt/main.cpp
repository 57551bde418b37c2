// zelkar: the desktop program. Reads its options, loads the main window
// (asking for the settings first when config.txt cannot be read) and runs
// the event loop until the players are done.
#include <QApplication>
#include <QFileInfo>
#include <cstdio>

#include "qt/command_line.h"
#include "qt/config_location.h"
#include "qt/game_host.h"
#include "qt/japanese_font.h"

namespace {

QStringList rawArguments(int argc, char** argv) {
  QStringList args;
  for (int i = 0; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
  return args;
}

}  // namespace

int main(int argc, char** argv) {
  // --help and --version must answer without a display: look before Qt.
  const QStringList raw = rawArguments(argc, argv);
  const QString program = QFileInfo(raw.value(0)).fileName();
  const auto early = zelkar::qt::parseCommandLine(raw).action;
  if (early == zelkar::qt::CommandLine::Action::help) {
    std::fputs(qPrintable(zelkar::qt::usageText(program)), stdout);
    return 0;
  }
  if (early == zelkar::qt::CommandLine::Action::version) {
    std::printf("zelkar %s\n", ZELKAR_VERSION);
    return 0;
  }

  // Qt takes its own options (-platform, -display ...) out of argv here.
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("zelkar"));
  QApplication::setApplicationVersion(QStringLiteral(ZELKAR_VERSION));
  const zelkar::qt::CommandLine options = zelkar::qt::parseCommandLine(QApplication::arguments());
  switch (options.action) {
    case zelkar::qt::CommandLine::Action::help:
      std::fputs(qPrintable(zelkar::qt::usageText(program)), stdout);
      return 0;
    case zelkar::qt::CommandLine::Action::version:
      std::printf("zelkar %s\n", ZELKAR_VERSION);
      return 0;
    case zelkar::qt::CommandLine::Action::error:
      std::fprintf(stderr, "%s: %s\n%s", qPrintable(program), qPrintable(options.error),
                   qPrintable(zelkar::qt::usageText(program)));
      return 2;
    case zelkar::qt::CommandLine::Action::run:
      break;
  }

  QApplication::setFont(zelkar::qt::gameFont(9));
  zelkar::qt::GameHost host({options.scale, zelkar::qt::ConfigLocation::forThisRun(),
                             QApplication::applicationDirPath()});
  host.load(options.seed.value_or(zelkar::qt::clockSeed()));
  if (host.ended()) return 0;
  return QApplication::exec();
}
