#include "qt/command_line.h"

#include <chrono>

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
  for (qsizetype i = 1; i < args.size(); ++i) {
    if (args[i] == QLatin1String("--help") || args[i] == QLatin1String("-h"))
      return {CommandLine::Action::help, std::nullopt, 1, {}};
    if (args[i] == QLatin1String("--version"))
      return {CommandLine::Action::version, std::nullopt, 1, {}};
  }
  CommandLine out;
  auto fail = [&out](QString why) {
    out.action = CommandLine::Action::error;
    out.error = std::move(why);
  };
  for (qsizetype i = 1; i < args.size() && out.action == CommandLine::Action::run; ++i) {
    const QString& arg = args[i];
    if (auto v = valueOf(args, i, QStringLiteral("--seed"), out)) {
      bool ok = false;
      const uint seed = v->toUInt(&ok);
      if (ok)
        out.seed = uint32_t(seed);
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
    } else if (out.action == CommandLine::Action::run) {
      fail(QStringLiteral("unknown option \"%1\"").arg(arg));
    }
  }
  return out;
}

QString usageText(const QString& program) {
  return QStringLiteral(
             "Usage: %1 [--seed N] [--scale N]\n"
             "A two-player vehicle battle on one keyboard.\n"
             "\n"
             "  --seed N    build the arena from the random seed N instead of the clock\n"
             "  --scale N   show the window N times larger (1 to %2)\n"
             "  --help      show this help and exit\n"
             "  --version   show the version and exit\n")
      .arg(program)
      .arg(kMaxScale);
}

uint32_t clockSeed() {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  return uint32_t(std::chrono::duration_cast<std::chrono::microseconds>(now).count());
}

}  // namespace zelkar::qt
