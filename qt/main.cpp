// zelkar: the desktop program. Reads its options, loads the main window
// (asking for the settings first when config.txt cannot be read) and runs
// the event loop until the players are done.
#include <QApplication>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>

#include "headless/printable.h"
#include "qt/command_line.h"
#include "qt/config_location.h"
#include "qt/connect_dialog.h"
#include "qt/cpu_seats.h"
#include "qt/game_host.h"
#include "qt/language.h"
#include "qt/main_window.h"
#include "qt/meet_setting.h"
#include "qt/message_box.h"
#include "qt/net_play.h"
#include "qt/program_options.h"
#include "qt/run_files.h"
#include "qt/run_stats.h"
#include "qt/signal_close.h"
#ifdef ZELKAR_PADS
#include "qt/pad_input.h"
#endif

namespace {

constexpr int kExitOutputFailed = 1;  // the recording or hash list failed during the run
constexpr int kExitBadStart = 2;      // a bad option, a file, or no display

QString programName;

QStringList rawArguments(int argc, char** argv) {
  QStringList args;
  for (int i = 0; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
  return args;
}

// One line on standard error, its control characters shown escaped: a
// file name or an option may hold any byte.
void tell(const QString& text) {
  std::fprintf(stderr, "%s: %s\n", zelkar::sim::printable(programName.toStdString()).c_str(),
               zelkar::sim::printable(text.toStdString()).c_str());
}

// Whether Qt may find a display. Without any of these it would abort with
// its own page of text; a named display that cannot be reached is caught
// by stopOnFatal below.
bool displayNamed(const QStringList& raw) {
  for (const QString& a : raw)
    if (a == QLatin1String("-platform") || a == QLatin1String("--platform") ||
        a == QLatin1String("-display") || a == QLatin1String("--display"))
      return true;
  return !qEnvironmentVariableIsEmpty("DISPLAY") ||
         !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
         !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

// While the display is opened: Qt's complaints are kept, and the fatal one
// (no platform could start) becomes our one line and status 2 instead of
// an abort with a core dump.
QString firstComplaint;
QStringList complaints;  // told after all when the display did open
void stopOnFatal(QtMsgType type, const QMessageLogContext&, const QString& text) {
  complaints << text;
  if (type == QtFatalMsg) {
    tell(QStringLiteral("cannot open the display%1")
             .arg(firstComplaint.isEmpty() ? QString()
                                           : QStringLiteral(" (") + firstComplaint + u')'));
    std::fflush(stderr);
    std::_Exit(kExitBadStart);
  }
  if (type != QtDebugMsg && firstComplaint.isEmpty()) firstComplaint = text.section(u'\n', 0, 0);
}

// Platforms on which no one could click a box away.
bool windowsAreSeen() {
  const QString p = QGuiApplication::platformName();
  return p != QLatin1String("offscreen") && p != QLatin1String("minimal");
}

int refuse(const QStringList& errors) {
  for (const QString& e : errors) tell(e);
  return kExitBadStart;
}

}  // namespace

int main(int argc, char** argv) {
  using zelkar::qt::CommandLine;
  // Read once, before Qt: --help and --version answer without a display,
  // and a mistake is told even where no window could appear.
  const QStringList raw = rawArguments(argc, argv);
  programName = QFileInfo(raw.value(0)).fileName();
  zelkar::qt::ProgramOptions program = zelkar::qt::readProgramOptions(raw);
  const CommandLine& options = program.line;
  zelkar::qt::NetOptions& net = program.net;
  switch (options.action) {
    case CommandLine::Action::help:
      std::fputs(qPrintable(zelkar::qt::helpText(programName)), stdout);
      return 0;
    case CommandLine::Action::version:
      std::printf("zelkar %s\n", ZELKAR_VERSION);
      return 0;
    case CommandLine::Action::error:
      tell(options.error);
      std::fputs(qPrintable(zelkar::qt::helpText(programName)), stderr);
      return kExitBadStart;
    case CommandLine::Action::run:
      break;
  }

  // The files the options name are checked before the display is opened;
  // with a display the refusal is also shown in a box, below. Nothing is
  // written yet.
  zelkar::qt::RunFiles files;
  zelkar::qt::checkRunFiles(options, files);
  const bool named = displayNamed(raw);
  if (!files.ok() && !named) return refuse(files.errors);
  if (!named) {
    tell(QStringLiteral(
        "no display: DISPLAY and WAYLAND_DISPLAY are not set (QT_QPA_PLATFORM=offscreen "
        "runs without one)"));
    return kExitBadStart;
  }

  // On X11 the arena reaches the server as a few small patches a frame.
  // Sent over the connection they cost less than shared memory does, since
  // with it Qt waits on the server before painting over what it was last
  // sent, at every frame of a match (about a sixth of the program's
  // processor time). The player's own setting, if any, stands.
  if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) qputenv("QT_XCB_NO_MITSHM", "1");
  // Qt's own event loop rather than GLib's: the window wakes at every tick
  // and every frame, and GLib's rounds of source checks cost about a tenth
  // of the program's processor time in a match. Nothing here needs GLib's
  // loop; the player's own setting stands.
  if (!qEnvironmentVariableIsSet("QT_NO_GLIB")) qputenv("QT_NO_GLIB", "1");

  // Qt takes its own options (-platform, -display ...) out of argv here.
  qInstallMessageHandler(stopOnFatal);
  QApplication app(argc, argv);
  qInstallMessageHandler(nullptr);
  for (const QString& c : complaints) std::fprintf(stderr, "%s\n", qPrintable(c));
  QApplication::setApplicationName(QStringLiteral("zelkar"));
  QApplication::setApplicationVersion(QStringLiteral(ZELKAR_VERSION));

  // From here a signal ends the program after the files are complete, at
  // any moment: also inside the settings window that load may show first.
  zelkar::qt::GameHost* running = nullptr;
  std::optional<zelkar::qt::NetPlay> netPlay;
  // The connect window while it is open, then what it connected: the
  // port mapping lives as long as the session.
  zelkar::qt::ConnectDialog* connecting = nullptr;
  std::unique_ptr<zelkar::qt::ConnectFlow> connection;
  zelkar::qt::SignalClose signalClose([&](int signal) {
    // The socket closes and the router forgets the port before the end.
    if (connecting != nullptr) connecting->abandon();
    connection.reset();
    if (running != nullptr) running->end();
    if (files.recorder) files.recorder->comment("ended by signal " + std::to_string(signal));
    files.finishOutputs();
    if (netPlay) netPlay->writeRecord();  // the online recording, kept however it ends
    zelkar::qt::SignalClose::dieBy(signal);
  });

  if (files.ok()) zelkar::qt::openOutputs(options, files);
  if (!files.ok()) {
    if (windowsAreSeen())
      zelkar::qt::showMessageBox(nullptr, files.errors.join(u'\n'), programName);
    return refuse(files.errors);
  }

  // The language before any window: the command line's for this run, else
  // the one remembered beside config.txt. setLanguage sets the font too.
  const zelkar::qt::GameFolders folders = zelkar::qt::findGameFolders(
      QApplication::applicationDirPath(), QStringLiteral(ZELKAR_DATA_FROM_PROGRAM));
  const zelkar::qt::ConfigLocation config = zelkar::qt::ConfigLocation::forThisRun(folders);
  zelkar::qt::setLanguage(options.language.value_or(
      zelkar::qt::readLanguageChoice(zelkar::qt::languageFilePath(config.savePath()))
          .value_or(zelkar::qt::Language::japanese)));
  // The connect window (--online, or --host/--join through a meeting
  // point): the main window opens once the link is up, and plays over it.
  if (net.dialog || net.meet) {
    zelkar::qt::ConnectDialog dialog(zelkar::qt::meetFilePath(config.savePath()), net);
    connecting = &dialog;
    if (!net.dialog) dialog.startPreset();
    const int result = dialog.exec();
    connecting = nullptr;
    if (result != QDialog::Accepted) return result;  // closed (0), or failed unattended
    connection = dialog.takeFlow();
    const QString recordPath = net.recordPath;
    net = dialog.options();
    net.recordPath = recordPath;
    netPlay.emplace(net, net.recordPath);
    netPlay->adopt(connection->takeLink(), connection->path());
  } else if (net.role != zelkar::qt::NetOptions::Role::none) {
    // Online play: the link opens before the window, so a port in use is
    // said at once.
    if (net.code.isEmpty() && net.role == zelkar::qt::NetOptions::Role::host)
      net.code = zelkar::qt::makeSessionCode((uint64_t(zelkar::qt::clockSeed()) << 32) ^
                                             uint64_t(std::random_device{}()));
    if (net.code.isEmpty()) {
      bool ok = false;
      net.code = QInputDialog::getText(
                     nullptr, QApplication::translate("Online", "通信対戦"),
                     QApplication::translate("Online", "セッションコードを入力して下さい。"),
                     QLineEdit::Normal, QString(), &ok)
                     .trimmed();
      if (!ok || net.code.isEmpty()) return 0;
    }
    netPlay.emplace(net, net.recordPath);
    QString error;
    if (!netPlay->open(error)) {
      tell(error);
      if (windowsAreSeen()) zelkar::qt::showMessageBox(nullptr, error, programName);
      return kExitBadStart;
    }
  }
  std::optional<zelkar::qt::RunStats> stats;
  if (zelkar::qt::RunStats::wanted()) stats.emplace();
  zelkar::qt::removeStaleSaves(config.savePath());
  const uint32_t seed =
      files.replay ? files.replay->seed() : options.seed.value_or(zelkar::qt::clockSeed());
  // Outlives the host, which asks it for the computer's keys before each tick.
  zelkar::qt::CpuSeats cpu(program.cpu, seed);
  zelkar::qt::GameHost host({options.scale, config, folders.data, stats ? &*stats : nullptr,
                             files.recorder.get(), files.hashes.get(), files.replay.get(),
                             netPlay ? &*netPlay : nullptr, net.syncTest, &cpu});
  // A replay already holds the computer's keys; online, both seats are people.
  if (!files.replay && !netPlay) cpu.attach(&host.mainWindow(), options.scale);
  running = &host;
#ifdef ZELKAR_PADS
  // Destroyed before the host: it watches the main window's keys.
  const auto pads = zelkar::qt::startPads(host);
#endif
  host.load(seed);
  int status = host.ended() ? 0 : QApplication::exec();
  running = nullptr;
  if (stats) stats->printTicks();
  if (!files.finishOutputs() && status == 0) status = kExitOutputFailed;
  // A session that failed (the connection lost, the codes differed ...) is
  // not a success.
  if (netPlay && netPlay->failed() && status == 0) status = zelkar::qt::NetPlay::kExitFailed;
  // A signal that came as the event loop ended was never handled.
  if (const int signal = zelkar::qt::SignalClose::received())
    zelkar::qt::SignalClose::dieBy(signal);
  return status;
}
