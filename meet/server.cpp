#include "meet/server.h"

#include "meet/turn_credential.h"

namespace zelkar::meet {

namespace {

// How often the summary of dropped requests may be logged: one line per
// ten seconds says a flood is on without the log becoming the flood.
constexpr int64_t kSummaryEveryMs = 10'000;

Bytes reply(Kind kind, const Message& to) {
  Message r;
  r.kind = kind;
  r.nonce = to.nonce;
  r.code = to.code;
  return writeMessage(r);
}

// The answer that tells one side of a met pair where the other is.
Bytes meeting(Kind kind, const Message& to, const Address& peer, const Address& peerLocal,
              uint64_t token) {
  Message r;
  r.kind = kind;
  r.nonce = to.nonce;
  r.code = to.code;
  r.peer = peer;
  r.local = peerLocal;
  r.token = token;
  return writeMessage(r);
}

Bytes refusal(const Message& to, Reason why) {
  Message r;
  r.kind = Kind::Refused;
  r.nonce = to.nonce;
  r.reason = why;
  return writeMessage(r);
}

}  // namespace

Server::Server(const Limits& limits, Random random, Log log)
    : limits_(limits),
      random_(std::move(random)),
      log_(std::move(log)),
      global_(TokenBucket::full(limits.globalBurst, 0)) {}

bool Server::admit(uint32_t ip, int64_t nowMs) {
  auto it = addresses_.find(ip);
  if (it == addresses_.end()) {
    if (addresses_.size() >= limits_.maxAddresses) return false;
    it = addresses_.emplace(ip, AddressState{}).first;
    it->second.bucket = TokenBucket::full(limits_.perAddressBurst, nowMs);
  }
  it->second.lastSeenMs = nowMs;
  // The address pays first, so one sender cannot spend the global budget.
  return it->second.bucket.take(limits_.perAddressPerSecond, limits_.perAddressBurst, nowMs) &&
         global_.take(limits_.globalPerSecond, limits_.globalBurst, nowMs);
}

std::optional<Bytes> Server::handle(const Address& from, std::span<const uint8_t> datagram,
                                    int64_t nowMs) {
  ++stats_.received;
  if (!admit(from.ip, nowMs)) {
    ++stats_.rateLimited;
    return std::nullopt;
  }
  const std::optional<Message> m = readMessage(datagram);
  std::optional<Bytes> out;
  if (!m) {
    ++stats_.malformed;
  } else if (m->kind == Kind::Register) {
    out = onRegister(from, *m, nowMs);
  } else if (m->kind == Kind::Poll) {
    out = onPoll(from, *m, nowMs);
  } else if (m->kind == Kind::Lookup) {
    out = onLookup(from, *m, nowMs);
  } else if (m->kind == Kind::RelayAsk || m->kind == Kind::RelayAt) {
    out = onRelay(from, *m, nowMs);
  } else {
    ++stats_.malformed;  // a reply sent to the point: nothing to answer
  }
  if (out) ++stats_.replied;
  return out;
}

std::optional<Bytes> Server::onRegister(const Address& from, const Message& m, int64_t nowMs) {
  Message r;
  r.kind = Kind::Registered;
  r.nonce = m.nonce;
  r.ttlSeconds = uint16_t(limits_.idleExpiryMs / 1000);
  // A repeated request (the reply was lost) gets the same code again.
  if (auto n = codeOfNonce_.find(m.nonce); n != codeOfNonce_.end()) {
    Registration* reg = live(n->second, nowMs);
    if (reg != nullptr && reg->host.ip == from.ip) {
      reg->host = from;
      reg->lastPollMs = nowMs;
      r.code = n->second;
      r.peer = from;
      return writeMessage(r);
    }
    if (reg != nullptr) return refusal(m, Reason::NotOwner);
  }
  AddressState& owner = addresses_[from.ip];
  if (owner.codes >= limits_.codesPerAddress || codes_.size() >= limits_.maxCodes)
    return refusal(m, Reason::Full);
  Registration reg;
  reg.nonce = m.nonce;
  reg.host = from;
  reg.hostLocal = m.local;
  reg.createdMs = reg.lastPollMs = nowMs;
  r.code = newCode();
  r.peer = from;
  codes_.emplace(r.code, reg);
  codeOfNonce_.emplace(m.nonce, r.code);
  ++owner.codes;
  ++stats_.registered;
  log_("register " + r.code + " for " + addressText(from));
  return writeMessage(r);
}

std::optional<Bytes> Server::onPoll(const Address& from, const Message& m, int64_t nowMs) {
  Registration* reg = live(m.code, nowMs);
  if (reg == nullptr) return refusal(m, Reason::UnknownCode);
  if (reg->nonce != m.nonce) {
    if (!miss(from.ip, nowMs)) return std::nullopt;
    return refusal(m, Reason::NotOwner);
  }
  reg->lastPollMs = nowMs;
  reg->host = from;  // the router may have moved the host to another port
  if (!reg->joined) return reply(Kind::Waiting, m);
  return meeting(Kind::Joining, m, reg->joiner, reg->joinerLocal, reg->token);
}

std::optional<Bytes> Server::onLookup(const Address& from, const Message& m, int64_t nowMs) {
  const AddressState& asker = addresses_[from.ip];
  if (asker.misses >= limits_.missesPerWindow &&
      nowMs - asker.missWindowStartMs < limits_.missWindowMs) {
    ++stats_.guessLimited;
    return std::nullopt;
  }
  Registration* reg = live(m.code, nowMs);
  if (reg == nullptr) {
    ++stats_.misses;
    if (!miss(from.ip, nowMs)) return std::nullopt;
    return refusal(m, Reason::UnknownCode);
  }
  const bool again = reg->joined && reg->joiner == from && reg->joinerNonce == m.nonce;
  if (reg->joined && !again) {
    // Whoever knows a taken code is guessing at someone else's seat.
    if (!miss(from.ip, nowMs)) return std::nullopt;
    return refusal(m, Reason::Taken);
  }
  if (!again) {
    reg->joined = true;
    reg->joiner = from;
    reg->joinerLocal = m.local;
    reg->joinerNonce = m.nonce;
    reg->token = random_();
    // A host that has met its joiner may invite again at once, while this
    // code lives on until it stops polling.
    if (auto a = addresses_.find(reg->host.ip); a != addresses_.end() && a->second.codes > 0)
      --a->second.codes;
    ++stats_.matched;
    log_("match " + m.code + ": host " + addressText(reg->host) + ", joiner " + addressText(from));
  }
  return meeting(Kind::Found, m, reg->host, reg->hostLocal, reg->token);
}

std::optional<Bytes> Server::onRelay(const Address& from, const Message& m, int64_t nowMs) {
  Registration* reg = live(m.code, nowMs);
  // Only the two parties of a met pair: the host by its nonce, the joiner
  // by its nonce and the pair token. Anyone else is guessing.
  const bool host = reg != nullptr && reg->joined && m.nonce == reg->nonce;
  const bool joiner = reg != nullptr && reg->joined && m.nonce == reg->joinerNonce &&
                      m.token == reg->token && !host;
  if (!host && !joiner) {
    if (!miss(from.ip, nowMs)) return std::nullopt;
    return refusal(m, reg == nullptr ? Reason::UnknownCode : Reason::NotOwner);
  }
  if (!relay_) return refusal(m, Reason::NoRelay);
  // Both are still at it: the code lives on while they set up the relay.
  reg->lastPollMs = nowMs;
  Message r;
  r.nonce = m.nonce;
  r.code = m.code;
  if (m.kind == Kind::RelayAsk) {
    r.kind = Kind::RelayLogin;
    r.peer = relay_->relay;
    r.expiry = uint64_t(relay_->unixSeconds() + relay_->lifetimeS);
    const std::string user = relayUser(r.expiry, m.code, host);
    r.digest = hmacSha1(
        std::span(reinterpret_cast<const uint8_t*>(relay_->secret.data()), relay_->secret.size()),
        std::span(reinterpret_cast<const uint8_t*>(user.data()), user.size()));
    ++stats_.relayLogins;
    log_("relay login for " + m.code + (host ? " (host) " : " (joiner) ") + addressText(from));
    return writeMessage(r);
  }
  Address& mine = host ? reg->hostRelayed : reg->joinerRelayed;
  if (m.peer.ip != 0) mine = m.peer;
  r.kind = Kind::RelayPeer;
  r.peer = host ? reg->joinerRelayed : reg->hostRelayed;
  return writeMessage(r);
}

bool Server::miss(uint32_t ip, int64_t nowMs) {
  AddressState& a = addresses_[ip];
  if (nowMs - a.missWindowStartMs >= limits_.missWindowMs || a.misses == 0) {
    a.misses = 0;
    a.missWindowStartMs = nowMs;
  }
  ++a.misses;
  if (a.misses == limits_.missesPerWindow) {
    std::string who = addressText({ip, 0});
    who.resize(who.find(':'));
    log_("guesses used up by " + who);
  }
  return a.misses <= limits_.missesPerWindow;
}

Server::Registration* Server::live(const std::string& code, int64_t nowMs) {
  auto it = codes_.find(code);
  if (it == codes_.end()) return nullptr;
  const Registration& r = it->second;
  if (nowMs - r.lastPollMs > limits_.idleExpiryMs || nowMs - r.createdMs > limits_.codeLifeMs) {
    drop(it, "expired");
    return nullptr;
  }
  return &it->second;
}

void Server::drop(std::unordered_map<std::string, Registration>::iterator it, const char* why) {
  if (auto a = addresses_.find(it->second.host.ip);
      !it->second.joined && a != addresses_.end() && a->second.codes > 0)
    --a->second.codes;
  codeOfNonce_.erase(it->second.nonce);
  log_(std::string(why) + " " + it->first);
  ++stats_.expired;
  codes_.erase(it);
}

void Server::sweep(int64_t nowMs) {
  for (auto it = codes_.begin(); it != codes_.end();) {
    const Registration& r = it->second;
    auto next = std::next(it);
    if (nowMs - r.lastPollMs > limits_.idleExpiryMs || nowMs - r.createdMs > limits_.codeLifeMs)
      drop(it, "expired");
    it = next;
  }
  for (auto it = addresses_.begin(); it != addresses_.end();) {
    const AddressState& a = it->second;
    const bool guessing = a.misses > 0 && nowMs - a.missWindowStartMs < limits_.missWindowMs;
    if (a.codes == 0 && !guessing && nowMs - a.lastSeenMs > limits_.forgetAfterMs)
      it = addresses_.erase(it);
    else
      ++it;
  }
  if (nowMs - lastSummaryMs_ < kSummaryEveryMs) return;
  lastSummaryMs_ = nowMs;
  const uint64_t limited = stats_.rateLimited - reported_.rateLimited;
  const uint64_t guesses = stats_.guessLimited - reported_.guessLimited;
  const uint64_t malformed = stats_.malformed - reported_.malformed;
  if (limited + guesses + malformed > 0) {
    log_("dropped " + std::to_string(limited) + " over the rate limits, " +
         std::to_string(guesses) + " lookups out of guesses, " + std::to_string(malformed) +
         " malformed; " + std::to_string(codes_.size()) + " codes, " +
         std::to_string(addresses_.size()) + " addresses");
  }
  reported_ = stats_;
}

std::string Server::newCode() {
  // Rejection keeps every letter equally likely: 248 is the largest
  // multiple of the alphabet's 31 letters below 256.
  constexpr unsigned kBelow = 256 / kCodeAlphabet.size() * kCodeAlphabet.size();
  while (true) {
    std::string code;
    while (code.size() < kCodeLength) {
      uint64_t bits = random_();
      for (int i = 0; i < 8 && code.size() < kCodeLength; ++i, bits >>= 8)
        if ((bits & 255) < kBelow) code += kCodeAlphabet[(bits & 255) % kCodeAlphabet.size()];
    }
    if (!codes_.contains(code)) return code;
  }
}

}  // namespace zelkar::meet
