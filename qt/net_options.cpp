#include "qt/net_options.h"

#include "meet/protocol.h"
#include "net/online_options.h"
#include "net/sync_test.h"

namespace zelkar::qt {

namespace {

// The window's own online options (--online, --meet, --no-portmap), taken
// out of `words` before the shared reading sees them.
QString takeWindowOptions(std::vector<std::string>& words, NetOptions& out) {
  std::vector<std::string> rest;
  QString error;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& w = words[i];
    if (w == "--online") {
      out.dialog = true;
    } else if (w == "--no-portmap") {
      out.portmap = false;
    } else if (w == "--meet" || w.starts_with("--meet=")) {
      std::string v;
      if (w != "--meet")
        v = w.substr(7);
      else if (i + 1 < words.size())
        v = words[++i];
      auto at = net::parseJoinAddress(v);
      if (!at) {
        if (error.isEmpty())
          error = QStringLiteral("--meet wants HOST[:PORT] with a port from 1 to 65535, not \"%1\"")
                      .arg(QString::fromStdString(v));
        continue;
      }
      if (v.find(':') == std::string::npos) at->port = meet::kDefaultMeetPort;
      out.meet = *at;
    } else {
      // --host followed by a word that is not an option names its port.
      if (w.starts_with("--host="))
        out.portChosen = true;
      else if (w == "--host" && i + 1 < words.size() && !words[i + 1].starts_with("--"))
        out.portChosen = true;
      rest.push_back(w);
    }
  }
  words = rest;
  return error;
}

}  // namespace

NetOptions takeNetOptions(QStringList& args) {
  // The same reading as zelkar-sim's, on the arguments after the program.
  std::vector<std::string> words;
  for (qsizetype i = 1; i < args.size(); ++i) words.push_back(args[i].toStdString());
  NetOptions out;
  const QString own = takeWindowOptions(words, out);
  net::OnlineOptions o;
  const std::string error = net::takeOnlineOptions(words, o);
  out.error = own.isEmpty() ? QString::fromStdString(error) : own;
  out.role = o.mode == net::OnlineOptions::Mode::Host   ? NetOptions::Role::host
             : o.mode == net::OnlineOptions::Mode::Join ? NetOptions::Role::join
                                                        : NetOptions::Role::none;
  out.endpoint = o.endpoint;
  if (o.code) out.code = QString::fromStdString(*o.code);
  out.side = o.side;
  out.inputDelay = o.inputDelay;
  out.syncTest = o.syncDepth;
  if (out.error.isEmpty()) {
    if (out.dialog && out.role != NetOptions::Role::none)
      out.error = QStringLiteral("--online chooses in its window; it excludes --host and --join");
    else if (out.dialog && out.syncTest > 0)
      out.error = QStringLiteral("--online excludes --sync-test");
    else if (out.meet && !out.dialog && out.role == NetOptions::Role::none)
      out.error = QStringLiteral("--meet needs --host, --join or --online");
  }
  if (out.error.isEmpty() && out.meet && out.role == NetOptions::Role::join) {
    // The shared reading took --join's value for HOST[:PORT]; a code has no
    // colon, so it stands whole in the host.
    out.joinCode = QString::fromStdString(meet::normaliseCode(o.endpoint.host));
    if (out.joinCode.isEmpty() || o.endpoint.port != net::kDefaultPort)
      out.error = QStringLiteral("--join with --meet wants the host's 8-character code, not \"%1\"")
                      .arg(QString::fromStdString(o.endpoint.host));
  }
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
  } else if (net.role != NetOptions::Role::none || net.dialog) {
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
             "  --online        open the connect window: host or join, by a meeting\n"
             "                  point's code or by address\n"
             "  --host [PORT]   wait for the other player on PORT (default %1); the host's\n"
             "                  start panel and tick interval are the match's. Prints the\n"
             "                  session code and shows it in the window title\n"
             "  --join HOST[:PORT]\n"
             "                  play on HOST's match; with --meet, --join CODE joins by the\n"
             "                  host's 8-character code\n"
             "  --meet HOST[:PORT]\n"
             "                  meet through this meeting point (port %4 unless given);\n"
             "                  the host is given a code to pass on. Without it the\n"
             "                  connect window uses the one remembered in meet.txt\n"
             "  --no-portmap    a host does not ask the home router to forward its port\n"
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
      .arg(net::SyncChecker::kMaxDepth)
      .arg(meet::kDefaultMeetPort);
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
