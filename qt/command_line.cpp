#include "qt/command_line.h"

#include <chrono>
#include <string_view>

#include "events/script.h"

namespace zelkar::qt {

namespace {

// "--name value" or "--name=value"; advances i past what it used.
std::optional<QString> valueOf(const QStringList& args, qsizetype& i, const QString& name,
                               CommandLine& out) {
  const QString& arg = args[i];
  if (arg.startsWith(name + u'=')) return arg.mid(name.size() + 1);
  if (arg != name) return std::nullopt;
  if (i + 1 >= args.size()) {
    out.action = CommandLine::Action::error;
    out.error = QStringLiteral("%1 needs a value").arg(name);
    return std::nullopt;
  }
  return args[++i];
}

}  // namespace

CommandLine parseCommandLine(const QStringList& args) {
  // --help and --version answer whatever else is on the line, wrong or not.
  CommandLine out;
  for (qsizetype i = 1; i < args.size(); ++i) {
    if (args[i] == QLatin1String("--help") || args[i] == QLatin1String("-h")) {
      out.action = CommandLine::Action::help;
      return out;
    }
    if (args[i] == QLatin1String("--version")) {
      out.action = CommandLine::Action::version;
      return out;
    }
  }
  auto fail = [&out](QString why) {
    out.action = CommandLine::Action::error;
    out.error = std::move(why);
  };
  // "--record=" would record nowhere rather than say so.
  auto file = [&fail](const QString& name, const QString& value, QString& path) {
    if (value.isEmpty())
      fail(QStringLiteral("%1 needs a file name").arg(name));
    else
      path = value;
  };
  for (qsizetype i = 1; i < args.size() && out.action == CommandLine::Action::run; ++i) {
    const QString& arg = args[i];
    if (auto v = valueOf(args, i, QStringLiteral("--seed"), out)) {
      // zelkar-sim's reading, so that one seed text is one arena in both.
      const QByteArray text = v->toUtf8();
      if (auto seed = sim::parseSeed(std::string_view(text.constData(), std::size_t(text.size()))))
        out.seed = *seed;
      else
        fail(
            QStringLiteral("--seed wants a whole number from 0 to 4294967295, not \"%1\"").arg(*v));
    } else if (auto v = valueOf(args, i, QStringLiteral("--scale"), out)) {
      bool ok = false;
      const int scale = v->toInt(&ok);
      if (ok && scale >= 1 && scale <= kMaxScale)
        out.scale = scale;
      else
        fail(QStringLiteral("--scale wants a whole number from 1 to %1, not \"%2\"")
                 .arg(kMaxScale)
                 .arg(*v));
    } else if (auto v = valueOf(args, i, QStringLiteral("--record"), out)) {
      file(QStringLiteral("--record"), *v, out.recordPath);
    } else if (auto v = valueOf(args, i, QStringLiteral("--replay"), out)) {
      file(QStringLiteral("--replay"), *v, out.replayPath);
    } else if (auto v = valueOf(args, i, QStringLiteral("--hashes"), out)) {
      file(QStringLiteral("--hashes"), *v, out.hashesPath);
    } else if (auto v = valueOf(args, i, QStringLiteral("--lang"), out)) {
      if (auto language = languageFromCode(*v))
        out.language = *language;
      else
        fail(QStringLiteral("--lang wants ja or en, not \"%1\"").arg(*v));
    } else if (out.action == CommandLine::Action::run) {
      fail(QStringLiteral("unknown option \"%1\"").arg(arg));
    }
  }
  // A replay plays what a file says; recording it again would only copy it.
  if (out.action == CommandLine::Action::run && !out.recordPath.isEmpty() &&
      !out.replayPath.isEmpty())
    fail(QStringLiteral("--record and --replay cannot be used together"));
  return out;
}

QString usageText(const QString& program) {
  return QStringLiteral(
             "Usage: %1 [--seed N] [--scale N] [--record FILE | --replay FILE] [--hashes FILE]\n"
             "         [--cpu left|right|both] [--cpu-level N] [--sync-test N]\n"
             "         [--host [PORT] | --join HOST[:PORT]] [--code CODE] [--side left|right]\n"
             "         [--input-delay N] [--lang ja|en]\n"
             "       %1 --online | --host [PORT] --meet HOST[:PORT] | --join CODE --meet "
             "HOST[:PORT]\n"
             "         [--no-portmap]\n"
             "       %1 --help | --version\n"
             "A two-player vehicle battle on one keyboard.\n"
             "\n"
             "  --seed N        build the arena from the random seed N instead of the clock\n"
             "                  (with --replay: the seed of a file that sets none)\n"
             "  --scale N       show the window N times larger (1 to %2)\n"
             "  --record FILE   write the match into FILE as a replay: the seed, the\n"
             "                  settings and every event the game handled, in order\n"
             "  --replay FILE   play FILE back with its seed and settings (config.txt is\n"
             "                  left alone); the players' keys are ignored, but Ctrl+F2\n"
             "                  stops the match and the replay\n"
             "  --hashes FILE   write a line \"TICK HASH\" after every tick, the same lines\n"
             "                  as zelkar-sim --dump hash prints for the same events\n"
             "  --lang ja|en    show the windows in Japanese (the game's own language) or\n"
             "                  English, and remember nothing; without it the language\n"
             "                  chosen in the settings window (Ctrl+F1), Japanese at first\n"
             "  --help          show this help and exit\n"
             "  --version       show the version and exit\n"
             "\n"
             "zelkar-sim --script FILE plays a recorded FILE without a window.\n"
             "Exit status: 0 done; 1 the recording or the hash list failed while it was\n"
             "written (the game went on); 2 a bad option, a file that cannot be read or\n"
             "written, or no display; 3 the online session failed (lost, refused, out of\n"
             "step); 128+N ended by signal N (files written so far kept).\n")
      .arg(program)
      .arg(kMaxScale);
}

uint32_t clockSeed() {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  return uint32_t(std::chrono::duration_cast<std::chrono::microseconds>(now).count());
}

}  // namespace zelkar::qt
