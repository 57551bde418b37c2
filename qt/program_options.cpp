#include "qt/program_options.h"

#include <array>

namespace zelkar::qt {

namespace {

// The options Qt reads from the command line of any widget program, with
// one dash or two; those of the first list take a value.
constexpr std::array<const char*, 12> kQtWithValue = {
    "platform", "platformpluginpath", "platformtheme", "plugin",  "qwindowgeometry",
    "geometry", "qwindowicon",        "qwindowtitle",  "session", "display",
    "style",    "stylesheet"};
constexpr std::array<const char*, 3> kQtAlone = {"reverse", "widgetcount", "nograb"};

// The name of a Qt option at `arg` ("-platform", "--style=x"), or empty.
QString qtOptionName(const QString& arg) {
  if (!arg.startsWith(u'-')) return {};
  QString name = arg.mid(arg.startsWith(QLatin1String("--")) ? 2 : 1);
  name = name.section(u'=', 0, 0);
  for (const char* q : kQtWithValue)
    if (name == QLatin1String(q)) return name;
  for (const char* q : kQtAlone)
    if (name == QLatin1String(q)) return name;
  return {};
}

bool takesValue(const QString& qtName) {
  for (const char* q : kQtWithValue)
    if (qtName == QLatin1String(q)) return true;
  return false;
}

}  // namespace

ProgramOptions readProgramOptions(const QStringList& args) {
  ProgramOptions o;
  QStringList ours;
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString name = i == 0 ? QString() : qtOptionName(args[i]);
    if (name.isEmpty()) {
      ours << args[i];
    } else if (takesValue(name) && !args[i].contains(u'=')) {
      ++i;  // its value is Qt's too
    }
  }
  o.cpu = takeCpuOptions(ours);
  o.line = parseWithNet(ours, o.net);
  if (o.line.action == CommandLine::Action::run && !o.cpu.error.isEmpty()) {
    o.line.action = CommandLine::Action::error;
    o.line.error = o.cpu.error;
  }
  return o;
}

QString helpText(const QString& program) {
  return usageText(program) + netUsageText() + cpuUsageText();
}

}  // namespace zelkar::qt
