// The meeting point's rules, without sockets or clocks: a datagram and the
// time come in, the reply to send back (if any) goes out. Everything it
// keeps is bounded by Limits, and every request is charged to its sender's
// address before it is even read.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>

#include "meet/limits.h"
#include "meet/protocol.h"
#include "meet/token_bucket.h"

namespace zelkar::meet {

// The relay server the meeting point hands logins for (coturn's shared
// secret scheme: whoever knows the secret can mint a login, so the point
// and the relay share nothing else). Without one, parties asking for a
// relay are told there is none.
struct RelayOffer {
  Address relay{};       // where the relay server listens
  std::string secret{};  // its static-auth-secret
  // How long a login works. The relay checks it again at every refresh
  // of the allocation, permission and channel (every few minutes), so it
  // must outlast the longest session, not just the connect: six hours is
  // a long evening of matches, and a leaked login dies the same night.
  uint32_t lifetimeS = 6 * 3600;
  std::function<int64_t()> unixSeconds{};  // the wall clock the relay compares with
};

struct Stats {
  uint64_t received = 0;
  uint64_t replied = 0;
  uint64_t malformed = 0;
  uint64_t rateLimited = 0;   // over an address's or the global rate, or too many addresses
  uint64_t guessLimited = 0;  // lookups from an address out of guesses
  uint64_t registered = 0;
  uint64_t matched = 0;
  uint64_t misses = 0;
  uint64_t expired = 0;
  uint64_t relayLogins = 0;
};

class Server {
 public:
  using Random = std::function<uint64_t()>;             // 64 unpredictable bits
  using Log = std::function<void(const std::string&)>;  // one line, no line break

  Server(const Limits& limits, Random random, Log log);
  void offerRelay(RelayOffer offer) { relay_ = std::move(offer); }

  std::optional<Bytes> handle(const Address& from, std::span<const uint8_t> datagram,
                              int64_t nowMs);
  // Forgets expired codes and quiet addresses and says how many requests
  // were dropped since it last said so. About once a second is plenty.
  void sweep(int64_t nowMs);

  const Stats& stats() const { return stats_; }
  std::size_t codeCount() const { return codes_.size(); }
  std::size_t addressCount() const { return addresses_.size(); }

 private:
  struct Registration {
    uint64_t nonce = 0;
    Address host, hostLocal;
    int64_t createdMs = 0, lastPollMs = 0;
    bool joined = false;  // once joined the code no longer counts against its host's address
    Address joiner, joinerLocal;
    uint64_t joinerNonce = 0;
    uint64_t token = 0;
    Address hostRelayed, joinerRelayed;  // posted once each side has its allocation
  };
  struct AddressState {
    TokenBucket bucket;
    int64_t lastSeenMs = 0;
    uint32_t misses = 0;
    int64_t missWindowStartMs = 0;
    uint32_t codes = 0;
  };

  bool admit(uint32_t ip, int64_t nowMs);
  std::optional<Bytes> onRegister(const Address& from, const Message& m, int64_t nowMs);
  std::optional<Bytes> onPoll(const Address& from, const Message& m, int64_t nowMs);
  std::optional<Bytes> onLookup(const Address& from, const Message& m, int64_t nowMs);
  std::optional<Bytes> onRelay(const Address& from, const Message& m, int64_t nowMs);
  Registration* live(const std::string& code, int64_t nowMs);
  void drop(std::unordered_map<std::string, Registration>::iterator it, const char* why);
  bool miss(uint32_t ip, int64_t nowMs);  // false: out of guesses
  std::string newCode();

  Limits limits_;
  Random random_;
  Log log_;
  TokenBucket global_;
  std::unordered_map<std::string, Registration> codes_;
  std::unordered_map<uint64_t, std::string> codeOfNonce_;
  std::unordered_map<uint32_t, AddressState> addresses_;
  std::optional<RelayOffer> relay_;
  Stats stats_;
  Stats reported_;  // what the last summary line covered
  int64_t lastSummaryMs_ = 0;
};

}  // namespace zelkar::meet
