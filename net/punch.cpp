#include "net/punch.h"

#include <algorithm>

namespace zelkar::net {

namespace {

constexpr std::array<uint8_t, 4> kMagic = {'Z', 'K', 'P', '1'};
constexpr uint8_t kProbe = 1, kAnswer = 2;

PunchBytes punch(uint8_t kind, uint64_t token) {
  PunchBytes b{};
  std::copy(kMagic.begin(), kMagic.end(), b.begin());
  b[4] = kind;
  for (int i = 0; i < 8; ++i) b[8 + i] = uint8_t(token >> (56 - 8 * i));
  return b;
}

}  // namespace

Puncher::Puncher(uint64_t token, std::vector<meet::Address> candidates)
    : token_(token), candidates_(std::move(candidates)) {
  // A missing local address (zero) or a repeat would only waste probes.
  std::erase_if(candidates_, [](const meet::Address& a) { return a.ip == 0 || a.port == 0; });
  std::sort(candidates_.begin(), candidates_.end(), [](const auto& a, const auto& b) {
    return a.ip != b.ip ? a.ip < b.ip : a.port < b.port;
  });
  candidates_.erase(std::unique(candidates_.begin(), candidates_.end()), candidates_.end());
}

bool Puncher::isPunch(std::span<const uint8_t> d) {
  return d.size() >= kMagic.size() && std::equal(kMagic.begin(), kMagic.end(), d.begin());
}

std::vector<PunchSend> Puncher::due(int64_t nowMs) {
  std::vector<PunchSend> out;
  if (lastProbeMs_ >= 0 && nowMs - lastProbeMs_ < kProbeEveryMs) return out;
  lastProbeMs_ = nowMs;
  for (const meet::Address& a : candidates_) out.push_back({a, punch(kProbe, token_)});
  return out;
}

bool Puncher::receive(const meet::Address& from, std::span<const uint8_t> d,
                      std::optional<PunchSend>& reply) {
  if (!isPunch(d)) return false;
  const PunchBytes probe = punch(kProbe, token_), answer = punch(kAnswer, token_);
  const bool isProbe = std::equal(d.begin(), d.end(), probe.begin(), probe.end());
  const bool isAnswer = std::equal(d.begin(), d.end(), answer.begin(), answer.end());
  if (!isProbe && !isAnswer) return true;  // another pair's, or forged
  // The source may be none of the candidates when the peer's router gave
  // this flow another port than the meeting point saw: the token proves
  // who it is, and the source is where to answer.
  if (!open_) open_ = from;
  if (isProbe) reply = PunchSend{from, answer};
  return true;
}

}  // namespace zelkar::net
