#include "qt/cpu_options.h"

namespace zelkar::qt {

namespace {

// The value of option `name` at args[i], as "--name X" or "--name=X";
// removes what it read. False when args[i] is another option.
bool takeValue(QStringList& args, qsizetype i, const QString& name, QString& value, bool& missing) {
  const QString& a = args[i];
  if (a == name) {
    if (i + 1 >= args.size()) {
      missing = true;
      args.removeAt(i);
      return true;
    }
    value = args[i + 1];
    args.remove(i, 2);
    return true;
  }
  if (a.startsWith(name + QLatin1Char('='))) {
    value = a.mid(name.size() + 1);
    args.removeAt(i);
    return true;
  }
  return false;
}

}  // namespace

CpuOptions takeCpuOptions(QStringList& args) {
  CpuOptions o;
  const QString cpu = QStringLiteral("--cpu"), level = QStringLiteral("--cpu-level");
  for (qsizetype i = 1; i < args.size();) {
    if (args[i] == QLatin1String("--")) break;  // what follows is not an option
    QString value;
    bool missing = false;
    if (takeValue(args, i, level, value, missing)) {
      bool ok = false;
      const int n = value.toInt(&ok);
      if (missing || !ok || n < kMinCpuLevel || n > kMaxCpuLevel)
        o.error = QStringLiteral("--cpu-level takes 1, 2 or 3");
      else
        o.level = n;
    } else if (takeValue(args, i, cpu, value, missing)) {
      if (value == QLatin1String("left"))
        o.sides[1] = true;
      else if (value == QLatin1String("right"))
        o.sides[0] = true;
      else if (value == QLatin1String("both"))
        o.sides = {true, true};
      else
        o.error = QStringLiteral("--cpu takes left, right or both");
    } else {
      ++i;
    }
  }
  return o;
}

QString cpuUsageText() {
  return QStringLiteral(
      "  --cpu left|right|both  the computer plays that side (or both)\n"
      "  --cpu-level N          the computer's strength: 1 beginner, 2, 3 strongest (default 3)\n");
}

}  // namespace zelkar::qt
