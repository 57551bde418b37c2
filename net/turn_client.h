// One allocation on a relay server, over its own UDP socket: the login
// (long-term credentials with the server's realm and nonce), permissions,
// channel bindings and their refreshes. Requests are retransmitted on a
// timer and matched to answers by transaction id; the owner feeds every
// STUN message that arrives to handle() and calls tick() with the time.
// Not thread-safe: one thread owns it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "net/turn_message.h"
#include "net/turn_url.h"

namespace zelkar::net::turn {

class Client {
 public:
  // Resolves the server and opens a UDP socket connected to it; fd() < 0
  // and `error` set when that fails.
  Client(const TurnUrl& url, std::string& error);
  ~Client();
  Client(const Client&) = delete;
  Client& operator=(const Client&) = delete;

  int fd() const { return fd_; }
  Addr4 server() const { return server_; }

  // Blocks until the allocation is made or refused, at most `budgetMs`.
  bool allocate(int budgetMs, std::string& error);
  // Blocks until every queued request is answered, at most `budgetMs`.
  bool settle(int budgetMs, std::string& error);

  Addr4 relayed() const { return relayed_; }
  Addr4 mapped() const { return mapped_; }

  // Queued requests: permission for a peer's address, a channel to a peer
  // (which also grants the permission).
  void permit(uint32_t peerIp);
  void bindChannel(uint16_t channel, Addr4 peer);
  bool channelBound() const { return channelBound_; }

  // A STUN message from the server (answers; Data indications are the
  // owner's). Returns false for messages it does not take.
  bool handle(const Message& m);
  // Retransmits and refreshes; false once the server stopped answering
  // or refused a refresh: the relay is gone.
  bool tick(int64_t nowMs);
  // Milliseconds until tick() has something to do.
  int64_t nextDueMs(int64_t nowMs) const;

  // A Send indication carrying `payload` to `peer` (before a channel is
  // bound), and the ChannelData frame (after).
  void sendIndication(Addr4 peer, std::span<const uint8_t> payload);
  void sendChannel(uint16_t channel, std::span<const uint8_t> payload);

  const std::string& failure() const { return failure_; }

 private:
  struct Pending {
    TxId tx{};
    uint16_t method = 0;
    std::vector<Addr4> peers;  // the peer of a permission or channel
    uint16_t channel = 0;
    int64_t sentMs = 0;
    int sends = 0;
    int authRetries = 0;
    bool done = false;
  };
  void issue(Pending p, int64_t nowMs);
  std::vector<uint8_t> encode(const Pending& p) const;
  void sendRaw(const std::vector<uint8_t>& bytes);
  bool pump(int budgetMs, const std::function<bool()>& finished, std::string& error);

  int fd_ = -1;
  Addr4 server_;
  std::string user_, password_, realm_, nonce_;
  std::vector<uint8_t> key_;
  Addr4 relayed_, mapped_;
  uint32_t lifetimeS_ = 600;
  bool allocated_ = false;
  bool channelBound_ = false;
  std::vector<Pending> pending_;
  // What is kept alive, and when it is next renewed.
  std::vector<uint32_t> permitted_;
  std::optional<std::pair<uint16_t, Addr4>> channel_;
  int64_t nowMs_ = 0;
  int64_t refreshAllocationAtMs_ = 0, refreshPermissionsAtMs_ = 0, refreshChannelAtMs_ = 0;
  std::string failure_;
};

int64_t monotonicMs();

}  // namespace zelkar::net::turn
