#include "qt/net_options.h"

#include "net/online_options.h"
#include "net/sync_test.h"

namespace zelkar::qt {

NetOptions takeNetOptions(QStringList& args) {
  // The same reading as zelkar-sim's, on the arguments after the program.
  std::vector<std::string> words;
  for (qsizetype i = 1; i < args.size(); ++i) words.push_back(args[i].toStdString());
  net::OnlineOptions o;
  const std::string error = net::takeOnlineOptions(words, o);
  NetOptions out;
  out.error = QString::fromStdString(error);
  out.role = o.mode == net::OnlineOptions::Mode::Host   ? NetOptions::Role::host
             : o.mode == net::OnlineOptions::Mode::Join ? NetOptions::Role::join
                                                        : NetOptions::Role::none;
  out.endpoint = o.endpoint;
  if (o.code) out.code = QString::fromStdString(*o.code);
  out.side = o.side;
  out.inputDelay = o.inputDelay;
  out.syncTest = o.syncDepth;
  QStringList rest;
  if (!args.isEmpty()) rest << args.front();
  for (const std::string& w : words) rest << QString::fromStdString(w);
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
