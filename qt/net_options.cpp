#include "qt/net_options.h"

#include "headless/net_options.h"
#include "net/sync_test.h"

namespace zelkar::qt {

namespace {

// "--name value" or "--name=value"; nullopt when args[i] is not --name.
// A missing value is an empty string with `missing` set.
std::optional<QString> valueOf(const QStringList& args, qsizetype& i, const QString& name,
                               bool& missing) {
  const QString& arg = args[i];
  if (arg.startsWith(name + u'=')) return arg.mid(name.size() + 1);
  if (arg != name) return std::nullopt;
  if (i + 1 >= args.size()) {
    missing = true;
    return QString();
  }
  return args[++i];
}

std::optional<int> wholeIn(const QString& v, int lo, int hi) {
  bool ok = false;
  const int n = v.toInt(&ok);
  if (!ok || n < lo || n > hi || v.trimmed() != v || v.startsWith(u'+')) return std::nullopt;
  return n;
}

}  // namespace

NetOptions takeNetOptions(QStringList& args) {
  NetOptions out;
  QStringList rest;
  if (!args.isEmpty()) rest << args.front();
  auto fail = [&out](const QString& why) {
    if (out.error.isEmpty()) out.error = why;
  };
  for (qsizetype i = 1; i < args.size(); ++i) {
    const QString& arg = args[i];
    bool missing = false;
    if (arg == QLatin1String("--host") || arg.startsWith(QLatin1String("--host="))) {
      // The port is optional: a next word that is another option is not it.
      QString v;
      if (arg.startsWith(QLatin1String("--host=")))
        v = arg.mid(7);
      else if (i + 1 < args.size() && !args[i + 1].startsWith(QLatin1String("--")))
        v = args[++i];
      else
        v = QString::number(net::kDefaultPort);
      const auto at = net::parseListenAddress(v.toStdString());
      if (!at)
        fail(QStringLiteral("--host wants [ADDRESS:]PORT, a port from 0 to 65535, not \"%1\"")
                 .arg(v));
      if (out.role != NetOptions::Role::none)
        fail(QStringLiteral("--host and --join exclude each other"));
      out.role = NetOptions::Role::host;
      if (at) out.endpoint = *at;
    } else if (auto v = valueOf(args, i, QStringLiteral("--join"), missing)) {
      const auto to = net::parseJoinAddress(v->toStdString());
      if (!to)
        fail(
            QStringLiteral("--join wants HOST[:PORT], a port from 1 to 65535, not \"%1\"").arg(*v));
      if (out.role != NetOptions::Role::none)
        fail(QStringLiteral("--host and --join exclude each other"));
      out.role = NetOptions::Role::join;
      if (to) out.endpoint = *to;
    } else if (auto v = valueOf(args, i, QStringLiteral("--code"), missing)) {
      if (!sim::validSessionCode(v->toStdString()))
        fail(QStringLiteral("--code wants 1 to %1 printable characters without blanks, not \"%2\"")
                 .arg(sim::kMaxCodeLength)
                 .arg(*v));
      out.code = *v;
    } else if (auto v = valueOf(args, i, QStringLiteral("--side"), missing)) {
      if (*v == QLatin1String("left"))
        out.side = net::Side::Left;
      else if (*v == QLatin1String("right"))
        out.side = net::Side::Right;
      else
        fail(QStringLiteral("--side must be \"left\" or \"right\", not \"%1\"").arg(*v));
    } else if (auto v = valueOf(args, i, QStringLiteral("--input-delay"), missing)) {
      const auto n = wholeIn(*v, 0, net::kMaxInputDelay);
      if (!n)
        fail(QStringLiteral("--input-delay wants a whole number from 0 to %1, not \"%2\"")
                 .arg(net::kMaxInputDelay)
                 .arg(*v));
      out.inputDelay = n.value_or(0);
    } else if (auto v = valueOf(args, i, QStringLiteral("--sync-test"), missing)) {
      const auto n = wholeIn(*v, 1, net::SyncChecker::kMaxDepth);
      if (!n)
        fail(QStringLiteral("--sync-test wants a whole number from 1 to %1, not \"%2\"")
                 .arg(net::SyncChecker::kMaxDepth)
                 .arg(*v));
      out.syncTest = n.value_or(0);
    } else {
      rest << arg;
    }
    if (missing) fail(QStringLiteral("%1 needs a value").arg(arg));
  }
  const bool online = out.role != NetOptions::Role::none;
  if (!online && (!out.code.isEmpty() || out.side || out.inputDelay != 0))
    fail(QStringLiteral("--code, --side and --input-delay need --host or --join"));
  if (online && out.syncTest != 0) fail(QStringLiteral("--sync-test is for a local game"));
  args = rest;
  return out;
}

CommandLine parseWithNet(const QStringList& args, NetOptions& net) {
  QStringList rest = args;
  net = takeNetOptions(rest);
  CommandLine cl = parseCommandLine(rest);
  if (cl.action != CommandLine::Action::run) return cl;
  auto fail = [&cl](const QString& why) {
    cl.action = CommandLine::Action::error;
    cl.error = why;
  };
  if (!net.error.isEmpty()) {
    fail(net.error);
  } else if (net.role != NetOptions::Role::none) {
    if (!cl.replayPath.isEmpty()) fail(QStringLiteral("--replay is for a local game"));
    // Every tick of an online game may be replayed by a rollback; only
    // the confirmed ones have hashes worth a file, and the replay holds them.
    if (!cl.hashesPath.isEmpty())
      fail(QStringLiteral("--hashes is for a local game; online, --record keeps the match"));
    net.recordPath = cl.recordPath;
    cl.recordPath.clear();
  }
  return cl;
}

QString netUsageText() {
  return QStringLiteral(
             "\nOnline play (two machines, one match; UDP port %1 unless given):\n"
             "  --host [PORT]   wait for the other player on PORT (default %1); the host's\n"
             "                  start panel and tick interval are the match's. Prints the\n"
             "                  session code and shows it in the window title\n"
             "  --join HOST[:PORT]\n"
             "                  play on HOST's match\n"
             "  --code CODE     the session code (the host makes one if none is given; a\n"
             "                  joiner without one is asked for it)\n"
             "  --side left|right\n"
             "                  the player to be (default: the host left, the joiner the\n"
             "                  other one)\n"
             "  --input-delay N your own keys act N ticks later (0 to %2, default 0)\n"
             "  --record FILE   also online: the confirmed match as a replay file\n"
             "  --sync-test N   a local game, rolled back N ticks (1 to %3) and replayed\n"
             "                  after every tick; stops with a message if a replayed tick\n"
             "                  differs from its first run\n")
      .arg(net::kDefaultPort)
      .arg(net::kMaxInputDelay)
      .arg(net::SyncChecker::kMaxDepth);
}

QString makeSessionCode(uint64_t entropy) {
  static constexpr char kAlphabet[] = "ABCDEFGHJKMNPQRSTUVWXYZ23456789";
  constexpr uint64_t kLetters = sizeof(kAlphabet) - 1;
  constexpr int kLength = 6;  // 31^6: about 900 million codes
  QString code;
  for (int i = 0; i < kLength; ++i) {
    code += QLatin1Char(kAlphabet[entropy % kLetters]);
    entropy /= kLetters;
  }
  return code;
}

}  // namespace zelkar::qt
