// zelkar: the desktop program. Reads its options, loads the main window
// (asking for the settings first when config.txt cannot be read) and runs
// the event loop until the players are done.
#include <QApplication>
#include <QFileInfo>
#include <cstdio>
#include <optional>

#include "qt/command_line.h"
#include "qt/config_location.h"
#include "qt/cpu_options.h"
#include "qt/cpu_seats.h"
#include "qt/game_host.h"
#include "qt/japanese_font.h"
#include "qt/main_window.h"
#include "qt/message_box.h"
#include "qt/run_files.h"
#include "qt/run_stats.h"
#include "qt/signal_close.h"

namespace {

constexpr int kExitBadStart = 2;  // a bad option, or a file that cannot be read or written

QStringList rawArguments(int argc, char** argv) {
  QStringList args;
  for (int i = 0; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
  return args;
}

// Whether Qt may find a display: without one it would abort before the
// message box could say anything.
bool displayNamed() {
  return !qEnvironmentVariableIsEmpty("DISPLAY") ||
         !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
         !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

// Platforms on which no one could click a box away.
bool windowsAreSeen() {
  const QString p = QGuiApplication::platformName();
  return p != QLatin1String("offscreen") && p != QLatin1String("minimal");
}

}  // namespace

int main(int argc, char** argv) {
  // --help and --version must answer without a display: look before Qt.
  QStringList raw = rawArguments(argc, argv);
  const zelkar::qt::CpuOptions earlyCpu = zelkar::qt::takeCpuOptions(raw);
  const QString program = QFileInfo(raw.value(0)).fileName();
  const auto early = zelkar::qt::parseCommandLine(raw).action;
  if (early == zelkar::qt::CommandLine::Action::help) {
    std::fputs(qPrintable(zelkar::qt::usageText(program) + zelkar::qt::cpuUsageText()), stdout);
    return 0;
  }
  if (early == zelkar::qt::CommandLine::Action::version) {
    std::printf("zelkar %s\n", ZELKAR_VERSION);
    return 0;
  }

  // Files are read and opened before the display is, so that a broken replay
  // or a recording that cannot be written is refused even with no display.
  // Qt's own options (-platform ...) fail this early reading; the files are
  // then opened once Qt has taken its options out.
  std::optional<zelkar::qt::RunFiles> files;
  if (early == zelkar::qt::CommandLine::Action::run) {
    files = zelkar::qt::openRunFiles(zelkar::qt::parseCommandLine(raw));
    if (!files->error.isEmpty()) {
      std::fprintf(stderr, "%s: %s\n", qPrintable(program), qPrintable(files->error));
      if (!displayNamed()) return kExitBadStart;
    }
  }

  // Qt takes its own options (-platform, -display ...) out of argv here.
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("zelkar"));
  QApplication::setApplicationVersion(QStringLiteral(ZELKAR_VERSION));
  QStringList qtArgs = QApplication::arguments();
  const zelkar::qt::CpuOptions cpuOptions = zelkar::qt::takeCpuOptions(qtArgs);
  const zelkar::qt::CommandLine options = zelkar::qt::parseCommandLine(qtArgs);
  switch (options.action) {
    case zelkar::qt::CommandLine::Action::help:
      std::fputs(qPrintable(zelkar::qt::usageText(program) + zelkar::qt::cpuUsageText()), stdout);
      return 0;
    case zelkar::qt::CommandLine::Action::version:
      std::printf("zelkar %s\n", ZELKAR_VERSION);
      return 0;
    case zelkar::qt::CommandLine::Action::error:
      std::fprintf(stderr, "%s: %s\n%s", qPrintable(program), qPrintable(options.error),
                   qPrintable(zelkar::qt::usageText(program)));
      return kExitBadStart;
    case zelkar::qt::CommandLine::Action::run:
      break;
  }
  if (!earlyCpu.error.isEmpty() || !cpuOptions.error.isEmpty()) {
    const QString error = earlyCpu.error.isEmpty() ? cpuOptions.error : earlyCpu.error;
    std::fprintf(stderr, "%s: %s\n", qPrintable(program), qPrintable(error));
    return kExitBadStart;
  }
  if (!files) {
    files = zelkar::qt::openRunFiles(options);
    if (!files->error.isEmpty())
      std::fprintf(stderr, "%s: %s\n", qPrintable(program), qPrintable(files->error));
  }
  if (!files->error.isEmpty()) {
    if (windowsAreSeen()) zelkar::qt::showMessageBox(nullptr, files->error, program);
    return kExitBadStart;
  }

  QApplication::setFont(zelkar::qt::gameFont(9));
  std::optional<zelkar::qt::RunStats> stats;
  if (zelkar::qt::RunStats::wanted()) stats.emplace();
  const uint32_t seed =
      files->replay ? files->replay->seed() : options.seed.value_or(zelkar::qt::clockSeed());
  zelkar::qt::CpuSeats cpu(cpuOptions, seed);
  zelkar::qt::GameHost host({options.scale, zelkar::qt::ConfigLocation::forThisRun(),
                             QApplication::applicationDirPath(), stats ? &*stats : nullptr,
                             files->recorder.get(), files->hashes.get(), files->replay.get(),
                             &cpu});
  if (!files->replay) cpu.attach(&host.mainWindow(), options.scale);
  // A kill must not cut the files short: it closes the window instead.
  std::optional<zelkar::qt::SignalClose> signalClose;
  if (files->recorder || files->hashes) signalClose.emplace([&host] { host.mainWindow().close(); });
  host.load(seed);
  if (host.ended()) return 0;
  const int status = QApplication::exec();
  if (stats) stats->printTicks();
  return status;
}
