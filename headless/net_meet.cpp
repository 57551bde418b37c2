#include "headless/net_meet.h"

#include <chrono>
#include <thread>

#include "meet/protocol.h"
#include "net/enet_rendezvous.h"

namespace zelkar::sim {

namespace {

using Mode = net::OnlineOptions::Mode;

// A host waits this long for a joiner, as for a direct one.
constexpr int64_t kJoinerWaitMicros = 30'000'000;
// The loop's pause: short against the 100 ms probe period, so a path is
// seen open within a millisecond of opening.
constexpr auto kPollPause = std::chrono::microseconds(500);

}  // namespace

std::string parseMeetOption(const std::string& value, NetOptions& opts) {
  auto at = net::parseJoinAddress(value);
  if (!at) return "--meet wants HOST[:PORT] with a port from 1 to 65535, not \"" + value + "\"";
  if (value.find(':') == std::string::npos) at->port = meet::kDefaultMeetPort;
  opts.meet = *at;
  return {};
}

std::string finishJoinTarget(NetOptions& opts) {
  if (opts.meet && !opts.online.online()) return "--meet needs --host or --join";
  if (opts.online.mode != Mode::Join || !opts.meet) return {};
  // The online options read --join's value as HOST[:PORT]; a code has no
  // colon, so it stands whole in the host.
  const std::string& joinText = opts.online.endpoint.host;
  opts.joinCode = meet::normaliseCode(joinText);
  if (opts.joinCode.empty() || opts.online.endpoint.port != net::kDefaultPort)
    return "--join with --meet wants the host's 8-character code, not \"" + joinText + "\"";
  return {};
}

bool meetPeer(NetOptions& opts, net::EnetLink& link, NetReach& reach, std::ostream& err) {
  const auto point = net::resolveMeetPoint(*opts.meet);
  if (!point) {
    err << "zelkar-sim: unknown meeting point \"" << opts.meet->host << "\"\n";
    return false;
  }
  using Clock = std::chrono::steady_clock;
  const Clock::time_point t0 = Clock::now();
  auto micros = [&t0] {
    return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - t0).count();
  };
  net::Rendezvous meeting(link, *point, opts.joinCode);
  bool codeShown = false, relaySaid = false;
  int64_t matchedAt = -1;
  while (true) {
    const int64_t now = micros();
    const net::Rendezvous::Step step = meeting.poll(now);
    if (!codeShown && opts.online.mode == Mode::Host && !meeting.code().empty()) {
      err << "zelkar-sim: meeting code " << meeting.code() << " at " << meet::addressText(*point)
          << " (the other player joins with it)\n";
      codeShown = true;
    }
    if (matchedAt < 0 && step != net::Rendezvous::Step::Meeting) matchedAt = now;
    if (!relaySaid && step == net::Rendezvous::Step::Relaying) {
      err << "zelkar-sim: no direct path after " << (now - matchedAt) / 1000
          << " ms: trying the relay\n";
      relaySaid = true;
    }
    if (step == net::Rendezvous::Step::Done) break;
    if (step == net::Rendezvous::Step::Failed) {
      err << "zelkar-sim: " << meeting.failure() << "\n";
      return false;
    }
    if (step == net::Rendezvous::Step::Meeting && now > kJoinerWaitMicros) {
      err << "zelkar-sim: nobody joined within " << kJoinerWaitMicros / 1'000'000 << " s\n";
      return false;
    }
    std::this_thread::sleep_for(kPollPause);
  }
  const int64_t done = micros();
  // The joiner's figure runs from its start; the host's from the moment
  // it heard of the joiner, since before that it only waits.
  const int64_t from = opts.online.mode == Mode::Host && matchedAt >= 0 ? matchedAt : 0;
  err << "zelkar-sim: connected (" << meeting.path() << ", "
      << meet::addressText(meeting.peerAddress()) << ") in " << (done - from) / 1000 << " ms\n";
  reach.keepRelay(meeting.takeRelay());
  if (!opts.online.code)
    opts.online.code = opts.online.mode == Mode::Host ? meeting.code() : opts.joinCode;
  return true;
}

}  // namespace zelkar::sim
