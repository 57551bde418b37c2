#include "headless/net_options.h"

#include <algorithm>

#include "headless/net_meet.h"
#include "headless/script.h"
#include "net/sync_test.h"

namespace zelkar::sim {

bool wantsNetRun(const std::vector<std::string>& args) {
  return std::any_of(args.begin(), args.end(), [](const std::string& a) {
    return a == "--host" || a == "--join" || a == "--sync-test";
  });
}

bool validSessionCode(const std::string& code) {
  if (code.empty() || code.size() > kMaxCodeLength) return false;
  return std::all_of(code.begin(), code.end(), [](char c) { return c > ' ' && c < 127; });
}

std::string parseNetOptions(const std::vector<std::string>& args, NetOptions& opts) {
  using Mode = NetOptions::Mode;
  bool codeGiven = false, seedGiven = false;
  std::string joinText;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    static const char* const kNames[] = {"--host",        "--join",      "--code", "--side",
                                         "--script",      "--record",    "--dump", "--seed",
                                         "--input-delay", "--sync-test", "--meet"};
    if (std::find(std::begin(kNames), std::end(kNames), a) == std::end(kNames))
      return "unknown option \"" + a + "\"";
    if (i + 1 == args.size()) return a + " needs a value";
    const std::string& v = args[++i];
    auto setMode = [&](Mode m) -> std::string {
      if (opts.mode != Mode::Local) return "--host, --join and --sync-test exclude each other";
      opts.mode = m;
      return {};
    };
    if (a == "--host") {
      if (auto e = setMode(Mode::Host); !e.empty()) return e;
      const auto at = net::parseListenAddress(v);
      if (!at) return "--host wants [ADDRESS:]PORT with a port from 0 to 65535, not \"" + v + "\"";
      opts.endpoint = *at;
    } else if (a == "--join") {
      if (auto e = setMode(Mode::Join); !e.empty()) return e;
      joinText = v;  // an address, or with --meet a code: read once all are known
    } else if (a == "--meet") {
      if (auto e = parseMeetOption(v, opts); !e.empty()) return e;
    } else if (a == "--sync-test") {
      if (auto e = setMode(Mode::SyncTest); !e.empty()) return e;
      const auto n = parseWhole(v, 1, net::SyncChecker::kMaxDepth);
      if (!n) {
        return "--sync-test wants a whole number from 1 to " +
               std::to_string(net::SyncChecker::kMaxDepth) + ", not \"" + v + "\"";
      }
      opts.syncDepth = int(*n);
    } else if (a == "--code") {
      if (!validSessionCode(v)) {
        return "--code wants 1 to " + std::to_string(kMaxCodeLength) +
               " printable characters without blanks, not \"" + v + "\"";
      }
      opts.code = v;
      codeGiven = true;
    } else if (a == "--side") {
      if (v != "left" && v != "right")
        return "--side must be \"left\" or \"right\", not \"" + v + "\"";
      opts.side = v == "left" ? net::Side::Left : net::Side::Right;
    } else if (a == "--input-delay") {
      const auto n = parseWhole(v, 0, net::kMaxInputDelay);
      if (!n) {
        return "--input-delay wants a whole number from 0 to " +
               std::to_string(net::kMaxInputDelay) + ", not \"" + v + "\"";
      }
      opts.inputDelay = int(*n);
    } else if (a == "--seed") {
      const auto n = parseWhole(v, 0, kMaxSeed);
      if (!n) return "--seed must be a whole number from 0 to 4294967295, not \"" + v + "\"";
      opts.seed = uint32_t(*n);
      seedGiven = true;
    } else if (a == "--script") {
      opts.scriptPath = v;
    } else if (a == "--record") {
      if (v.empty()) return "--record needs a file name";
      opts.recordPath = v;
    } else if (a == "--dump") {
      if (v != "hash") return "online runs print --dump hash only, not \"" + v + "\"";
      opts.dumpHash = true;
    }
  }
  const bool online = opts.mode == Mode::Host || opts.mode == Mode::Join;
  if (auto e = finishJoinTarget(joinText, opts); !e.empty()) return e;
  if (opts.mode == Mode::SyncTest &&
      (codeGiven || opts.side || opts.inputDelay != 0 || !opts.recordPath.empty() || opts.dumpHash))
    return "--sync-test takes only --script and --seed";
  // A seat anyone on the network could take is refused rather than offered.
  // Through a meeting point the code it gives is the session code.
  if (online && !codeGiven && !opts.meet) return "an online run needs --code CODE on both sides";
  if (opts.mode == Mode::Join && seedGiven) return "--seed is the host's to give";
  return {};
}

}  // namespace zelkar::sim
