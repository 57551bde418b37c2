// Asks the home router to forward the host's UDP port, so that a joiner
// from outside reaches it with no meeting point at all. The asking runs on
// a thread of its own from construction on: a router that never answers
// costs the game nothing but a line saying so. The mapping is leased
// (an hour by default) and renewed at half its lease, so a crash leaves
// it behind for at most that long; the destructor removes it.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "net/portmap_backend.h"

namespace zelkar::net {

struct PortmapConfig {
  PortmapRequest request;
  // How long a caller of wait() waits for the router, and how long the
  // removal may hold up the end of the program.
  int budgetMs = 2000;
  int removeBudgetMs = 1000;
};
inline constexpr uint32_t kDefaultLeaseS = 3600;

enum class PortmapState : uint8_t { Trying, Mapped, Failed };

struct PortmapStatus {
  PortmapState state = PortmapState::Trying;
  std::string method;      // "UPnP" or "NAT-PMP" once mapped
  std::string externalIp;  // as the router reports it; may be empty
  uint16_t externalPort = 0;
  std::string failure;  // why neither way worked
};

class Portmapper {
 public:
  explicit Portmapper(PortmapConfig config);
  ~Portmapper();
  Portmapper(const Portmapper&) = delete;
  Portmapper& operator=(const Portmapper&) = delete;

  PortmapStatus status() const;
  // The status once the router answered or the budget ran out (counted
  // from construction): never Trying after that.
  PortmapStatus wait() const;

  // What the caller and the mapping thread share (portmap.cpp).
  struct Shared;

 private:
  std::shared_ptr<Shared> shared_;
  std::thread thread_;
};

}  // namespace zelkar::net
