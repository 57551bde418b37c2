#include "net/online_options.h"

#include <algorithm>
#include <charconv>

#include "net/sync_test.h"

namespace zelkar::net {

namespace {

std::optional<int> wholeIn(const std::string& v, int lo, int hi) {
  int n = 0;
  const char* end = v.data() + v.size();
  const auto [at, ec] = std::from_chars(v.data(), end, n);
  if (v.empty() || ec != std::errc() || at != end || n < lo || n > hi) return std::nullopt;
  return n;
}

}  // namespace

bool validSessionCode(const std::string& code) {
  if (code.empty() || code.size() > kMaxCodeLength) return false;
  return std::all_of(code.begin(), code.end(), [](char c) { return c > ' ' && c < 127; });
}

std::string takeOnlineOptions(std::vector<std::string>& args, OnlineOptions& out) {
  using Mode = OnlineOptions::Mode;
  std::vector<std::string> rest;
  std::string error;
  auto fail = [&error](std::string why) {
    if (error.empty()) error = std::move(why);
  };
  auto setMode = [&](Mode m) {
    if (out.mode != Mode::None) fail("--host, --join and --sync-test exclude each other");
    out.mode = m;
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string arg = args[i];
    const std::size_t eq = arg.find('=');
    const std::string name = arg.substr(0, eq);
    static const char* const kNames[] = {"--host", "--join",        "--code",
                                         "--side", "--input-delay", "--sync-test"};
    if (std::find(std::begin(kNames), std::end(kNames), name) == std::end(kNames)) {
      rest.push_back(arg);
      continue;
    }
    std::string v;
    if (eq != std::string::npos) {
      v = arg.substr(eq + 1);
    } else if (name == "--host") {
      const bool next = i + 1 < args.size() && args[i + 1].rfind("--", 0) != 0;
      v = next ? args[++i] : std::to_string(kDefaultPort);
    } else if (i + 1 < args.size()) {
      v = args[++i];
    } else {
      fail(name + " needs a value");
      continue;
    }
    if (name == "--host") {
      setMode(Mode::Host);
      const auto at = parseListenAddress(v);
      if (!at) fail("--host wants [ADDRESS:]PORT with a port from 0 to 65535, not \"" + v + "\"");
      if (at) out.endpoint = *at;
    } else if (name == "--join") {
      setMode(Mode::Join);
      const auto to = parseJoinAddress(v);
      if (!to) fail("--join wants HOST[:PORT] with a port from 1 to 65535, not \"" + v + "\"");
      if (to) out.endpoint = *to;
    } else if (name == "--sync-test") {
      setMode(Mode::SyncTest);
      const auto n = wholeIn(v, 1, SyncChecker::kMaxDepth);
      if (!n) {
        fail("--sync-test wants a whole number from 1 to " +
             std::to_string(SyncChecker::kMaxDepth) + ", not \"" + v + "\"");
      }
      out.syncDepth = n.value_or(0);
    } else if (name == "--code") {
      if (!validSessionCode(v)) {
        fail("--code wants 1 to " + std::to_string(kMaxCodeLength) +
             " printable characters without blanks, not \"" + v + "\"");
      }
      out.code = v;
    } else if (name == "--side") {
      if (v != "left" && v != "right")
        fail("--side must be \"left\" or \"right\", not \"" + v + "\"");
      out.side = v == "left" ? Side::Left : Side::Right;
    } else {
      const auto n = wholeIn(v, 0, kMaxInputDelay);
      if (!n) {
        fail("--input-delay wants a whole number from 0 to " + std::to_string(kMaxInputDelay) +
             ", not \"" + v + "\"");
      }
      out.inputDelay = n.value_or(0);
    }
  }
  if (!out.online() && (out.code || out.side || out.inputDelay != 0))
    fail("--code, --side and --input-delay need --host or --join");
  args = std::move(rest);
  return error;
}

}  // namespace zelkar::net
